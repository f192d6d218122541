// The customizing window on the demo world, driven through its widgets: open it from the
// AI page, pick a value, and "Apply" puts it into the installed script.
#include "content/script_slots.h"
#include "launcher/content_wiring.h"
#include "platform/files.h"
#include "platform/text.h"
#include "tests/main_window/demo_window.h"
#include "tools/worldgen/content_files.h"
#include "tools/worldgen/script_samples.h"
#include "ui/content/script_custom_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <initializer_list>

namespace kv::test {
namespace {

struct CustomizingWindow : DemoWindow {
    // `settings` lines replace the demo's settings file lines with the same key.
    explicit CustomizingWindow(std::initializer_list<std::pair<std::string, std::string>> settings)
        : DemoWindow(true) {
        // An AI with 200 fields, to see the rows scroll.
        const std::string big = worldgen::largeCustomizableScript(200, 40000);
        worldgen::writeContentFile(
            world.launcherFolder + "Mods/SkirmishAI/Big.kvai",
            worldgen::aiFileText("Big", platform::splitLines(big), {"", "}"}));
        EXPECT_TRUE(demo::setDemoSettings(world, {settings.begin(), settings.end()}));
        start();
        window->tabs()->setCurrentIndex(
            window->tabs()->indexOf(window->findChild<QWidget*>(QStringLiteral("AIPage"))));
        ui.clear();
    }
    template <typename T> T* find(QWidget* in, const QString& name) const {
        T* w = in->findChild<T*>(name);
        EXPECT_NE(w, nullptr) << name.toStdString();
        return w;
    }
    template <typename T> T* find(const QString& name) const { return find<T>(window.get(), name); }
    ui::FrmScriptCustom* open() {
        QTest::mouseClick(find<QPushButton>("CmdProcess"), Qt::LeftButton);
        auto* frm = find<ui::FrmScriptCustom>("FrmScriptCustom");
        EXPECT_TRUE(frm && frm->isVisible());
        return frm;
    }
    void selectEntry(ui::FrmScriptCustom* frm, const QString& text) {
        auto* list = find<QListWidget>(frm, "ListScripts");
        const auto items = list->findItems(text, Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1) << text.toStdString();
        list->setCurrentItem(items.front());
    }
    std::string skirmish(const std::string& name) const {
        std::string s;
        platform::readFile(world.gameFolder + "multiplay/skirmish/" + name, s);
        return s;
    }
};

TEST(ScriptCustomWindow, APickedValueReachesTheGameThroughApply) {
    CustomizingWindow w({{"AI1", "Hunter"}, {"AI2", "Big"}, {"RulesFile", "Classic"}});
    auto* box = w.find<QCheckBox>("ChkProc1");
    EXPECT_TRUE(box->isEnabled());
    EXPECT_FALSE(box->isChecked());
    EXPECT_FALSE(w.find<QCheckBox>("ChkProc0")->isEnabled()); // "<don't change>"
    EXPECT_TRUE(w.find<QCheckBox>("ChkRulesProc")->isEnabled());

    ui::FrmScriptCustom* frm = w.open();
    auto* list = w.find<QListWidget>(frm, "ListScripts");
    QStringList entries;
    for (int i = 0; i < list->count(); ++i)
        entries << list->item(i)->text();
    EXPECT_EQ(entries, (QStringList{"Player1 - Hunter", "Player2 - Big", "Rules - Classic"}));

    w.selectEntry(frm, "Player1 - Hunter");
    EXPECT_EQ(w.find<QLabel>(frm, "LblDesc0")->text(), "First attack after");
    auto* values = w.find<QComboBox>(frm, "CmbValue0");
    ASSERT_EQ(values->count(), 3);
    EXPECT_EQ(values->itemText(2), "10 minutes");
    EXPECT_EQ(values->currentIndex(), 0);
    EXPECT_TRUE(w.find<QPushButton>(frm, "CmdInfo0")->isVisible());
    EXPECT_FALSE(w.find<QPushButton>(frm, "CmdInfo1")->isVisible());

    values->setFocus();
    QTest::keyClick(values, Qt::Key_Down);
    QTest::keyClick(values, Qt::Key_Down);
    EXPECT_EQ(values->currentIndex(), 2);
    EXPECT_TRUE(box->isChecked()); // the pick ticks the player's box

    QTest::mouseClick(w.find<QPushButton>(frm, "CmdInfo0"), Qt::LeftButton);
    auto* info = w.find<QPlainTextEdit>(frm, "TxtMoreInfo");
    EXPECT_TRUE(info->isVisible());
    EXPECT_EQ(info->toPlainText(), "How long the AI builds up before its first attack.\nShorter "
                                   "waits make a harder opponent.");

    QTest::mouseClick(w.find<QPushButton>(frm, "CmdClose"), Qt::LeftButton);
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
    w.open();
    w.selectEntry(frm, "Rules - Classic");
    auto* player1 = w.find<QComboBox>("ComboAI1");
    player1->setFocus();
    QTest::keyClick(player1, Qt::Key_Home);
    EXPECT_EQ(player1->currentText(), "<don't change>");
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(0)->text(), "Player2 - Big");
    EXPECT_EQ(list->currentItem()->text(), "Rules - Classic");
    EXPECT_FALSE(box->isEnabled());

    // Another AI put into the slot behind the window's back (a configuration loaded): a
    // pick is not written into that AI's script; the window follows the slot instead.
    w.selectEntry(frm, "Player2 - Big");
    content::ContentState& state = w.launcher->content;
    ASSERT_TRUE(state.choices.selectAI(2, "Hunter"));
    content::RefreshAIProcessing(state, kv::contentEnv(*w.launcher), 2);
    auto* stale = w.find<QComboBox>(frm, "CmbValue0");
    stale->setFocus();
    QTest::keyClick(stale, Qt::Key_Down);
    EXPECT_FALSE(state.scripts.players[2].enabled);
    QCoreApplication::processEvents();
    EXPECT_EQ(list->currentItem()->text(), "Player2 - Hunter");
    EXPECT_EQ(w.find<QLabel>(frm, "LblDesc0")->text(), "First attack after");
    EXPECT_TRUE(w.ui.messages().empty());
}

TEST(ScriptCustomWindow, TwoHundredRowsScroll) {
    CustomizingWindow w({{"AI2", "Big"}});
    ui::FrmScriptCustom* frm = w.open();
    w.selectEntry(frm, "Player2 - Big");
    auto* scroll = w.find<QScrollBar>(frm, "ScrValues");
    EXPECT_GT(scroll->maximum(), 150);
    auto* first = w.find<QComboBox>(frm, "CmbValue0");
    auto* row180 = w.find<QComboBox>(frm, "CmbValue180");
    EXPECT_TRUE(first->isVisible());
    EXPECT_FALSE(row180->isVisible());

    scroll->setValue(180);
    EXPECT_FALSE(first->isVisible());
    ASSERT_TRUE(row180->isVisible());
    const int h = ui::FrmScriptCustom::kRowHeight;
    EXPECT_EQ(row180->y(), h / 2);
    EXPECT_EQ(w.find<QComboBox>(frm, "CmbValue181")->y(), h + h / 2);
    row180->setFocus();
    QTest::keyClick(row180, Qt::Key_Down);
    EXPECT_EQ(w.launcher->content.scripts.players[2].data.fields[180].selected, 1);
    EXPECT_TRUE(w.find<QCheckBox>("ChkProc2")->isChecked());
}

// Every tool window opens centred over the launcher and Escape closes it; the map viewer,
// which leaves the launcher minimised, gives it back when it closes.
TEST(ToolWindows, OpenCentredOverTheLauncherAndCloseWithEscape) {
    CustomizingWindow w({{"AI1", "Hunter"}});
    QToolButton* tools = w.find<QToolButton>("TbTools");
    const auto click = [&w](const char* button) {
        return [&w, button] { QTest::mouseClick(w.find<QPushButton>(button), Qt::LeftButton); };
    };
    const auto toolsEntry = [tools](const char* text) {
        return [tools, text] {
            for (QAction* a : tools->menu()->actions())
                if (a->text() == QLatin1String(text))
                    a->trigger();
        };
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
             ui::FrmScriptCustom* frm = w.open();
             w.selectEntry(frm, "Player1 - Hunter");
             QTest::mouseClick(w.find<QPushButton>(frm, "CmdInfo0"), Qt::LeftButton);
         }},
        {"Form1", toolsEntry("VUVozarev (beta)...")},
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

TEST(ScriptCustomWindow, NothingToCustomizeIsSaid) {
    CustomizingWindow w({});
    // The demo's Hunter and Classic carry fields; without them nothing can be customized.
    for (auto& r : w.launcher->content.ais.records)
        r.hasScriptCustomizing = false;
    for (auto& r : w.launcher->content.rules.records)
        r.hasScriptCustomizing = false;
    QTest::mouseClick(w.find<QPushButton>("CmdProcess"), Qt::LeftButton);
    EXPECT_EQ(w.ui.messageTexts(),
              std::vector<std::string>{"There are no scripts supporting this function available."});
    EXPECT_EQ(w.window->findChild<ui::FrmScriptCustom*>(), nullptr);
}

} // namespace
} // namespace kv::test
