#pragma once
// The customizable fields that script authors mark in their AI and rules scripts, and the
// named help texts those marks may refer to. Value types only.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace kv::content {

// The marks, fixed for the whole run.
inline constexpr const char* kFieldStart = "/*%!";
inline constexpr const char* kFieldEnd = "*/";
inline constexpr const char* kNamedTextStart = "/*%?";
inline constexpr const char* kNamedTextEnd = "*/";
inline constexpr const char* kKeyId = "ID";
inline constexpr const char* kKeyType = "type";
inline constexpr const char* kKeyArgDesc = "ArgDesc";
inline constexpr const char* kKeyVal = "val";
inline constexpr const char* kKeyMainDesc = "MainDesc";
inline constexpr const char* kKeyTemplate = "tmpl";
inline constexpr const char* kKeyParameterIndex = "prm_id";
inline constexpr const char* kKeyMoreInfo = "MoreInfo";

// The 16-bit counts of the old file layouts bound fields and values.
inline constexpr std::size_t kMaxFields = 32767;
inline constexpr std::size_t kMaxValues = 32767;

struct ScriptValue {
    std::string text;        // written into the script
    std::string description; // shown to the user and stored in preference files
};

struct ScriptField {
    std::string id;
    std::string mainDescription;
    std::string moreInfo;
    std::int64_t annotationStart = 0; // 1-based, the first character after the start mark
    std::int64_t annotationEnd = 0;   // 1-based, just after the end mark
    std::string type;
    std::string templateName;
    int parameterIndex = 0;
    std::vector<ScriptValue> values;
    int selected = 0;

    // The picked value; nothing when the field has no value at that index.
    const ScriptValue* selectedValue() const;
};

// One AI's or rules set's fields, as parsed from its annotated file.
struct ScriptCustomizing {
    std::string name;
    std::string path;
    std::vector<ScriptField> fields;
};

// Help texts collected from every script read during the run; the last definition of a
// name wins.
using NamedTexts = std::map<std::string, std::string>;

} // namespace kv::content
