#include "launcher/startup.h"

#include "launcher/launcher_command_line.h"
#include "launcher/settings_file.h"
#include "platform/files.h"
#include "tests/content/demo_launcher.h"
#include "tests/launcher/launcher_world.h"

#include <gtest/gtest.h>

namespace kv::test {

using Texts = std::vector<std::string>;

namespace {

// The demo's settings with AI2, the rules, the update check and the compact mode chosen.
void chooseInDemoSettings(content::DemoLauncher& d) {
    d.setSettings("AI2", "Raider");
    d.setSettings("RulesFile", "Classic");
    d.setSettings("CheckForUpdatesOnSturtUpOn", "-1");
    d.setSettings("MiniModeOn", "1");
}

} // namespace

TEST(Startup, StepsRunInTheirOrderAndClosingPutsTheGameBack) {
    content::DemoLauncher d;
    chooseInDemoSettings(d);
    d.makeLauncher();
    Texts log;
    RecordingView view(log);
    d.launcher->setView(&view);
    const std::string defaultVlo = d.skirmish("player2.vlo");

    ASSERT_TRUE(runStartup(*d.launcher, ""));
    // Choosing from the toolbars fits them on the way; the window's own steps end it.
    ASSERT_GE(log.size(), 4u);
    EXPECT_EQ(Texts(log.end() - 4, log.end()),
              (Texts{"compact", "FixToolbarSize", "startUpdateTimer", "startLinkAnimation"}));
    const Launcher& l = *d.launcher;
    EXPECT_TRUE(l.startupFinished && l.mapEditorAvailable && l.scriptHelpAvailable);
    EXPECT_TRUE(d.ui.messages().empty());
    // The catalogues were read before the settings chose from them; the choices installed.
    EXPECT_EQ(l.content.choices.rulesChoice(), "Classic");
    EXPECT_NE(d.skirmish("player2.vlo"), defaultVlo);
    EXPECT_EQ(l.gameName, "Demo's game");

    log.clear();
    closeMainWindow(*d.launcher);
    EXPECT_EQ(log, Texts{"stopInternetTransfers"});
    EXPECT_EQ(d.skirmish("player2.vlo"), defaultVlo);
    EXPECT_TRUE(d.settingsHas("RulesFile=Classic"));
}

TEST(Startup, FirstRunAsksNickAndGameThenWritesSettingsOnlyWhenClosing) {
    LauncherWorld w;
    const std::string game = w.makeGame("game");
    for (const char* nick : {"Big Boss", "Big\tBoss", "a/b", "a\\b", " Bosss "})
        w.ui.answerInput(nick);
    w.ui.answerFile(game + "korvane.exe");

    ASSERT_TRUE(runStartup(*w.launcher, ""));
    EXPECT_TRUE(w.ui.allAnswersUsed());
    EXPECT_EQ(w.ui.messageTexts(),
              (Texts{"No spaces allowed!", "No tabs allowed!", "Invalid character found!",
                     "Invalid character found!", "Please locate 'Korvane.exe' file!"}));
    const Launcher& l = *w.launcher;
    EXPECT_EQ(l.nick, "Bosss");
    EXPECT_EQ(l.installations.menu(), Texts{">>" + game + "<<"});
    for (const char* folder : launcherFolders())
        EXPECT_TRUE(platform::folderExists(l.paths.underLauncher(folder))) << folder;
    for (const auto& [name, value] : {std::pair{"KVPath", game}, std::pair{"KVSPath", w.root}})
        EXPECT_EQ(w.registry->query(platform::RegistryRoot::CurrentUser, "Korvane Starter", name),
                  platform::RegistryValue(value));
    EXPECT_FALSE(platform::fileExists(l.settingsFilePath()));

    closeMainWindow(*w.launcher);
    EXPECT_TRUE(platform::fileExists(l.settingsFilePath()));

    w.restart();
    w.ui.clear();
    ASSERT_TRUE(runStartup(*w.launcher, "")); // no questions this time
    EXPECT_FALSE(w.launcher->firstRun);
    EXPECT_EQ(w.launcher->gameName + "|" + w.launcher->ownNameLabel, "Bosss' game|Bosss (you)");
    EXPECT_TRUE(w.ui.messages().empty());
}

TEST(LauncherCommandLine, SwitchesRunInOrderAndBadOnesAreReported) {
    LauncherWorld w;
    w.writeSettings({"KVPath=" + w.makeGame("game")});
    GetDefaultValues(*w.launcher);
    w.tmp.write("kvs/Mods/Global INIs/Good.ini", "");
    Texts log;
    RecordingView view(log);
    w.launcher->setView(&view);

    applyLauncherCommandLine(*w.launcher, "no switches at all");
    EXPECT_TRUE(log.empty());

    applyLauncherCommandLine(*w.launcher, " -DEBUG  -globalini  Good.ini ");
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log[0], "debug label");
    EXPECT_TRUE(w.launcher->debug && w.launcher->globalConfigLoaded);
    EXPECT_EQ(w.launcher->activeSettingsName, "Good.ini");
    EXPECT_TRUE(w.ui.messages().empty());

    applyLauncherCommandLine(*w.launcher, "-globalini -debug now -frob x -globalini Bad.ini");
    EXPECT_EQ(w.ui.messageTexts(),
              (Texts{"Error parsing command line: globalini",
                     "Error parsing command line: debug now", "Unknown command line switch: frob",
                     "Failed to load:\n\n'" + w.root + "Mods/Global INIs/Bad.ini'"}));
}

} // namespace kv::test
