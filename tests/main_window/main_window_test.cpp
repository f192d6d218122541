// The launcher's main window on the demo world, driven through its widgets: what it shows
// and writes back, its start controls, the Tools menu and the main link.
#include "launcher/content_wiring.h"
#include "launcher/installation_actions.h"
#include "launcher/launch_buttons.h"
#include "launcher/lobby_wiring.h"
#include "lobby/lobby.h"
#include "platform/files.h"
#include "platform/text.h"
#include "tests/main_window/demo_window.h"
#include "tests/support/wait.h"
#include "ui/main/tools_button.h"

#include <QTest>
#include <QtWidgets>

#include <filesystem>
#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace kv::test {
namespace {

// The windows of this program are placed on a 1366×768 screen, the most common laptop
// screen, where the launcher's full size does not fit.
const bool laptopScreen = [] {
    if (!qgetenv("QT_QPA_PLATFORM").startsWith("offscreen"))
        return false;
    static const TempFolder folder;
    const std::string config = folder.write(
        "screen.json", R"({"screens": [{"name": "laptop", "x": 0, "y": 0, "width": 1366,)"
                       R"( "height": 768, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
    return qputenv("QT_QPA_PLATFORM", QByteArray("offscreen:configfile=") + config.c_str());
}();

// The main window on the demo world, started as the program starts it, with the lobby.
// `firstRun`: without the settings file, and the locate dialog cancelled. `links`, when
// given, replaces the demo's links file ("": none).
struct Window : DemoWindow {
    explicit Window(bool firstRun = false, const char* links = nullptr) {
        if (links) {
            std::filesystem::remove(world.launcherFolder + "Settings/KVS/KVSLinks.ini");
            if (*links)
                tmp.write("demo/launcher/Settings/KVS/KVSLinks.ini", links);
        }
        start([&](Launcher& launcher) {
            launcher.lobby.localAddress = "10.0.0.3";
            wireLobby(launcher);
            if (!firstRun)
                return;
            (void)platform::deleteFile(launcher.settingsFilePath());
            ui.answerInput("Newcomer");
            ui.answerFile(std::nullopt);
        });
    }
    void choose(const char* button, int index) const {
        find<QToolButton>(button)->menu()->actions()[index]->trigger();
    }
    QAction* tool(const char* text) const {
        for (QAction* a : find<QToolButton>("TbTools")->menu()->actions())
            if (a->text() == QLatin1String(text))
                return a;
        ADD_FAILURE() << text;
        return nullptr;
    }
    QString commandLine() const { return find<QLineEdit>("TxtCommandLine")->text(); }
};

// The window opens inside the screen's available area, whatever its content asks for,
// and the next run opens it where and as large as the user left it, maximised or not.
TEST(MainWindow, OpensOnTheScreenAndWhereTheUserLeftIt) {
    // Its own configuration folder: the place left here must not reach other tests.
    const TempFolder config;
    const QByteArray sharedConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(config.path()));
    QRect left;
    {
        Window d;
        const QRect area = d.window->screen()->availableGeometry();
        EXPECT_TRUE(laptopScreen && area.size() == QSize(1366, 768));
        EXPECT_TRUE(area.contains(d.window->frameGeometry())) << d.window->frameGeometry().width();
        left = QRect(area.topLeft() + QPoint(30, 40), area.size() - QSize(200, 80));
        d.window->setGeometry(left);
        d.window->close();
    }
    {
        Window d;
        EXPECT_EQ(d.window->geometry(), left);
        d.window->showMaximized();
        d.window->close();
    }
    EXPECT_TRUE(Window().window->isMaximized());
    qputenv("XDG_CONFIG_HOME", sharedConfig);
}

// A first run whose locate dialog was cancelled leads to "Add…", previews no made-up
// program, and "Start KV" says why nothing starts.
TEST(MainWindow, FirstRunWithoutTheGameLeadsToAdd) {
    Window d(true);
    auto* emptyState = d.find<QWidget>("FraNoInstallation");
    EXPECT_TRUE(emptyState->isVisible());
    EXPECT_EQ(d.commandLine() + d.find<QLineEdit>("TxtInvocation")->text(), "");
    d.ui.clear();
    d.find<QPushButton>("CmdStart")->click();
    EXPECT_EQ(d.ui.messageTexts(), std::vector<std::string>{kNoInstallationMessage});
    EXPECT_FALSE(d.window->isMinimized());

    d.ui.answerFile(d.world.gameFolder + "korvane.exe");
    d.find<QPushButton>("CmdAddInstallation")->click();
    EXPECT_FALSE(emptyState->isVisible());
    EXPECT_NE(d.find<QLineEdit>("TxtInvocation")->text(), "");
}

TEST(MainWindow, CompactToggleSwapsLayoutCaptionAndSizeAndTheFullSizeComesBack) {
    Window d;
    d.window->resize(d.window->size() + QSize(40, 30)); // as the user left it
    QApplication::processEvents();
    const QSize full = d.window->size();
    QCheckBox* compact = d.find<QCheckBox>("ChkMiniMode");
    QLabel* link = d.find<QLabel>("LblMainLink");
    const auto shows = [&](const std::string& caption, const char* toggle, bool tabs) {
        EXPECT_EQ(link->text().toStdString() + compact->text().toStdString(), caption + toggle);
        EXPECT_EQ(d.find<QTabWidget>("TabMain")->isHidden(), !tabs);
    };
    shows(d.launcher->mainLink.textExpanded, "<<", true);
    compact->click();
    QApplication::processEvents();
    shows(d.launcher->mainLink.textCollapsed, ">>", false);
    EXPECT_EQ(d.launcher->options.miniModeOn, 1);
    const QSize small = d.window->size();
    EXPECT_TRUE(small.width() < full.width() - 100 && small.height() <= full.height());
    compact->click();
    QApplication::processEvents();
    shows(d.launcher->mainLink.textExpanded, "<<", true);
    EXPECT_EQ(d.window->size(), full);
}

TEST(MainWindow, ClosingWritesWhatTheControlsShow) {
    Window d;
    d.find<QComboBox>("CmbResolution")->setCurrentIndex(3);
    d.find<QCheckBox>("Check6")->setChecked(true);
    d.find<QTabWidget>("TabMain")->setCurrentIndex(3);
    d.window->close();
    std::vector<std::string> lines;
    ASSERT_TRUE(platform::readTextLines(d.launcher->settingsFilePath(), lines));
    for (const std::string& line :
         {std::string("KVResolution=3"), std::string("MultiplayerModeOn=1"),
          std::string("SelectedTabIndex=4"), "SelectedKVPath=" + d.world.gameFolder})
        EXPECT_NE(std::find(lines.begin(), lines.end(), line), lines.end()) << line;
}

TEST(StartControls, PreviewFollowsEveryOptionAndFitsItsField) {
    Window d;
#ifndef _WIN32
    // The demo's korvane.exe is a native program: no Wine in front of it.
    EXPECT_EQ(d.find<QLineEdit>("TxtInvocation")->text().toStdString(),
              shellQuoted({d.world.gameFolder + "korvane.exe", "-3DFX"}));
#endif
    d.find<QComboBox>("CmbResolution")->setCurrentIndex(3);
    d.choose("TbIntro", 1);
    d.choose("TbDebug", 0);
    EXPECT_EQ(d.commandLine(), " -3DFX -1024  -intro -ovyrdelmkasitroquenbafp");
    d.choose("TbDebug", 1);
    EXPECT_EQ(d.find<QToolButton>("TbDebug")->text(), "Debug off");
    d.find<QCheckBox>("ChkStartWithCampaign")->setChecked(true);
    d.find<QComboBox>("CmbCampaign")->setCurrentText(QStringLiteral("Campaign 1"));
    d.find<QCheckBox>("Check6")->setChecked(true);
    EXPECT_EQ(d.commandLine(), " -3DFX -1024 -game CAM_1A -intro +host \"10.0.0.3\" +hostname "
                               "\"Demo's game\" +name \"Demo\"");
    // So does the lobby's mode.
    d.launcher->lobby.hostLabel = "10.0.0.9";
    d.launcher->lobby.session->chooseJoin();
    EXPECT_EQ(d.commandLine(), " -3DFX -1024 -game CAM_1A -intro +connect \"10.0.0.9\" +name "
                               "\"Demo\"");
    // The whole command line of this start fits the read-only field, also when compact.
    d.find<QCheckBox>("Check6")->setChecked(false);
    d.choose("TbDebug", 0);
    QLineEdit* field = d.find<QLineEdit>("TxtCommandLine");
    EXPECT_TRUE(field->isReadOnly());
    EXPECT_EQ(d.commandLine(), " -3DFX -1024 -game CAM_1A -intro -ovyrdelmkasitroquenbafp");
    for (int compact = 0; compact < 2; ++compact) {
        EXPECT_GE(field->width(), field->fontMetrics().horizontalAdvance(d.commandLine()) + 8)
            << field->width();
        d.find<QCheckBox>("ChkMiniMode")->click();
        QApplication::processEvents();
    }
    EXPECT_FALSE(d.registry->query(platform::RegistryRoot::LocalMachine,
                                   "Software\\Bramble Studios\\KorvaneTactics", "scroll"));
}

#ifndef _WIN32
// A stand-in editor from an older demo, written with CR LF ends, cannot run; writing the
// demo again repairs it.
TEST(StartControls, EditStartsTheDemoMapEditorOnceTheDemoIsWrittenAgain) {
    Window d;
    // Without a display the stand-in only writes its log; no window is left behind.
    const std::string display = std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "";
    ::unsetenv("DISPLAY");
    const std::string editor = d.world.gameFolder + "TerraForge.exe";
    ASSERT_TRUE(platform::writeFileAtomic(editor, "#!/bin/sh\r\necho TerraForge\r\n"));
    ASSERT_EQ(::chmod(editor.c_str(), 0755), 0);
    d.find<QPushButton>("CmdTerraForge")->click();
    EXPECT_EQ(d.ui.messages().size(), 1u);
    std::string error, game = d.world.gameFolder;
    ASSERT_TRUE(demo::writeDemoWorld(d.tmp / "demo", false, d.world, error)) << error;
    d.find<QPushButton>("CmdTerraForge")->click();
    EXPECT_TRUE(waitFor([&] { return platform::fileExists(game + "TerraForge.log"); }, 10000));
    game.pop_back();
    EXPECT_EQ(d.tmp.read("demo/game/TerraForge.log"),
              "TerraForge map editor stand-in. Folder: " + game + "  Parameters: [-hardware]\n");
    EXPECT_EQ(d.ui.messages().size(), 1u);
    if (!display.empty())
        ::setenv("DISPLAY", display.c_str(), 1);
}
#endif

TEST(StartControls, RestoringByHandReadsTheListsAgainUnlessBusy) {
    Window d;
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

TEST(ToolsMenu, UpdateCheckAndAlwaysOnTopShowTheirStateInTheWindow) {
    Window w(false, "");
    auto* tools = w.find<ui::ToolsButton>("TbTools");
    // The update check is not there yet: the entry waits for it.
    EXPECT_FALSE(w.tool("Check for updates")->isEnabled());
    // While it runs, the entry is its Cancel and everything else is off.
    QString during;
    tools->setUpdateCheck([&] {
        during = tools->menu()->actions().front()->text();
        for (QWidget* other : tools->parentWidget()->findChildren<QWidget*>(
                 Qt::FindDirectChildrenOnly))
            during += (other == tools) != other->isEnabled() ? "!" : "";
        during += w.tool("Change Nick")->isEnabled() ? "!" : "";
    });
    w.tool("Check for updates")->trigger();
    EXPECT_EQ(during, "Cancel update check");
    EXPECT_TRUE(w.tool("Change Nick")->isEnabled());

    // The entry names the state, and the window itself stays on top.
    const auto onTop = [&w] {
        return w.window->windowHandle() &&
               w.window->windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint);
    };
    EXPECT_FALSE(onTop());
    w.tool("Always on top Off")->trigger();
    EXPECT_TRUE(w.launcher->alwaysOnTop && onTop());
    w.tool("Always on top On")->trigger();
    EXPECT_FALSE(w.launcher->alwaysOnTop || onTop());

    tools->run(QStringLiteral("Make it so"));
    EXPECT_EQ(w.ui.messageTexts(), std::vector<std::string>{"Unknown command."});
}

// Removing the configuration ends the launcher at once: nothing is saved, even when the
// window is closed afterwards.
TEST(ToolsMenu, RemoveConfigurationEndsAtOnceWithoutSaving) {
    Window w(false, "");
    const std::string probe = w.tmp.write("probe.sh", "#!/bin/sh\nexit 0\n");
    std::filesystem::permissions(probe, std::filesystem::perms::owner_all);
    w.find<ui::ToolsButton>("TbTools")->setRestartProgram(probe);
    int processEnds = 0;
    w.window->setEndProcess([&] { ++processEnds; });
    w.ui.answerMessage(Answer::Yes);
    w.tool("Remove current configuration")->trigger();
    EXPECT_EQ(processEnds, 1);
    EXPECT_FALSE(w.window->isVisible());
    w.window->close();
    EXPECT_FALSE(platform::fileExists(w.launcher->settingsFilePath()));
}

TEST(MainLink, SlidesInFlashesAndTakesTheFileColours) {
    Window w(false, "MainLinkBackground = \"255\"\r\nmainlinktextcolor = \"65280\"\r\n"
                    "MainLinkURL = \"https://example.org/kv\"\r\n");
    auto* link = w.find<QLabel>("LblMainLink");
    EXPECT_LT(link->y(), 0); // still sliding in
    // In place, it flashes in another style and settles in the file's colours.
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return link->y() == 0 && !link->styleSheet().isEmpty(); }, 5000));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return link->styleSheet() == "background-color: #ff0000; color: #00ff00;"; },
        5000));
    w.ui.answerMessage(Answer::Yes);
    QTest::mouseClick(link, Qt::LeftButton);
    EXPECT_EQ(w.opened, std::vector<std::string>{"https://example.org/kv"});
}

} // namespace
} // namespace kv::test
