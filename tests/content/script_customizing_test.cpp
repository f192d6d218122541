// Script customizing on the demo world with a wired launcher, and kvstool script run as a
// child process on the same files.
#include "tests/content/demo_launcher.h"
#include "tests/support/tool_run.h"
#include "tools/worldgen/script_samples.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

namespace kv::content {
namespace {

TEST(ScriptCustomizing, ThePickReachesTheGameAndSurvivesARestart) {
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
    EXPECT_TRUE(d.scripts().rules.enabled);
    // Without preferences every field has its first value, and start-up installed them.
    EXPECT_NE(d.skirmish("player0.slo").find("\r\nattackDelay = 120; /*%!"), std::string::npos);
    EXPECT_NE(d.skirmish("rules.slo").find("setPower(1500 , 1);"), std::string::npos);
    ASSERT_EQ(d.scripts().players[0].data.fields.size(), 3u);
    EXPECT_EQ(d.scripts().players[0].data.fields[0].moreInfo,
              "How long the AI builds up before its first attack.\r\nShorter waits make a harder "
              "opponent.");

    d.ui.clear();
    ASSERT_TRUE(storeScriptValue(d.launcher->content, 0, 0, 2, d.ui)); // "10 minutes"
    ASSERT_TRUE(storeScriptValue(d.launcher->content, 0, 2, 0, d.ui)); // build artillery: No
    ASSERT_TRUE(storeScriptValue(d.launcher->content, kRulesSlot, 1, 1, d.ui));
    ASSERT_TRUE(applyChanges(*d.launcher));
    const std::string processed = d.skirmish("player0.slo");
    EXPECT_NE(processed.find("\r\nattackDelay = 600; /*%!"), std::string::npos);
    EXPECT_NE(processed.find("\r\nbuildArtillery = FALSE; /*%!"), std::string::npos);
    EXPECT_NE(d.skirmish("rules.slo").find("\r\nfastResearch = TRUE; /*%!"), std::string::npos);

    d.start(); // closing writes the settings file and every slot's preferences
    EXPECT_TRUE(d.settingsHas("AICustomizingOn0=-1"));
    EXPECT_TRUE(d.settingsHas("AICustomizingOn3=0"));
    EXPECT_TRUE(d.settingsHas("RulesCustomizingOn=-1"));
    EXPECT_TRUE(
        platform::fileExists(d.world.launcherFolder + "Settings/Scripts/player0/Hunter.ini"));
    EXPECT_TRUE(platform::fileExists(d.world.launcherFolder + "Settings/Scripts/Classic.ini"));
    EXPECT_EQ(d.scripts().players[0].data.fields[0].selected, 2);
    EXPECT_EQ(d.skirmish("player0.slo"), processed);

    // Switched off, the next install leaves the author's values in place.
    enableAiCustomizing(*d.launcher, 0, false);
    ASSERT_TRUE(applyChanges(*d.launcher));
    EXPECT_NE(d.skirmish("player0.slo").find("\r\nattackDelay = 300; /*%!"), std::string::npos);
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
    const std::string script =
        platform::joinLinesCrLf(worldgen::customizableAiScriptLines("Hunter")) + "\r\n";
    const std::string file = d.tmp / "player.slo";
    ASSERT_TRUE(platform::writeFileAtomic(file, script));
    storeScriptValue(d.launcher->content, 5, 0, 1, d.ui);
    storeScriptValue(d.launcher->content, 5, 1, 2, d.ui);
    ASSERT_TRUE(applyChanges(*d.launcher));

    test::ToolRun r = runTool("apply '" + file + "' --pick 'delay=5 MINUTES' --index aggr=2");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, d.skirmish("player5.slo"));
    EXPECT_EQ(r.err, "");
    r = runTool("apply '" + file + "' --index aggr=2 --pick delay=\"5 minutes\" -o '" +
                (d.tmp / "o.slo") + "'");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(d.tmp.read("o.slo"), d.skirmish("player5.slo"));

    r = runTool("fields '" + file + "' --json");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    // The help text is defined in this file itself, so it resolves.
    const QJsonArray fields = QJsonDocument::fromJson(QByteArray::fromStdString(r.out))
                                  .object()
                                  .value("fields")
                                  .toArray();
    ASSERT_EQ(fields.size(), 3);
    EXPECT_EQ(fields[0].toObject()["moreInfo"].toString().left(8), "How long");
    EXPECT_EQ(fields[1].toObject()["type"].toString(), "prm");
    EXPECT_EQ(fields[1].toObject()["parameterIndex"].toInt(), 1);
    EXPECT_EQ(fields[2].toObject()["values"].toArray()[1].toObject()["description"].toString(),
              "Yes");
    r = runTool("fields '" + file + "'");
    EXPECT_NE(r.out.find("Field 1: aggr\n  Type: prm\n  Main description: Aggression\n"),
              std::string::npos);

    // Messages on standard error, failures and usage.
    d.tmp.write("bad.slo",
                "x = 1 /*%!ID=\"a\",type=\"asn\",val=\"2\"*/ /*%!ID=\"b\",MoreInfo=\"<H>\"*/");
    r = runTool("apply '" + (d.tmp / "bad.slo") + "'");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, "Couldn't find text for script customizing 'MoreInfo' variable: '<H>', "
                     "script: 'bad'.\nCouldn't find ';' for assignment, field #0 at position 11\n");
    EXPECT_EQ(r.out, d.tmp.read("bad.slo") + "\r\n");
    d.tmp.write("empty.slo", "   ");
    EXPECT_EQ(runTool("apply '" + (d.tmp / "empty.slo") + "'").exitCode, 1);
    r = runTool("apply '" + (d.tmp / "none.slo") + "'");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err.rfind("kvstool script: " + (d.tmp / "none.slo") + ": ", 0), 0u) << r.err;
    EXPECT_EQ(runTool("apply '" + file + "' --pick delay=never").exitCode, 1);
    EXPECT_EQ(runTool("apply '" + file + "' --index delay=3").exitCode, 1);
    EXPECT_EQ(runTool("apply '" + file + "' --pick nofield=x").exitCode, 1);
    r = runTool("--help");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out.substr(0, 27), "usage: kvstool script field");
    EXPECT_EQ(runTool("").exitCode, 2);
    EXPECT_EQ(runTool("apply").exitCode, 2);
    EXPECT_EQ(runTool("apply a b").exitCode, 2);
    EXPECT_EQ(runTool("apply a --pick").exitCode, 2);
    EXPECT_EQ(runTool("apply a --pick novalue").exitCode, 2);
    EXPECT_EQ(runTool("fields a --pick x=y").exitCode, 2);
    EXPECT_EQ(runTool("list a").exitCode, 2);
}

} // namespace
} // namespace kv::content
