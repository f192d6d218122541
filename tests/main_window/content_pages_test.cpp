// The content pages and windows of the main window on the demo world, driven through their
// widgets: the MODs page's archive panel, the MODs and AI manager with its deletions, the
// customizing window, and the tool windows' placement.
#include "content/script_slots.h"
#include "launcher/content_wiring.h"
#include "platform/files.h"
#include "platform/text.h"
#include "tests/main_window/demo_window.h"
#include "tests/support/trash_home.h"
#include "tools/worldgen/content_files.h"
#include "tools/worldgen/script_samples.h"
#include "ui/content/frm_mods.h"
#include "ui/content/mods_page.h"
#include "ui/content/script_custom_window.h"

#include <QTest>
#include <QtWidgets>

namespace kv::test {
namespace {

template <typename T> T* in(const QObject* parent, const char* name) {
    T* w = parent->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

QStringList texts(const QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

struct Pages : DemoWindow {
    // A customizable world also has an AI with 200 fields, to see the rows scroll; its
    // `settings` lines replace the demo's settings lines with the same key.
    explicit Pages(bool customizable = false,
                   std::vector<std::pair<std::string, std::string>> settings = {})
        : DemoWindow(customizable) {
        if (customizable) {
            const std::string big = worldgen::largeCustomizableScript(200, 40000);
            worldgen::writeContentFile(
                world.launcherFolder + "Mods/SkirmishAI/Big.kvai",
                worldgen::aiFileText("Big", platform::splitLines(big), {"", "}"}));
            EXPECT_TRUE(demo::setDemoSettings(world, settings));
        }
        start();
        ui.clear();
    }
    ui::ModsPage* page() const { return find<ui::ModsPage>("MODs"); }
    void select(const char* mod) const {
        const auto items = page()->list()->findItems(QString::fromLatin1(mod), Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1) << mod;
        page()->list()->setCurrentItem(items.front());
    }
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
        auto* list = in<QListWidget>(frm, "ListScripts");
        const auto items = list->findItems(QString::fromLatin1(text), Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1) << text;
        list->setCurrentItem(items.front());
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

    // A KRF's document opens through the launcher, only when it exists.
    auto* list = in<QListWidget>(w.page(), "ListKRFs");
    emit list->itemDoubleClicked(list->item(1));
    EXPECT_TRUE(w.opened.empty());
    w.tmp.write("demo/launcher/Mods/KRFs/Texts.krf", "x");
    emit list->itemDoubleClicked(list->item(1));
    EXPECT_EQ(w.opened, std::vector<std::string>{w.world.launcherFolder + "Mods/KRFs/Texts.krf"});
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

// The details of the chosen AI, from its description file or "Unknown" without one.
TEST(FrmMODs, ShowsTheChosenAisDetailsAndLinks) {
    Pages w;
    ui::FrmMODs* m = w.manager();
    ASSERT_TRUE(m && m->isVisible());
    const auto details = [&](const char* ai) {
        QTreeWidgetItem* item = row(m, "ListAI", ai);
        if (!item)
            return std::string("no row");
        in<QTreeWidget>(m, "ListAI")->setCurrentItem(item);
        QStringList out{item->text(1)};
        for (const char* label : {"LblAuthor", "LblMaxInstances", "LblConfiguration",
                                  "LblCustomizing"})
            out << in<QLabel>(m, label)->text();
        out << (in<QPushButton>(m, "CmdDeleteAIConfig")->isEnabled() ? "deletable" : "-")
            << (in<QLabel>(m, "LblEmail")->isVisibleTo(m) ? "mail" : "-")
            << (in<QLabel>(m, "LblHomepage")->isVisibleTo(m) ? "home" : "-");
        return out.join('|').toStdString();
    };
    const auto fields = w.launcher->content.ais.find("Hunter")->customizing.fields.size();
    EXPECT_EQ(details("Hunter"), "Yes|Anna Keller|4|Yes|Values: " + std::to_string(fields) +
                                     "|deletable|mail|home");
    w.ui.answerMessage(Answer::Yes);
    emit in<QLabel>(m, "LblHomepage")->linkActivated(QStringLiteral("x"));
    EXPECT_EQ(w.opened, std::vector<std::string>{"https://anna.example.org/hunter/"});

    w.tmp.write("demo/launcher/Mods/SkirmishAI/Bare.kvai", worldgen::sampleAiFile("Bare", 600));
    in<QPushButton>(m, "CmdRefreshAI")->click();
    EXPECT_EQ(details("Bare"), "No|Unknown|Unknown|No|N/A|-|-|-");
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

    QTest::mouseClick(in<QPushButton>(frm, "CmdInfo0"), Qt::LeftButton);
    auto* info = in<QPlainTextEdit>(frm, "TxtMoreInfo");
    EXPECT_TRUE(info->isVisible());
    EXPECT_EQ(info->toPlainText(), "How long the AI builds up before its first attack.\nShorter "
                                   "waits make a harder opponent.");

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

TEST(ScriptCustomWindow, TwoHundredRowsScroll) {
    Pages w(true, {{"AI2", "Big"}});
    ui::FrmScriptCustom* frm = w.customizing();
    w.selectEntry(frm, "Player2 - Big");
    auto* scroll = in<QScrollBar>(frm, "ScrValues");
    EXPECT_GT(scroll->maximum(), 150);
    auto* first = in<QComboBox>(frm, "CmbValue0");
    auto* row180 = in<QComboBox>(frm, "CmbValue180");
    EXPECT_TRUE(first->isVisible() && !row180->isVisible());
    scroll->setValue(180);
    EXPECT_FALSE(first->isVisible());
    ASSERT_TRUE(row180->isVisible());
    const int h = ui::FrmScriptCustom::kRowHeight;
    EXPECT_EQ(row180->y(), h / 2);
    EXPECT_EQ(in<QComboBox>(frm, "CmbValue181")->y(), h + h / 2);
    row180->setFocus();
    QTest::keyClick(row180, Qt::Key_Down);
    EXPECT_EQ(w.launcher->content.scripts.players[2].data.fields[180].selected, 1);
    EXPECT_TRUE(w.find<QCheckBox>("ChkProc2")->isChecked());
}

// Every tool window opens centred over the launcher and Escape closes it; the map viewer,
// which leaves the launcher minimised, gives it back when it closes.
TEST(ToolWindows, OpenCentredOverTheLauncherAndCloseWithEscape) {
    Pages w(true, {{"AI1", "Hunter"}});
    const auto click = [&w](const char* button) {
        return [&w, button] { QTest::mouseClick(w.find<QPushButton>(button), Qt::LeftButton); };
    };
    const struct {
        const char* window;
        std::function<void()> open;
    } cases[] = {
        {"FrmMODs", click("CmdManager")},
        {"KVDebug", click("CmdKVDebug")},
        {"FrmGlobalConfigLoad", click("CmdGlobalConfig")}, // modal
        {"FrmScriptCustom", click("CmdProcess")},
        {"FrmMoreInfo",
         [&w] {
             ui::FrmScriptCustom* frm = w.customizing();
             w.selectEntry(frm, "Player1 - Hunter");
             QTest::mouseClick(in<QPushButton>(frm, "CmdInfo0"), Qt::LeftButton);
         }},
        {"Form1",
         [&w] {
             for (QAction* a : w.find<QToolButton>("TbTools")->menu()->actions())
                 if (a->text() == QLatin1String("VUVozarev (beta)..."))
                     a->trigger();
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.window);
        bool checked = false;
        // Runs from the event loop, so that a modal window is checked inside its own loop.
        QTimer::singleShot(0, w.window.get(), [&] {
            checked = true;
            QWidget* tool = nullptr;
            for (QWidget* top : QApplication::topLevelWidgets())
                if (top->objectName() == QLatin1String(c.window) && top->isVisible())
                    tool = top;
            ASSERT_NE(tool, nullptr);
            const QPoint offset = tool->geometry().center() - w.window->geometry().center();
            EXPECT_LE(offset.manhattanLength(), 2) << offset.x() << "," << offset.y();
            QTest::keyClick(tool->focusWidget() ? tool->focusWidget() : tool, Qt::Key_Escape);
            EXPECT_FALSE(tool->isVisible());
        });
        c.open();
        EXPECT_TRUE(QTest::qWaitFor([&] { return checked; }, 5000));
        EXPECT_FALSE(w.window->isMinimized());
    }
}

} // namespace
} // namespace kv::test
