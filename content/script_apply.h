#pragma once
// Writes the picked values of a script's fields into its text. Every search runs on the
// untouched text; a running offset maps its positions into the result.
#include "content/script_fields.h"

#include <string>
#include <string_view>
#include <vector>

namespace kv {
class Ui;
}

namespace kv::content {

// One replaced region of the untouched text: [start, end) became `text`.
struct ScriptReplacement {
    size_t start = 0;
    size_t end = 0;
    std::string text;
};

struct AppliedScript {
    bool ok = false; // false only for a text that is empty after trimming blanks
    std::string text;
    std::vector<ScriptReplacement> replacements; // in field order
};

// Fields whose mark, anchor or value cannot be found are reported and left out.
AppliedScript applyFields(const std::vector<ScriptField>& fields, std::string_view script, Ui& ui);

} // namespace kv::content
