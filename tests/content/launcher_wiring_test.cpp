#include "launcher/content_wiring.h"

#include "launcher/game_start.h"
#include "tests/content/demo_launcher.h"
#include "tests/support/tool_run.h"
#include "tools/worldgen/script_samples.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace kv::content {
namespace {

struct WiredDemo : DemoLauncher {
    WiredDemo() { makeLauncher(); }
};

TEST(LauncherWiring, ClosingAfterInstallsWithRulesUnchangedLeavesEveryDefaultScript) {
    WiredDemo d;
    d.setSettings("AI0", "Raider");
    std::vector<std::string> defaults;
    for (const auto& e : platform::listDirectory(d.game("multiplay/skirmish"), "*"))
        defaults.push_back(e.name);
    ASSERT_GE(defaults.size(), 18u); // eight players' pairs and the rules
    ASSERT_TRUE(runStartup(*d.launcher, ""));
    EXPECT_EQ(d.skirmish("player0.vlo").substr(0, 20), "script \"player0.slo\"");
    EXPECT_TRUE(platform::fileExists(d.game("Roads.kdg"))); // Raider's required archive
    // Apply once more with player 0 left as it is, then close.
    d.launcher->content.choices.selectAI(0, "<don't change>");
    ASSERT_TRUE(kv::makeSloVlo(*d.launcher));
    // An archive the list shows unticked but that is active on disk is switched off.
    const int tanks = d.launcher->content.mods.indexOf("Tanks", true);
    ASSERT_GE(tanks, 0);
    d.launcher->content.mods.entries[size_t(tanks)].checked = false;
    closeMainWindow(*d.launcher);
    EXPECT_TRUE(platform::fileExists(d.game("Tanks.kvw")));
    EXPECT_FALSE(platform::fileExists(d.game("Tanks.kdg")) ||
                 platform::fileExists(d.game("Roads.kdg")));
    for (const auto& name : defaults)
        EXPECT_TRUE(platform::fileExists(d.game("multiplay/skirmish/" + name))) << name;
    EXPECT_TRUE(d.ui.messages().empty());
}

TEST(LauncherWiring, AVanishedGameFolderGivesOneErrorBoxAndTheSettingsAreStillSaved) {
    WiredDemo d;
    d.setSettings("AI1", "Raider");
    ASSERT_TRUE(runStartup(*d.launcher, ""));
    std::filesystem::remove_all(d.world.gameFolder);
    ASSERT_TRUE(platform::deleteFile(d.settingsPath()));
    closeMainWindow(*d.launcher);
    ASSERT_EQ(d.ui.messages().size(), 1u);
    EXPECT_NE(d.ui.messages()[0].text.find("Error in: CopyDefaultFiles()"), std::string::npos);
    EXPECT_TRUE(platform::fileExists(d.settingsPath()));
}

TEST(LauncherWiring, MissingOriginalListEndsTheStart) {
    WiredDemo d;
    platform::deleteFile(d.world.launcherFolder + "Settings/KVS/OriginalKDGs.ini");
    EXPECT_FALSE(runStartup(*d.launcher, ""));
    EXPECT_EQ(d.ui.messageTexts(),
              std::vector<std::string>{"Couldn't find '" + d.world.launcherFolder +
                                       "Settings/KVS/OriginalKDGs.ini', make sure it exists or "
                                       "reinstall KVS."});
}

test::ToolRun runTool(const std::string& arguments) {
    return test::runShell("'" KVSTOOL_PATH "' script " + arguments);
}

// Script customizing on the demo world with a wired launcher: the picks and the switches
// survive a restart, and kvstool script run as a child process gives what the install wrote.
TEST(ScriptCustomizing, PicksSurviveARestartAndKvstoolGivesWhatTheInstallWrites) {
    DemoLauncher d;
    d.setSettings("AI5", "Hunter");
    d.setSettings("AICustomizingOn5", "1"); // any non-zero switches it on
    d.setSettings("RulesFile", "Classic");
    d.setSettings("RulesCustomizingOn", "-1");
    d.start();
    EXPECT_TRUE(d.scripts().players[5].enabled);
    ASSERT_TRUE(storeScriptValue(d.launcher->content, 5, 0, 2, d.ui)); // "10 minutes"
    ASSERT_TRUE(storeScriptValue(d.launcher->content, 5, 1, 2, d.ui));
    ASSERT_TRUE(storeScriptValue(d.launcher->content, kRulesSlot, 1, 1, d.ui));
    ASSERT_TRUE(applyChanges(*d.launcher));
    const std::string processed = d.skirmish("player5.slo");
    EXPECT_NE(processed.find("\r\nattackDelay = 600; /*%!"), std::string::npos);

    enableAiCustomizing(*d.launcher, 5, false);
    d.start(); // closing writes the settings file and every slot's preferences
    EXPECT_TRUE(d.settingsHas("AICustomizingOn5=0") && d.settingsHas("RulesCustomizingOn=-1"));
    EXPECT_TRUE(d.scripts().rules.enabled && !d.scripts().players[5].enabled);
    EXPECT_EQ(std::pair(d.scripts().players[5].data.fields[0].selected,
                        d.scripts().rules.data.fields[1].selected),
              std::pair(2, 1));
    EXPECT_TRUE(d.ui.messages().empty());

    // The install copies the script part of the AI file, then an empty line.
    const std::string file = d.tmp.write(
        "player.slo",
        platform::joinLinesCrLf(worldgen::customizableAiScriptLines("Hunter")) + "\r\n");
    test::ToolRun r = runTool("apply '" + file + "' --pick 'delay=10 MINUTES' --index aggr=2");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, processed);
    EXPECT_EQ(r.err, "");

    r = runTool("fields '" + file + "'");
    EXPECT_NE(r.out.find("Field 1: aggr\n  Type: prm\n  Main description: Aggression\n"),
              std::string::npos);

    // Messages go to standard error; bad input ends with 1, a wrong command line with 2.
    d.tmp.write("bad.slo",
                "x = 1 /*%!ID=\"a\",type=\"asn\",val=\"2\"*/ /*%!ID=\"b\",MoreInfo=\"<H>\"*/");
    r = runTool("apply '" + (d.tmp / "bad.slo") + "'");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, "Couldn't find text for script customizing 'MoreInfo' variable: '<H>', "
                     "script: 'bad'.\nCouldn't find ';' for assignment, field #0 at position 11\n");
    EXPECT_EQ(r.out, d.tmp.read("bad.slo") + "\r\n");
    r = runTool("apply '" + (d.tmp / "none.slo") + "'");
    EXPECT_EQ(r.err.rfind("kvstool script: " + (d.tmp / "none.slo") + ": ", 0), 0u) << r.err;
    d.tmp.write("empty.slo", "   ");
    for (const std::string& arguments :
         {d.tmp / "empty.slo", d.tmp / "none.slo", file + "' --pick 'delay=never",
          file + "' --index 'delay=3", file + "' --pick 'nofield=x"})
        EXPECT_EQ(runTool("apply '" + arguments + "'").exitCode, 1) << arguments;
    for (const char* arguments : {"", "apply", "apply a b", "apply a --pick",
                                  "apply a --pick novalue", "fields a --pick x=y", "list a"})
        EXPECT_EQ(runTool(arguments).exitCode, 2) << arguments;
}

} // namespace
} // namespace kv::content
