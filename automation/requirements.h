#pragma once
// Before every install: the chosen rules, AIs and MODs may need alliances or a base
// state. Missing alliances are switched on; one agreed base state is set; two different
// requested states leave the option alone.
#include "automation/automation_env.h"
#include "automation/kdg_description.h"
#include "content/start_plan.h"

#include <array>
#include <string>
#include <vector>

namespace kv {
class Ui;
} // namespace kv

namespace kv::automation {

struct Requirement {
    std::string name; // the rules set's, AI's or KDG's name
    bool alliances = false;
    int baseState = 0; // 0: none
};

struct RequirementInputs {
    Requirement rules;                  // empty name: no rules set chosen
    std::array<Requirement, 8> players; // empty name: no catalogue AI in the slot
    std::vector<Requirement> kdgs;      // the ticked MODs with a description file
    bool alliancesOn = false;
    int baseState = 1; // 1 "No Bases", 2 "Bases", 3 "Advanced Bases"
};

struct RequirementResult {
    bool alliancesOn = false;
    int baseState = 1;
};

// Reports each change (and a conflict) through `ui` and answers the new options.
RequirementResult resolveRequirements(const RequirementInputs& in, Ui& ui);

// The inputs from the lists and catalogues of `content`, the launcher's options and the
// MOD descriptions.
RequirementInputs requirementInputs(const AutomationEnv& env, const content::ContentState& content,
                                    const std::vector<KdgRecord>& kdgs);

// What resolving would say and change now, changing nothing of the launcher: the MOD
// descriptions' commands run against `planned`, a copy of its content state, which the
// rest of the install is then planned from.
content::PlanStep foreseeLauncherRequirements(const AutomationEnv& env,
                                              content::ContentState& planned);

// Reads the MOD descriptions, resolves, and switches the options toolbar to the result.
void resolveLauncherRequirements(const AutomationEnv& env);

} // namespace kv::automation
