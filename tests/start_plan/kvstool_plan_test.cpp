// kvstool plan on the demo world, run the way scripts use it: it reads the launcher's
// settings and library, prints the start's steps and changes no file.
#include "launcher/content_wiring.h"
#include "launcher/settings_file.h"
#include "tests/automation/automation_world.h"
#include "tests/start_plan/plan_world.h"
#include "tests/support/tool_run.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

namespace kv::test {
namespace {

ToolRun runTool(const std::string& arguments) {
    return runShell("'" KVSTOOL_PATH "' plan " + arguments);
}

// The first step of `kind` whose target ends with `name`.
QJsonObject stepFor(const QJsonArray& steps, const QString& kind, const QString& name) {
    for (const auto& v : steps)
        if (const QJsonObject o = v.toObject();
            o["kind"].toString() == kind &&
            (name.isEmpty() || o["target"].toString().endsWith(name) || o["name"] == name))
            return o;
    return {};
}

TEST(KvstoolPlan, PrintsTheStartOfTheSavedSettingsWithoutChangingAFile) {
    AutomationWorld w;
    ASSERT_TRUE(w.start());
    ASSERT_TRUE(kv::selectAi(w.l(), 1, "Fortress"));
    ASSERT_TRUE(kv::selectAi(w.l(), 2, "Raider"));
    kv::syncChoiceOptions(w.l()); // as closing the window does
    SaveDefaultValues(w.l());
    // A stranger's description that asks for the game's executable: refused, never copied.
    const std::string fortressIni = w.app("Mods/INI/AI/Fortress.ini");
    w.write(fortressIni, w.read(fortressIni) + "SetRequiredKDG = \"korvane.exe\"\r\n");
    w.write(w.app("Mods/Required KDGs/korvane.exe"), "#!/bin/sh\n");
    const FolderSnapshot app = snapshot(w.world.launcherFolder);
    const FolderSnapshot game = snapshot(w.world.gameFolder);
    const std::string folder = "'" + w.world.launcherFolder + "'";

    ToolRun r = runTool(folder + " --json");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const QJsonObject out = QJsonDocument::fromJson(QByteArray::fromStdString(r.out)).object();
    EXPECT_TRUE(out["startsGame"].toBool());
    const QJsonArray steps = out["steps"].toArray();
    const QJsonObject walls = stepFor(steps, "copy", "FortressWalls.kdg");
    EXPECT_EQ(walls["size"].toInt(), 2048);
    EXPECT_TRUE(walls["source"].toString().endsWith("Mods/SkirmishAI/Fortress/FortressWalls.kdg"))
        << walls["source"].toString().toStdString();
    EXPECT_TRUE(stepFor(steps, "copy", "korvane.exe").isEmpty());
    EXPECT_EQ(stepFor(steps, "registry", "base")["value"].toInt(), 2);
    EXPECT_EQ(stepFor(steps, "command-line", {})["commandLine"].toString(), " -3DFX  ");

    r = runTool(folder);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    for (const std::string& line : std::vector<std::string>{
             "FortressWalls.kdg (2048 bytes)  [player 1: Fortress (removed after the game)]\n",
             "korvane.exe [ -3DFX  ]\n",
             "SetRequiredKDG in '" + fortressIni +
                 "' names 'korvane.exe', which is not copied: it does not end in .kdg."})
        EXPECT_NE(r.out.find(line), std::string::npos) << line << "\n" << r.out;

    EXPECT_EQ(differences(app, snapshot(w.world.launcherFolder)), std::vector<std::string>{});
    EXPECT_EQ(differences(game, snapshot(w.world.gameFolder)), std::vector<std::string>{});

    const std::pair<std::string, int> calls[] = {
        {"", 2}, {folder + " --yaml", 2}, {"'" + w.world.gameFolder + "'", 1}, {"--help", 0}};
    for (const auto& [arguments, exitCode] : calls) {
        const ToolRun run = runTool(arguments);
        EXPECT_EQ(run.exitCode, exitCode) << arguments;
        if (exitCode == 1) {
            EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        }
    }
}

} // namespace
} // namespace kv::test
