#pragma once
// Reads the field marks and named help texts out of a script's text. Pure apart from the
// messages, which go to the Ui in the order they arise.
#include "content/script_fields.h"

#include <string>
#include <string_view>

namespace kv {
class Ui;
}

namespace kv::content {

struct FolderVars;

// The inside of a mark as the keys are read from it: "//" comments up to their line end
// gone, line breaks and tabs gone, blanks trimmed.
std::string cleanAnnotation(std::string_view inner);

// True when the text holds a field mark.
bool hasFieldMarks(std::string_view text);

// Collects the named texts of `text` into `named`, then appends the fields that parse to
// `data.fields` and resolves their "<Name>" help references; `data.name` names the
// script in messages.
void parseAnnotatedText(std::string_view text, ScriptCustomizing& data, NamedTexts& named,
                        const FolderVars& vars, Ui& ui);

} // namespace kv::content
