#pragma once
// The AI and rules catalogues: one record per AI file (".kvai") and per rules folder of
// the launcher's library, with what their description files say.
#include "content/content_env.h"
#include "content/script_fields.h"

#include <string>
#include <vector>

namespace kv::content {

inline constexpr const char* kDontChange = "<don't change>";
inline constexpr const char* kRandom = "<Random>";

// Base state names by base state; 0 means no requirement.
const char* baseStateName(int state);

// Author data and requirements read from a description file.
struct Description {
    std::string authorName;
    std::string authorEmail;
    std::string authorHomepage;
    std::string description;
    std::vector<std::string> requiredKdgs;
    std::string file; // the description file these lines came from
    int maxInstances = 0;
    bool loaded = false;
    double fileSize = 0;
    bool alliancesRequired = false;
    int baseStateRequired = 0;
};

struct AiRecord {
    std::string name;
    std::string directory; // ends with a separator
    Description info;
    bool hasScriptCustomizing = false;
    ScriptCustomizing customizing;
};

struct RulesRecord {
    std::string name;
    std::string directory;
    Description info;
    bool hasScriptCustomizing = false;
    ScriptCustomizing customizing;
};

class AiCatalogue {
public:
    std::vector<AiRecord> records;

    // Exact name, as the lists hold it.
    const AiRecord* find(std::string_view name) const;
    AiRecord* find(std::string_view name);
    std::string directoryOf(std::string_view name) const;
    std::vector<std::string> names() const;
};

class RulesCatalogue {
public:
    std::vector<RulesRecord> records;

    const RulesRecord* find(std::string_view name) const; // the first match
    std::string directoryOf(std::string_view name) const;
};

} // namespace kv::content
