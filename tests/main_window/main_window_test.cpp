#include "launcher/installation_actions.h"
#include "platform/files.h"
#include "platform/text.h"
#include "tests/main_window/demo_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QToolButton>
#include <QWindow>

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

QStringList texts(const QMenu* menu) {
    QStringList out;
    for (const QAction* a : menu->actions())
        out << a->text();
    return out;
}

// The main window on a freshly written demo world, started as the program starts it.
// `firstRun`: without the settings file, and the locate dialog cancelled.
struct StartedWindow : DemoWindow {
    explicit StartedWindow(bool firstRun = false) {
        start([&](Launcher& launcher) {
            if (!firstRun)
                return;
            (void)platform::deleteFile(launcher.settingsFilePath());
            ui.answerInput("Newcomer");
            ui.answerFile(std::nullopt);
        });
    }
    QMenu* menuOf(const char* button) const { return find<QToolButton>(button)->menu(); }
};

} // namespace

// What the controls show from the world and the settings, and the order Tab walks them in.
TEST(MainWindow, ControlsShowTheWorldAndTabFollowsTheScreen) {
    StartedWindow d;
    EXPECT_EQ(d.window->windowTitle(), "Korvane Starter");
    EXPECT_TRUE(d.find<QComboBox>("CmbTerraForgeMode")->isEnabled()); // TerraForge.exe is there
    EXPECT_EQ(d.find<QLabel>("LblVersion")->text(), "Version: 2.144");
    EXPECT_EQ(d.find<QToolButton>("TbDebug")->text(), "Debug off"); // from the demo settings
    EXPECT_EQ(d.menuOf("TbScrollSpeed")->actions().size(), 16);
    EXPECT_EQ(texts(d.menuOf("TbKVPath")),
              QStringList{QString::fromStdString(">>" + d.world.gameFolder + "<<")});
    QPushButton* deleteKdg = d.find<QPushButton>("CmdDeleteKDG");
    EXPECT_EQ(deleteKdg->text(), "Delete");
    EXPECT_FALSE(deleteKdg->isEnabled());

    QTabWidget* tabs = d.find<QTabWidget>("TabMain");
    QStringList pages;
    for (int i = 0; i < tabs->count(); ++i)
        pages << tabs->tabText(i);
    EXPECT_EQ(pages, (QStringList{"M&ODs", "&AI", "New &KDG", "&Host/Join Game"}));
    // Tab follows the screen: toolbars, the options on the left, the pages, the buttons.
    QStringList chain;
    for (QWidget* w = d.window->nextInFocusChain(); w != d.window.get(); w = w->nextInFocusChain())
        chain << w->objectName();
    const char* order[] = {"TbKVPath",        "CmbResolution", "qt_tabwidget_tabbar",
                           "CmdGlobalConfig", "CmdInfo",       "CmdPreviewStart",
                           "CmdStart"};
    for (std::size_t i = 1; i < std::size(order); ++i)
        EXPECT_LT(chain.indexOf(order[i - 1]), chain.indexOf(order[i])) << order[i];
}

// The window opens inside the screen's available area, whatever its content asks for,
// and the next run opens it where and as large as the user left it, maximised or not.
TEST(MainWindow, OpensOnTheScreenAndWhereTheUserLeftIt) {
    // Its own configuration folder: the place left here must not reach other tests.
    const TempFolder config;
    const QByteArray sharedConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(config.path()));
    QRect left;
    {
        StartedWindow d;
        const QRect area = d.window->screen()->availableGeometry();
        EXPECT_TRUE(area.contains(d.window->frameGeometry()))
            << d.window->frameGeometry().width() << "x" << d.window->frameGeometry().height();
        EXPECT_TRUE(laptopScreen);
        EXPECT_EQ(area.size(), QSize(1366, 768));
        left = QRect(area.topLeft() + QPoint(30, 40), area.size() - QSize(200, 80));
        d.window->setGeometry(left);
        d.window->close();
    }
    {
        StartedWindow d;
        EXPECT_EQ(d.window->geometry(), left);
        d.window->showMaximized();
        d.window->close();
    }
    {
        StartedWindow d;
        EXPECT_TRUE(d.window->isMaximized());
    }
    qputenv("XDG_CONFIG_HOME", sharedConfig);
}

// A first run whose locate dialog was cancelled leads to "Add…", previews no made-up
// program, and "Start KV" says why nothing starts.
TEST(MainWindow, FirstRunWithoutTheGameLeadsToAdd) {
    StartedWindow d(true);
    auto* emptyState = d.find<QWidget>("FraNoInstallation");
    EXPECT_TRUE(emptyState->isVisible());
    EXPECT_EQ(d.find<QLabel>("LblNoInstallation")->text(), "No game installation yet");
    EXPECT_EQ(d.find<QLineEdit>("TxtCommandLine")->text(), "");
    EXPECT_EQ(d.find<QLineEdit>("TxtInvocation")->text(), "");
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
    StartedWindow d;
    d.window->resize(d.window->size() + QSize(40, 30)); // as the user left it
    QApplication::processEvents();
    const QSize full = d.window->size();
    QCheckBox* compact = d.find<QCheckBox>("ChkMiniMode");
    QLabel* link = d.find<QLabel>("LblMainLink");
    EXPECT_EQ(link->text().toStdString(), d.launcher->mainLink.textExpanded);
    EXPECT_EQ(compact->text(), "<<");
    compact->click();
    QApplication::processEvents();
    EXPECT_EQ(link->text().toStdString(), d.launcher->mainLink.textCollapsed);
    EXPECT_EQ(compact->text(), ">>");
    EXPECT_TRUE(d.find<QTabWidget>("TabMain")->isHidden());
    EXPECT_EQ(d.launcher->options.miniModeOn, 1);
    const QSize small = d.window->size();
    EXPECT_LT(small.width(), full.width() - 100) << small.width() << " of " << full.width();
    EXPECT_LE(small.height(), full.height());
    compact->click();
    QApplication::processEvents();
    EXPECT_EQ(link->text().toStdString(), d.launcher->mainLink.textExpanded);
    EXPECT_FALSE(d.find<QTabWidget>("TabMain")->isHidden());
    EXPECT_EQ(d.window->size(), full);
}

TEST(MainWindow, MenusDriveTheStateAndShowItBack) {
    StartedWindow d;
    const std::string second = d.tmp / "second/";
    d.tmp.write("second/korvane.exe", "");
    d.ui.answerFile(second + "korvane.exe");
    d.menuOf("TbKVPathActions")->actions()[1]->trigger(); // "Add..."
    d.menuOf("TbKVPath")->actions()[1]->trigger();
    EXPECT_EQ(texts(d.menuOf("TbKVPath")),
              (QStringList{QString::fromStdString("  " + d.world.gameFolder + "  "),
                           QString::fromStdString(">>" + second + "<<")}));
    EXPECT_EQ(d.launcher->installations.currentGameFolder(), second);

    d.menuOf("TbBases")->actions()[0]->trigger();
    EXPECT_EQ(d.find<QToolButton>("TbBases")->text(), "No bases");
    d.find<QToolButton>("TbScrollSpeed")->click();
    EXPECT_EQ(d.find<QToolButton>("TbScrollSpeed")->text(), "Scroll speed 3");
}

TEST(MainWindow, ClosingWritesWhatTheControlsShow) {
    StartedWindow d;
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

} // namespace kv::test
