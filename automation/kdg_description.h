#pragma once
// KDG description files ("Mods\INI\KDG Files\<name>.ini"): what a MOD is, who made it and
// what it needs (alliances, a base state), plus a few commands that prepare the AI list.
#include "automation/automation_env.h"
#include "automation/automation_state.h"
#include "content/content_state.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kv {
class Ui;
} // namespace kv

namespace kv::automation {

struct KdgRecord {
    std::string kdgName;
    std::vector<std::pair<std::string, std::string>> keys; // every key line, in file order
    std::string description = "<No description available>";
    std::string authorName = "Unknown";
    std::string authorEmail = "Unknown";
    std::string authorHomepage = "Unknown";
    bool alliancesRequired = false;
    int baseStateRequired = 0; // 0: none, 1..3
};

// How a description is read: its messages go to `ui`, and its commands change `content`
// and `automation` (the launcher's own when null). A foreseen start passes copies, so it
// follows the commands as the start will without changing the launcher.
struct KdgReading {
    Ui* ui = nullptr;
    content::ContentState* content = nullptr;
    AutomationState* automation = nullptr;
};

// Reads the description text of KDG `kdgName`, running its commands.
KdgRecord readKdgDescription(const AutomationEnv& env, std::string_view kdgName,
                             std::string_view text, const KdgReading& how = {});

// One record for each ticked MOD of the list whose description file can be read.
std::vector<KdgRecord> readSelectedKdgDescriptions(const AutomationEnv& env,
                                                   const KdgReading& how = {});

} // namespace kv::automation
