#pragma once
// The preference file that remembers a slot's picks between runs: "1.0", an empty line,
// then per field its ID, the picked value's description and index, and an empty line.
// A pick is found again by its description; the index only tells that the script moved.
#include "content/script_fields.h"

#include <string>

namespace kv {
class Ui;
}

namespace kv::content {

struct FolderVars;

// The file's bytes for the slot's fields.
std::string formatPreferences(const ScriptCustomizing& data);

// Applies the picks of a preference file's text to `data`.
void applyPreferencesText(std::string_view text, ScriptCustomizing& data, const FolderVars& vars,
                          Ui& ui);

// Selects the value described by `selectedText` in the field `fieldId`; false (after a
// message) when there is none. A pick found at another index is reported.
bool assignField(ScriptCustomizing& data, const std::string& fieldId, long long savedIndex,
                 const std::string& selectedText, Ui& ui);

// False for an empty path; a missing file is no error and changes nothing.
bool loadPreferences(const std::string& path, ScriptCustomizing& data, const FolderVars& vars,
                     Ui& ui);
// Creates the folders and replaces the file in one piece; false after a message.
bool savePreferences(const std::string& path, const ScriptCustomizing& data, Ui& ui);

} // namespace kv::content
