// Requirement and conflict resolution: the rules set, the players' AIs and the ticked
// MODs against the alliances and base state options, with the exact message sequence.
#include "automation/requirements.h"
#include "tests/support/scripted_ui.h"

#include <gtest/gtest.h>

namespace kv::test {
namespace {

using automation::Requirement;
using automation::RequirementInputs;
using Texts = std::vector<std::string>;

const std::string kRulesAlliances = "Alliances must be enabled for the selected rules file in "
                                    "order for it to function properly.";
const std::string kConflict = "Two different selected MODs requested base states to be set to "
                              "different MODs (state conflict).\r\nBase state was not be changed.";

std::string aiAlliances(const std::string& name) {
    return "Alliances must be enabled for the selected AI file (" + name +
           ") in order for it to function properly.";
}

TEST(Requirements, TableOfRulesAisAndKdgs) {
    using R = Requirement;
    const std::string kdgAlliances = "Alliances must be enabled for the the 'Tanks' kdg file in "
                                     "order for it to function properly..";
    const struct {
        const char* what;
        RequirementInputs in;
        Texts messages;
        bool alliances;
        int base;
    } cases[] = {
        // clang-format off
        {"rules and AI need alliances: only the rules speak",
         {{"Hard", true, 0}, {R{"A", true, 0}}, {}, false, 1}, {kRulesAlliances}, true, 1},
        {"AI in slot 2 and a KDG need alliances: only the AI speaks",
         {{}, {R{}, {}, {"B", true, 0}}, {{"Tanks", true, 0}}, false, 1},
         {aiAlliances("B")}, true, 1},
        {"a KDG needs alliances",
         {{}, {}, {{"Tanks", true, 0}}, false, 2}, {kdgAlliances}, true, 2},
        {"alliances already on: silence", {{"Hard", true, 0}, {}, {}, true, 1}, {}, true, 1},
        {"rules 2 and AI 3 conflict; the base state stays",
         {{"Hard", false, 2}, {R{"A", false, 3}}, {}, true, 1}, {kConflict}, true, 1},
        {"rules and AI agree on 2: set once, the rules asked",
         {{"Hard", false, 2}, {R{"A", false, 2}}, {}, true, 1},
         {"'Hard' rules file must change the base state to Bases."}, true, 2},
        {"the requested state is already set", {{}, {R{"A", false, 3}}, {}, true, 3}, {}, true, 3},
        {"an AI conflict ends the walk before the KDGs",
         {{}, {R{"A", false, 2}, {"B", false, 3}}, {{"Tanks", false, 1}}, true, 1},
         {kConflict}, true, 1},
        {"an AI and a KDG disagree",
         {{}, {R{}, {}, {}, {"C", false, 1}}, {{"Tanks", false, 3}}, true, 2},
         {kConflict}, true, 2},
        {"a KDG alone asks for advanced bases", {{}, {}, {{"Tanks", false, 3}}, true, 2},
         {"'Tanks' KDG file must change the base state to Advanced Bases."}, true, 3},
        {"alliances and bases together, in that order", {{}, {R{"A", true, 1}}, {}, false, 3},
         {aiAlliances("A"), "'A' AI file must change the base state to No Bases."}, true, 1},
        // clang-format on
    };
    for (const auto& c : cases) {
        ScriptedUi ui;
        const auto out = automation::resolveRequirements(c.in, ui);
        EXPECT_EQ(ui.messageTexts(), c.messages) << c.what;
        EXPECT_EQ(out.alliancesOn, c.alliances) << c.what;
        EXPECT_EQ(out.baseState, c.base) << c.what;
    }
}

} // namespace
} // namespace kv::test
