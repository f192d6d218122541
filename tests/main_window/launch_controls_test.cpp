// The main window's start controls on the demo world: the buttons are live, the key help
// shows, "Apply" disables itself once the install went through, and the preview follows every
// option.
#include "launcher/content_wiring.h"
#include "launcher/launch_buttons.h"
#include "launcher/launcher.h"
#include "launcher/startup.h"
#include "launcher/lobby_wiring.h"
#include "lobby/lobby.h"
#include "platform/files.h"
#include "platform/registry.h"
#include "tests/main_window/demo_window.h"
#include "tests/support/scripted_ui.h"
#include "tests/support/temp_folder.h"
#include "tools/demo/demo_world.h"
#include "ui/main/main_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>
#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace kv::test {

namespace {

struct StartControls : DemoWindow {
    StartControls() {
        start([](Launcher& launcher) {
            launcher.lobby.localAddress = "10.0.0.3";
            wireLobby(launcher);
        });
    }
    void chooseMenuEntry(const char* button, int index) const {
        find<QToolButton>(button)->menu()->actions()[index]->trigger();
    }
    QString commandLine() const { return find<QLineEdit>("TxtCommandLine")->text(); }
};

} // namespace

TEST(StartControls, ButtonsAreLiveAndARefusedApplyStaysOn) {
    StartControls d;
    for (const char* name : {"CmdStart", "CmdInfo", "CmdTerraForge"})
        EXPECT_TRUE(d.find<QPushButton>(name)->isEnabled()) << name;

    d.find<QPushButton>("CmdInfo")->click();
    ASSERT_EQ(d.ui.messages().size(), 1u);
    EXPECT_EQ(d.ui.messages()[0].text, keyHelpText());
    EXPECT_EQ(d.ui.messages()[0].icon, Icon::Information);

    for (int p = 0; p < 4; ++p) // one WaterAI more than the game loads: the install refuses
        ASSERT_TRUE(kv::selectAi(*d.launcher, p, "Water AI"));
    QPushButton* apply = d.find<QPushButton>("CmdApply");
    d.launcher->content.choices.applyEnabled = false;
    d.window->refresh();
    ASSERT_FALSE(apply->isEnabled());
    d.launcher->content.choices.applyEnabled = true; // as after choosing another AI
    d.window->refresh();
    apply->click();
    ASSERT_EQ(d.ui.messages().size(), 2u);
    EXPECT_EQ(d.ui.messages()[1].text, "You can't select more than 3 WaterAIs, because WaterAI "
                                       "is too big for Korvane to load more than 3 copies");
    EXPECT_TRUE(apply->isEnabled());
}

TEST(StartControls, PreviewFollowsEveryOption) {
    StartControls d;
    EXPECT_EQ(d.commandLine(), " -3DFX  ");
#ifndef _WIN32
    // The demo's korvane.exe is a native program: no Wine in front of it.
    EXPECT_EQ(d.find<QLineEdit>("TxtInvocation")->text().toStdString(),
              shellQuoted({d.world.gameFolder + "korvane.exe", "-3DFX"}));
#endif
    d.find<QComboBox>("CmbResolution")->setCurrentIndex(3);
    EXPECT_EQ(d.commandLine(), " -3DFX -1024  ");
    d.chooseMenuEntry("TbIntro", 1);
    d.chooseMenuEntry("TbDebug", 0);
    EXPECT_EQ(d.commandLine(), " -3DFX -1024  -intro -ovyrdelmkasitroquenbafp");
    d.chooseMenuEntry("TbDebug", 1);
    d.find<QCheckBox>("ChkStartWithCampaign")->setChecked(true);
    d.find<QComboBox>("CmbCampaign")->setCurrentText(QStringLiteral("Campaign 1"));
    EXPECT_EQ(d.commandLine(), " -3DFX -1024 -game CAM_1A -intro");
    d.find<QCheckBox>("Check6")->setChecked(true);
    EXPECT_EQ(d.commandLine(), " -3DFX -1024 -game CAM_1A -intro +host \"10.0.0.3\" +hostname "
                               "\"Demo's game\" +name \"Demo\"");
    // So does the lobby's mode.
    d.launcher->lobby.hostLabel = "10.0.0.9";
    d.launcher->lobby.session->chooseJoin();
    EXPECT_EQ(d.commandLine(), " -3DFX -1024 -game CAM_1A -intro +connect \"10.0.0.9\" +name "
                               "\"Demo\"");
    EXPECT_TRUE(d.find<QLineEdit>("TxtCommandLine")->isReadOnly());
    // The whole command line of this start fits the field.
    d.find<QCheckBox>("Check6")->setChecked(false);
    d.chooseMenuEntry("TbDebug", 0);
    QLineEdit* field = d.find<QLineEdit>("TxtCommandLine");
    EXPECT_EQ(d.commandLine(), " -3DFX -1024 -game CAM_1A -intro -ovyrdelmkasitroquenbafp");
    EXPECT_GE(field->width(), field->fontMetrics().horizontalAdvance(d.commandLine()) + 8)
        << field->width();
    d.find<QCheckBox>("ChkMiniMode")->click(); // also in the compact window
    QApplication::processEvents();
    EXPECT_GE(field->width(), field->fontMetrics().horizontalAdvance(d.commandLine()) + 8)
        << field->width();
    EXPECT_FALSE(d.registry->query(platform::RegistryRoot::LocalMachine,
                                   "Software\\Bramble Studios\\KorvaneTactics", "scroll"));
}

#ifndef _WIN32
TEST(StartControls, EditStartsTheDemoMapEditorAndAFailedStartIsReported) {
    StartControls d;
    // Without a display the stand-in only writes its log; no window is left behind.
    const std::string display = std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "";
    ::unsetenv("DISPLAY");
    const std::string log = d.world.gameFolder + "TerraForge.log";
    const auto waitForLog = [&log] {
        for (int i = 0; i < 500 && !platform::fileExists(log); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        std::string text;
        platform::readFile(log, text);
        return text;
    };
    QPushButton* edit = d.find<QPushButton>("CmdTerraForge");
    edit->click();
    std::string game = d.world.gameFolder;
    game.pop_back();
    EXPECT_EQ(waitForLog(),
              "TerraForge map editor stand-in. Folder: " + game + "  Parameters: [-hardware]\n");
    EXPECT_TRUE(d.ui.messages().empty());

    // A stand-in from an older demo, written with CR LF ends, cannot run.
    const std::string editor = d.world.gameFolder + "TerraForge.exe";
    ASSERT_TRUE(platform::writeFileAtomic(editor, "#!/bin/sh\r\necho TerraForge\r\n"));
    ASSERT_EQ(::chmod(editor.c_str(), 0755), 0);
    edit->click();
    ASSERT_EQ(d.ui.messages().size(), 1u);
    EXPECT_EQ(d.ui.messages()[0].text.rfind("The map editor could not be started.\n", 0), 0u);
    EXPECT_EQ(d.ui.messages()[0].icon, Icon::Critical);
    // Writing the demo again repairs it.
    std::string error;
    ASSERT_TRUE(demo::writeDemoWorld(d.tmp / "demo", false, d.world, error)) << error;
    std::filesystem::remove(log);
    edit->click();
    EXPECT_NE(waitForLog().find("Parameters: [-hardware]"), std::string::npos);
    EXPECT_EQ(d.ui.messages().size(), 1u);
    if (!display.empty())
        ::setenv("DISPLAY", display.c_str(), 1);
}
#endif

TEST(StartControls, RestoringByHandReadsTheListsAgainUnlessBusy) {
    StartControls d;
    const auto listsFortress = [&d] {
        const auto& items = d.launcher->content.choices.players[0].items;
        return std::find(items.begin(), items.end(), "Fortress") != items.end();
    };
    ASSERT_TRUE(listsFortress());
    ASSERT_TRUE(platform::deleteFile(d.world.launcherFolder + "Mods/SkirmishAI/Fortress.kvai"));
    d.launcher->busy = true; // a list is being rebuilt
    d.window->showMinimized();
    d.window->showNormal();
    EXPECT_TRUE(d.launcher->wasMinimised);
    EXPECT_TRUE(listsFortress());

    d.launcher->busy = false;
    d.window->showMinimized();
    EXPECT_TRUE(d.launcher->wasMinimised);
    d.window->showNormal();
    EXPECT_FALSE(d.launcher->wasMinimised);
    EXPECT_FALSE(listsFortress());
}

} // namespace kv::test
