// The launcher's main window on the demo world, driven through its widgets: what it shows
// and writes back, its start controls, the Tools menu and its content pages.
#include "content/script_slots.h"
#include "launcher/content_wiring.h"
#include "launcher/installation_actions.h"
#include "launcher/lobby_wiring.h"
#include "lobby/lobby.h"
#include "platform/files.h"
#include "platform/text.h"
#include "tests/main_window/demo_window.h"
#include "tests/support/trash_home.h"
#include "tools/worldgen/content_files.h"
#include "tools/worldgen/script_samples.h"
#include "ui/content/frm_mods.h"
#include "ui/content/mods_page.h"
#include "ui/content/script_custom_window.h"
#include "ui/main/tools_button.h"

#include <QTest>
#include <QtWidgets>

#include <filesystem>

namespace kv::test {
namespace {

// The entry of the Tools menu with this text.
QAction* tool(const DemoWindow& d, const char* text) {
    for (QAction* a : d.find<QToolButton>("TbTools")->menu()->actions())
        if (a->text() == QLatin1String(text))
            return a;
    ADD_FAILURE() << text;
    return nullptr;
}

// The main window on the demo world, started as the program starts it, with the lobby.
// `firstRun`: without the settings file, and the locate dialog cancelled.
struct Window : DemoWindow {
    explicit Window(bool firstRun = false) {
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
    QString commandLine() const { return find<QLineEdit>("TxtCommandLine")->text(); }
};

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

TEST(StartControls, PreviewFollowsEveryOption) {
    Window d;
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
    d.find<QCheckBox>("Check6")->setChecked(false);
    d.choose("TbDebug", 0);
    EXPECT_EQ(d.commandLine(), " -3DFX -1024 -game CAM_1A -intro -ovyrdelmkasitroquenbafp");
    EXPECT_FALSE(d.registry->query(platform::RegistryRoot::LocalMachine,
                                   "Software\\Bramble Studios\\KorvaneTactics", "scroll"));
}

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

TEST(ToolsMenu, UpdateCheckShowsItsStateAndUnknownCommandsAreRefused) {
    Window w;
    auto* tools = w.find<ui::ToolsButton>("TbTools");
    // The update check is not there yet: the entry waits for it.
    EXPECT_FALSE(tool(w, "Check for updates")->isEnabled());
    // While it runs, the entry is its Cancel and everything else is off.
    QString during;
    tools->setUpdateCheck([&] {
        during = tools->menu()->actions().front()->text();
        for (QWidget* other : tools->parentWidget()->findChildren<QWidget*>(
                 Qt::FindDirectChildrenOnly))
            during += (other == tools) != other->isEnabled() ? "!" : "";
        during += tool(w, "Change Nick")->isEnabled() ? "!" : "";
    });
    tool(w, "Check for updates")->trigger();
    EXPECT_EQ(during, "Cancel update check");
    EXPECT_TRUE(tool(w, "Change Nick")->isEnabled());

    tools->run(QStringLiteral("Make it so"));
    EXPECT_EQ(w.ui.messageTexts(), std::vector<std::string>{"Unknown command."});
}

// Removing the configuration ends the launcher at once: nothing is saved, even when the
// window is closed afterwards.
TEST(ToolsMenu, RemoveConfigurationEndsAtOnceWithoutSaving) {
    Window w;
    const std::string probe = w.tmp.write("probe.sh", "#!/bin/sh\nexit 0\n");
    std::filesystem::permissions(probe, std::filesystem::perms::owner_all);
    w.find<ui::ToolsButton>("TbTools")->setRestartProgram(probe);
    int processEnds = 0;
    w.window->setEndProcess([&] { ++processEnds; });
    w.ui.answerMessage(Answer::Yes);
    tool(w, "Remove current configuration")->trigger();
    EXPECT_EQ(processEnds, 1);
    EXPECT_FALSE(w.window->isVisible());
    w.window->close();
    EXPECT_FALSE(platform::fileExists(w.launcher->settingsFilePath()));
}

template <typename T> T* in(const QObject* parent, const char* name) {
    T* w = parent->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

void pick(QListWidget* list, const char* text) {
    const auto items = list->findItems(QString::fromLatin1(text), Qt::MatchExactly);
    ASSERT_EQ(items.size(), 1) << text;
    list->setCurrentItem(items.front());
}

QStringList texts(const QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

// The content pages and windows: the MODs page's archive panel, the MODs and AI manager
// with its deletions, the customizing window. A customizable world also has a second AI with
// fields, Big; its `settings` lines replace the demo's settings lines with the same key.
struct Pages : DemoWindow {
    explicit Pages(bool customizable = false,
                   std::vector<std::pair<std::string, std::string>> settings = {})
        : DemoWindow(customizable) {
        if (customizable) {
            const std::string big = worldgen::largeCustomizableScript(2, 40000);
            worldgen::writeContentFile(
                world.launcherFolder + "Mods/SkirmishAI/Big.kvai",
                worldgen::aiFileText("Big", platform::splitLines(big), {"", "}"}));
            EXPECT_TRUE(demo::setDemoSettings(world, settings));
        }
        start();
        ui.clear();
    }
    ui::ModsPage* page() const { return find<ui::ModsPage>("MODs"); }
    void select(const char* mod) const { pick(page()->list(), mod); }
    QAction* entry(const char* name) const { return in<QAction>(page()->contextMenu(), name); }
    QStringList krfs() const { return texts(in<QListWidget>(page(), "ListKRFs")); }

    ui::FrmMODs* manager() {
        find<QPushButton>("CmdManager")->click();
        return find<ui::FrmMODs>("FrmMODs");
    }
    ui::FrmScriptCustom* customizing() {
        QTest::mouseClick(find<QPushButton>("CmdProcess"), Qt::LeftButton);
        auto* frm = find<ui::FrmScriptCustom>("FrmScriptCustom");
        EXPECT_TRUE(frm && frm->isVisible());
        return frm;
    }
    static void selectEntry(const QObject* frm, const char* text) {
        pick(in<QListWidget>(frm, "ListScripts"), text);
    }
    std::string skirmish(const std::string& name) const {
        std::string s;
        platform::readFile(world.gameFolder + "multiplay/skirmish/" + name, s);
        return s;
    }
};

TEST(ModsArchive, SelectingTheMapModShowsItsArchiveAndMapPreview) {
    Pages w;
    w.select("Islands");
    EXPECT_EQ(in<QLineEdit>(w.page(), "TxtInternalId")->text() + " " +
                  in<QLineEdit>(w.page(), "TxtInternalName")->text(),
              "102 Islands");
    const QStringList krfs = w.krfs();
    ASSERT_EQ(krfs.size(), 4);
    EXPECT_EQ((QStringList{krfs[0], krfs[1], krfs[3]}),
              (QStringList{"IslandsMap.krf", "Texts.krf", "Sounds.krf"}));
    EXPECT_TRUE(krfs[2].startsWith('$') && krfs[2].endsWith(".krf")) << krfs[2].toStdString();

    // The preview is the archive's "Game.map", 96 x 64, small enough to stay unscaled.
    auto* preview = in<QLabel>(w.page(), "MapPreview");
    auto* size = in<QLabel>(w.page(), "LblMapSize");
    EXPECT_EQ(preview->pixmap().size(), QSize(96, 64));
    EXPECT_EQ(size->text(), "96 x 64");
    in<QAction>(preview, "MNU_SAVE_MAP_PREVIEW")->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), QSize(96, 64));

    // Another MOD replaces everything; its own map is the first one in its archive.
    w.select("Tanks");
    EXPECT_EQ(in<QLineEdit>(w.page(), "TxtInternalName")->text(), "Tanks");
    EXPECT_EQ(w.krfs().size(), 3);
    EXPECT_EQ(size->text(), "48 x 32");

    // With previews switched off the preview stays empty.
    w.launcher->mapPreview = false;
    w.select("Islands");
    EXPECT_TRUE(preview->pixmap().isNull());
    EXPECT_TRUE(size->text().isEmpty());
    EXPECT_TRUE(w.ui.messages().empty());
}

TEST(ModsArchive, UnreadableArchiveIsReportedAndClearsThePanel) {
    Pages w;
    w.select("Islands");
    ASSERT_TRUE(platform::writeFileAtomic(w.world.gameFolder + "Tanks.kdg", "not an archive"));
    w.select("Tanks");
    EXPECT_EQ(w.ui.messageTexts(), std::vector<std::string>{"List1_Click() - Error loading kdg."});
    EXPECT_EQ(w.ui.messages()[0].icon, Icon::Exclamation);
    EXPECT_TRUE(in<QLineEdit>(w.page(), "TxtInternalName")->text().isEmpty());
    EXPECT_TRUE(w.krfs().isEmpty());
    EXPECT_EQ(in<QLabel>(w.page(), "MapPreview")->text(), "No maps found");
}

QTreeWidgetItem* row(const QObject* manager, const char* list, const std::string& name) {
    const auto items = in<QTreeWidget>(manager, list)
                           ->findItems(QString::fromStdString(name), Qt::MatchExactly);
    return items.isEmpty() ? nullptr : items[0];
}

// Each deletion through the real buttons and questions: the chosen item, and nothing
// else, ends in the trash.
TEST(FrmMODs, EachDeletionTrashesTheChosenItemAndNothingElse) {
    Pages w;
    ui::FrmMODs* m = w.manager();
    ASSERT_NE(m, nullptr);
    const std::string folder = w.world.launcherFolder + "Mods/SkirmishAI/Fortress";
    ASSERT_TRUE(platform::folderExists(folder));
    in<QTreeWidget>(m, "ListAI")->setCurrentItem(row(m, "ListAI", "Fortress"));
    w.ui.answerMessage(Answer::No);
    in<QPushButton>(m, "CmdDeleteAI")->click();
    EXPECT_NE(row(m, "ListAI", "Fortress"), nullptr);
    w.ui.answerMessage(Answer::Yes);
    in<QPushButton>(m, "CmdDeleteAI")->click();
    EXPECT_EQ(w.ui.messageTexts(),
              std::vector<std::string>(2, "Are you sure you want to delete 'Fortress' ?"));
    EXPECT_EQ(row(m, "ListAI", "Fortress"), nullptr);
    EXPECT_FALSE(platform::pathExists(folder));
    EXPECT_TRUE(platform::fileExists(trashed("Fortress.kvai")));
    EXPECT_EQ(w.launcher->content.ais.find("Fortress"), nullptr);

    // A rules set: its folder goes whole.
    auto* rules = in<QListWidget>(m, "LstRules");
    ASSERT_GT(rules->count(), 0);
    const std::string set = rules->item(0)->text().toStdString();
    rules->setCurrentRow(0);
    w.ui.answerMessage(Answer::Yes);
    in<QPushButton>(m, "CmdDeleteRules")->click();
    EXPECT_FALSE(platform::pathExists(w.world.launcherFolder + "Mods/Rules/" + set));
    EXPECT_TRUE(platform::folderExists(trashed(set)));

    // A MOD: a file named only ".kdg" has its own row, so rows and entries stay one list.
    ASSERT_TRUE(platform::writeFileAtomic(w.world.gameFolder + ".kdg", "K"));
    in<QPushButton>(m, "CmdRefreshMODs")->click();
    auto* mods = in<QTreeWidget>(m, "ListMODs");
    const std::vector<content::ModEntry> before = w.launcher->content.mods.entries;
    ASSERT_EQ(mods->topLevelItemCount(), int(before.size()));
    QTreeWidgetItem* last = mods->topLevelItem(mods->topLevelItemCount() - 1);
    const std::string chosen = last->text(0).toStdString();
    mods->setCurrentItem(last);
    w.ui.answerMessage(Answer::Yes);
    in<QPushButton>(m, "CmdDeleteMOD")->click();
    for (const content::ModEntry& e : before) {
        EXPECT_EQ(platform::fileExists(w.world.gameFolder + e.fileName), e.name != chosen);
        EXPECT_EQ(platform::fileExists(trashed(e.fileName)), e.name == chosen) << e.fileName;
    }
}

TEST(ScriptCustomWindow, APickedValueReachesTheGameThroughApply) {
    Pages w(true, {{"AI1", "Hunter"}, {"AI2", "Big"}, {"RulesFile", "Classic"}});
    auto* box = w.find<QCheckBox>("ChkProc1");
    EXPECT_TRUE(box->isEnabled() && !box->isChecked());
    EXPECT_FALSE(w.find<QCheckBox>("ChkProc0")->isEnabled()); // "<don't change>"
    EXPECT_TRUE(w.find<QCheckBox>("ChkRulesProc")->isEnabled());

    ui::FrmScriptCustom* frm = w.customizing();
    auto* list = in<QListWidget>(frm, "ListScripts");
    EXPECT_EQ(texts(list), (QStringList{"Player1 - Hunter", "Player2 - Big", "Rules - Classic"}));
    w.selectEntry(frm, "Player1 - Hunter");
    EXPECT_EQ(in<QLabel>(frm, "LblDesc0")->text(), "First attack after");
    auto* values = in<QComboBox>(frm, "CmbValue0");
    ASSERT_EQ(values->count(), 3);
    EXPECT_EQ(values->itemText(2), "10 minutes");
    EXPECT_EQ(values->currentIndex(), 0);
    EXPECT_TRUE(in<QPushButton>(frm, "CmdInfo0")->isVisible());
    EXPECT_FALSE(in<QPushButton>(frm, "CmdInfo1")->isVisible());

    values->setFocus();
    QTest::keyClick(values, Qt::Key_Down);
    QTest::keyClick(values, Qt::Key_Down);
    EXPECT_EQ(values->currentIndex(), 2);
    EXPECT_TRUE(box->isChecked()); // the pick ticks the player's box

    QTest::mouseClick(in<QPushButton>(frm, "CmdClose"), Qt::LeftButton);
    EXPECT_FALSE(frm->isVisible());
    auto* apply = w.find<QPushButton>("CmdApply");
    ASSERT_TRUE(apply->isEnabled());
    QTest::mouseClick(apply, Qt::LeftButton);
    EXPECT_NE(w.skirmish("player1.slo").find("\r\nattackDelay = 600; /*%!"), std::string::npos);
    // Player 2 was never ticked: the author's value stays.
    EXPECT_NE(w.skirmish("player2.slo").find("\r\nvalue0 = 0; /*%!"), std::string::npos);

    // Cleared by the user, the next install keeps the author's value again.
    QTest::mouseClick(box, Qt::LeftButton);
    EXPECT_FALSE(w.launcher->content.scripts.players[1].enabled);
    QTest::mouseClick(apply, Qt::LeftButton);
    EXPECT_NE(w.skirmish("player1.slo").find("\r\nattackDelay = 300; /*%!"), std::string::npos);

    // A choice changed while the window is open updates its list.
    w.customizing();
    w.selectEntry(frm, "Rules - Classic");
    auto* player1 = w.find<QComboBox>("ComboAI1");
    player1->setFocus();
    QTest::keyClick(player1, Qt::Key_Home);
    EXPECT_EQ(player1->currentText(), "<don't change>");
    EXPECT_EQ(texts(list), (QStringList{"Player2 - Big", "Rules - Classic"}));
    EXPECT_EQ(list->currentItem()->text(), "Rules - Classic");
    EXPECT_FALSE(box->isEnabled());

    // Another AI put into the slot behind the window's back (a configuration loaded): a
    // pick is not written into that AI's script; the window follows the slot instead.
    w.selectEntry(frm, "Player2 - Big");
    content::ContentState& state = w.launcher->content;
    ASSERT_TRUE(state.choices.selectAI(2, "Hunter"));
    content::RefreshAIProcessing(state, kv::contentEnv(*w.launcher), 2);
    auto* stale = in<QComboBox>(frm, "CmbValue0");
    stale->setFocus();
    QTest::keyClick(stale, Qt::Key_Down);
    EXPECT_FALSE(state.scripts.players[2].enabled);
    QCoreApplication::processEvents();
    EXPECT_EQ(list->currentItem()->text(), "Player2 - Hunter");
    EXPECT_EQ(in<QLabel>(frm, "LblDesc0")->text(), "First attack after");
    EXPECT_TRUE(w.ui.messages().empty());
}

} // namespace
} // namespace kv::test
