// The start plan on the demo world: making it changes nothing, and the real install then
// leaves exactly the files, messages, registry values and command line the plan shows.
#include "content/install.h"
#include "core/registry_access.h"
#include "launcher/content_wiring.h"
#include "launcher/game_start.h"
#include "launcher/launch_plan.h"
#include "launcher/options_toolbar.h"
#include "platform/files.h"
#include "tests/automation/automation_world.h"
#include "tests/start_plan/plan_world.h"

#include <gtest/gtest.h>

#include <functional>

namespace kv::test {
namespace {

using content::StartPlan;
using content::StepKind;
using Texts = std::vector<std::string>;

constexpr std::uint32_t kSeed = 7;

void choose(AutomationWorld& w, int player, const char* ai) {
    ASSERT_TRUE(kv::selectAi(w.l(), player, ai)) << ai;
}

// Whether some step reads like `text`.
bool planSays(const StartPlan& plan, const std::string& text) {
    for (const auto& s : plan.steps)
        if (describeStep(s).find(text) != std::string::npos)
            return true;
    return false;
}

std::string planText(const StartPlan& plan) {
    std::string out;
    for (const auto& s : plan.steps)
        out += describeStep(s) + "\n";
    return out;
}

// Makes the plan, checks it changed nothing, runs the real install and the start's
// registry and command-line step, and checks the result against the plan.
StartPlan planAndStart(AutomationWorld& w) {
    Launcher& l = w.l();
    const std::string game = w.world.gameFolder;
    const FolderSnapshot gameBefore = snapshot(game);
    const FolderSnapshot appBefore = snapshot(w.world.launcherFolder);
    const std::string registryBefore = w.read(w.tmp / "registry.reg");
    const auto captions = [&l] {
        return l.options.button(OptionButton::Alliances).caption + "|" +
               l.options.button(OptionButton::Bases).caption;
    };
    const std::string captionsBefore = captions();
    w.ui.clear();

    const Texts choicesBefore = content::choicesSeen(l.content);
    const StartPlan plan = makeStartPlan(l, {kSeed});
    EXPECT_EQ(content::choicesSeen(l.content), choicesBefore) << "planning changed the lists";
    EXPECT_EQ(differences(gameBefore, snapshot(game)), Texts{}) << "planning changed the game";
    EXPECT_EQ(differences(appBefore, snapshot(w.world.launcherFolder)), Texts{});
    EXPECT_EQ(w.read(w.tmp / "registry.reg"), registryBefore);
    EXPECT_EQ(captions(), captionsBefore);
    EXPECT_EQ(w.ui.messageTexts(), Texts{}) << "planning said something";

    const bool installed = content::makeSloVlo(l.content, kv::contentEnv(l), {kSeed});
    EXPECT_EQ(installed, !plan.stops());
    EXPECT_EQ(w.ui.messageTexts(), plannedMessageTexts(plan));
    EXPECT_EQ(differences(snapshot(game), applyFileSteps(plan, game, gameBefore)), Texts{})
        << planText(plan);
    if (!installed)
        return plan;

    const std::string commandLine = buildGameCommandLine(l);
    const auto lines = stepsOf(plan, StepKind::CommandLine);
    EXPECT_EQ(lines.size(), 1u);
    for (const content::PlanStep* s : lines)
        EXPECT_EQ(s->target + "|" + s->bytes, game + "korvane.exe|" + commandLine);
    const RegistryPath key = parseRegistryPath(kGameRegistryKey);
    const auto values = stepsOf(plan, StepKind::Registry);
    EXPECT_EQ(values.size(), 9u);
    for (const content::PlanStep* s : values)
        EXPECT_EQ(w.registry->query(key.root, key.subKey, s->valueName),
                  s->dword ? platform::RegistryValue(std::uint32_t(s->number))
                           : platform::RegistryValue(s->bytes))
            << s->valueName;
    return plan;
}

struct Case {
    const char* name;
    std::function<void(AutomationWorld&)> setUp;
    Texts said;    // in the plan's text
    Texts notSaid; // nowhere in it
    bool starts = true;
};

TEST(StartPlan, IsWhatTheStartThenDoes) {
    const Case cases[] = {
        {"AIs with archives, requirements and customizing",
         [](AutomationWorld& w) {
             setAlliances(w.l(), false);
             choose(w, 0, "Hunter");
             kv::enableAiCustomizing(w.l(), 0, true);
             w.l().content.scripts.players[0].data.fields[0].selected = 1;
             choose(w, 1, "Fortress");
             choose(w, 2, "Raider");
         },
         {"write ", "FortressWalls.kdg (2048 bytes)  [player 1",
          "Roads.kdg (1536 bytes)  [player 2: Raider (removed after the game)]",
          "requirements: alliances switched on; base state set to Advanced Bases",
          "registry HKEY_LOCAL_MACHINE\\Software\\Bramble Studios\\KorvaneTactics\\base = 2",
          "player 0: Hunter, customized"},
         {"player3"}},
        {"every slot random, customized rules",
         [](AutomationWorld& w) {
             for (int p = 0; p < 8; ++p)
                 choose(w, p, "<Random>");
             ASSERT_TRUE(kv::selectRules(w.l(), "Classic"));
             kv::enableRulesCustomizing(w.l(), true);
             w.l().content.scripts.rules.data.fields[0].selected = 1;
         },
         {"(drawn for <Random>)", "player7.vlo", "rules: Classic, customized"},
         {}},
        {"rules alone, the players left as they are",
         [](AutomationWorld& w) {
             chooseOptionEntry(w.l(), OptionButton::Bases, 1);
             ASSERT_TRUE(kv::selectRules(w.l(), "Hard Times"));
         },
         {"rules.slo", "base state set to Bases", "from "},
         {"player0", "player7", "drawn"}},
        {"a required archive switched off is switched on again",
         [](AutomationWorld& w) {
             platform::copyFile(w.app("Mods/Required KDGs/Roads.kdg"), w.game("Roads.kvw"));
             choose(w, 4, "Raider");
         },
         {"rename ", "Roads.kvw -> "},
         {"copy "}},
        {"a ticked MOD asks for alliances",
         [](AutomationWorld& w) {
             w.write(w.app("Mods/INI/KDG Files/Islands.ini"), "EnableAlliances()\r\n");
             setAlliances(w.l(), false);
         },
         {"the the 'Islands' kdg file", "alliances switched on"},
         {}},
        {"a ticked MOD's description empties the AI lists: nothing is installed for them",
         [](AutomationWorld& w) {
             w.write(w.app("Mods/INI/KDG Files/Tanks.ini"), "DeactiveAllAIs()\r\n");
             choose(w, 0, "Raider");
         },
         {"'Tanks' changed your AI choices with DeactiveAllAIs()", "Player0: 'Raider' -> '<"},
         {"player0", "Roads.kdg"}},
        {"four water AIs: refused before anything is written",
         [](AutomationWorld& w) {
             for (int p = 0; p < 4; ++p)
                 choose(w, p, "Water AI");
         },
         {"message: You can't select more than 3 WaterAIs", "stop:"},
         {"write ", "registry ", "command line"},
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AutomationWorld w;
        ASSERT_TRUE(w.start());
        c.setUp(w);
        w.ui.clear();
        const StartPlan plan = planAndStart(w);
        EXPECT_EQ(plan.stops(), !c.starts);
        for (const std::string& text : c.said)
            EXPECT_TRUE(planSays(plan, text)) << text << "\n" << planText(plan);
        for (const std::string& text : c.notSaid)
            EXPECT_FALSE(planSays(plan, text)) << text << "\n" << planText(plan);
    }
}

// The next start removes what the last one copied in, and files that already hold their
// bytes are left alone.
TEST(StartPlan, TheNextStartWorksOffTheLastOne) {
    AutomationWorld w;
    ASSERT_TRUE(w.start());
    choose(w, 1, "Fortress");
    choose(w, 2, "Raider");
    planAndStart(w);
    choose(w, 2, "<don't change>");
    const StartPlan again = planAndStart(w);
    EXPECT_EQ(stepsOf(again, StepKind::Delete).size(), 2u) << planText(again);
    EXPECT_TRUE(
        planSays(again, "Roads.kdg (1536 bytes)  [installed for the last game (player 2)]"));
    // Fortress's scripts are written again unchanged; its archive comes back.
    for (const content::PlanStep* s : stepsOf(again, StepKind::Write))
        EXPECT_TRUE(s->unchanged) << describeStep(*s);
    EXPECT_EQ(stepsOf(again, StepKind::Copy).size(), 1u);
}

} // namespace
} // namespace kv::test
