#include "launcher/content_wiring.h"

#include "launcher/game_start.h"
#include "tests/content/demo_launcher.h"
#include "tests/support/tool_run.h"
#include "tools/worldgen/script_samples.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>

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
    ASSERT_EQ(d.ui.messages().size(), 1u);
    EXPECT_EQ(d.ui.messages()[0].text,
              "Couldn't find '" + d.world.launcherFolder +
                  "Settings/KVS/OriginalKDGs.ini', make sure it exists or reinstall KVS.");
}

// Script customizing on the demo world with a wired launcher, and kvstool script run as a
// child process on the same files.
TEST(ScriptCustomizing, ThePickAndTheSwitchSurviveARestart) {
    DemoLauncher d;
    d.setSettings("AI0", "Hunter");
    d.setSettings("AICustomizingOn0", "-1");
    d.setSettings("AI3", "Raider");
    d.setSettings("AICustomizingOn3", "1"); // any non-zero asks
    d.setSettings("RulesFile", "Classic");
    d.setSettings("RulesCustomizingOn", "-1");
    d.start();
    EXPECT_EQ(d.ui.messageTexts(), std::vector<std::string>{"Error while loading setting file.\r\n"
                                                            "Can't enable script customizing for "
                                                            "player3 (Raider)."});
    EXPECT_TRUE(d.scripts().players[0].enabled);
    EXPECT_FALSE(d.scripts().players[3].enabled);
    ASSERT_TRUE(storeScriptValue(d.launcher->content, 0, 0, 2, d.ui)); // "10 minutes"
    ASSERT_TRUE(storeScriptValue(d.launcher->content, kRulesSlot, 1, 1, d.ui));
    ASSERT_TRUE(applyChanges(*d.launcher));
    const std::string processed = d.skirmish("player0.slo");
    EXPECT_NE(processed.find("\r\nattackDelay = 600; /*%!"), std::string::npos);

    d.start(); // closing writes the settings file and every slot's preferences
    EXPECT_TRUE(d.settingsHas("AICustomizingOn0=-1") && d.settingsHas("AICustomizingOn3=0") &&
                d.settingsHas("RulesCustomizingOn=-1"));
    EXPECT_EQ(d.scripts().players[0].data.fields[0].selected, 2);
    EXPECT_EQ(d.scripts().rules.data.fields[1].selected, 1);
    EXPECT_EQ(d.skirmish("player0.slo"), processed);

    enableAiCustomizing(*d.launcher, 0, false);
    d.start();
    EXPECT_TRUE(d.settingsHas("AICustomizingOn0=0"));
    EXPECT_FALSE(d.scripts().players[0].enabled);
    EXPECT_EQ(d.scripts().players[0].data.fields[0].selected, 2);
}

test::ToolRun runTool(const std::string& arguments) {
    return test::runShell("'" KVSTOOL_PATH "' script " + arguments);
}

TEST(ScriptCustomizing, KvstoolGivesWhatTheInstallWrites) {
    DemoLauncher d;
    d.setSettings("AI5", "Hunter");
    d.setSettings("AICustomizingOn5", "-1");
    d.start();
    // The install copies the script part of the AI file, then an empty line.
    const std::string file = d.tmp.write(
        "player.slo",
        platform::joinLinesCrLf(worldgen::customizableAiScriptLines("Hunter")) + "\r\n");
    storeScriptValue(d.launcher->content, 5, 0, 1, d.ui);
    storeScriptValue(d.launcher->content, 5, 1, 2, d.ui);
    ASSERT_TRUE(applyChanges(*d.launcher));

    test::ToolRun r = runTool("apply '" + file + "' --pick 'delay=5 MINUTES' --index aggr=2");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, d.skirmish("player5.slo"));
    EXPECT_EQ(r.err, "");
    r = runTool("apply '" + file + "' --index aggr=2 --pick delay=\"5 minutes\" -o '" +
                (d.tmp / "o.slo") + "'");
    EXPECT_EQ(d.tmp.read("o.slo"), d.skirmish("player5.slo"));

    r = runTool("fields '" + file + "' --json");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const QJsonArray fields =
        QJsonDocument::fromJson(QByteArray::fromStdString(r.out))["fields"].toArray();
    ASSERT_EQ(fields.size(), 3);
    EXPECT_EQ(fields[1]["parameterIndex"].toInt(), 1);
    EXPECT_EQ(fields[2]["values"][1]["description"].toString(), "Yes");
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
    EXPECT_EQ(runTool("--help").exitCode, 0);
}

} // namespace
} // namespace kv::content
