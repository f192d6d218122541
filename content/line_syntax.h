#pragma once
// The line syntax shared by the launcher's description and command files: "//" comments,
// key lines (key = "value"), function-call lines whose arguments are all quoted, and the
// expansion of "\n" and the folder variables in values. Pure functions, no state.
#include <string>
#include <string_view>
#include <vector>

namespace kv {
struct Paths;
class Ui;
} // namespace kv

namespace kv::content {

// The folders the %...% variables stand for. Each ends with its separator.
struct FolderVars {
    std::string game;            // %KVPath%
    std::string launcher;        // %KVSPath%
    std::string ai;              // %KVSAIPath%
    std::string rules;           // %KVSRulesPath%
    std::string requiredKdgs;    // %KVSRequiredKDGsPath%
    std::string kdgIni;          // %KVSKDGIniPath%
    std::string aiIni;           // %KVSAIIniPath%
    std::string rulesIni;        // %KVSRulesIniPath%
    std::string globalIni;       // %KVSGlobalINIPath%
    std::string settings;        // %KVSSettingsPath%
    std::string settingsScripts; // %KVSSettingsScripts%

    static FolderVars from(const Paths& paths, std::string_view gameFolder);
};

// Comment cut (unless the "//" lies inside the quoted value of a key line), blanks and
// tabs stripped.
std::string cleanLine(std::string_view line);

bool isKeyLine(std::string_view cleaned);

struct KeyValue {
    std::string key;
    std::string value; // expanded
};
// False for a line that is no key line or whose key or value is empty (such lines are
// ignored by every reader).
bool keyAndValue(std::string_view keyLine, const FolderVars& vars, KeyValue& out);

// "\n" (any case) becomes CR LF; each folder variable (any case) becomes its folder.
std::string expandValue(std::string_view text, const FolderVars& vars);

bool isFunctionCall(std::string_view cleaned);
// The cleaned text before the first "(" searched from the second character.
std::string functionName(std::string_view line);

struct FunctionCall {
    // -1 when no ")" follows the "(": the line is skipped.
    int validCount = -1;
    // Every piece between the commas; valid ones unquoted and expanded.
    std::vector<std::string> arguments;
    // One message text per badly quoted argument, for the "Wrror parsing script function"
    // box.
    std::vector<std::string> errors;
};
FunctionCall parseArguments(std::string_view line, const FolderVars& vars);

// The title of the box that reports a badly quoted argument.
inline constexpr const char* kArgumentErrorTitle = "Wrror parsing script function";
// Shows each error of the call in its box; returns the valid argument count.
int reportArgumentErrors(const FunctionCall& call, Ui& ui);

} // namespace kv::content
