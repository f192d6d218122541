#include "ui/content/ai_page.h"
#include "ui/content/mods_page.h"

#include "content/catalogue_scan.h"
#include "tests/content/content_world.h"
#include "tests/support/qt_application.h"

#include <QAction>
#include <QComboBox>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <gtest/gtest.h>

namespace kv::ui {
namespace {

using test::ContentWorld;

TEST(ModsPage, TickingAnEntryRenamesTheArchiveAndTheListFollows) {
    test::application();
    ContentWorld w;
    w.writeGame("Tanks.kvw", "t");
    w.writeGame("Maps.kdg", "m");
    ModsPage page(w.state, [&w] { return w.env(); });
    EXPECT_EQ(page.findChild<QPushButton*>("CmdDeleteKDG")->text(), "No KDG's selected");
    page.refresh();
    QListWidget* list = page.findChild<QListWidget*>("List1");
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(0)->text(), "Maps");
    EXPECT_EQ(list->item(1)->checkState(), Qt::Unchecked);

    list->item(1)->setCheckState(Qt::Checked);
    EXPECT_TRUE(w.gameHas("Tanks.kdg"));
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(1)->checkState(), Qt::Checked);
    EXPECT_TRUE(list->isEnabled());

    list->setCurrentRow(0);
    EXPECT_EQ(page.findChild<QPushButton*>("CmdDeleteKDG")->text(), "Delete 'Maps'");

    // Entries whose features come later are there but disabled.
    ASSERT_TRUE(page.contextMenu()->findChild<QAction*>("KDG_EXTRACT"));
    QStringList texts;
    for (QAction* a : page.contextMenu()->actions())
        texts << a->text() + (a->isEnabled() ? "" : " (off)");
    EXPECT_EQ(texts.join("|").toStdString(),
              "Show Description|Show KDG Info|Show Map Info|Show Map Previews "
              "(off)|Compatibility|Apply Ini Config (off)|Extract to...|Save List of "
              "Files...|Delete|Add Project Directory... (off)");
    QStringList mods;
    for (QAction* a : page.modsMenu()->actions())
        mods << a->text();
    EXPECT_EQ(mods.join("|").toStdString(), "Disable all MODs|Disable unsafe MODs (Compatibility)");
}

TEST(AiPage, ChoicesReachTheStateWithToolTipsAndTheWarningShowsOnce) {
    test::application();
    ContentWorld w;
    w.addAi("Alpha");
    worldgen::writeRulesSet(w.paths.launcherFolder, "Hard", "hard");
    w.scan();
    int warned = 0;
    AiPage page(w.state, [&w] { return w.env(); });
    page.setOverwriteWarnedFlag(&warned);
    page.show();
    EXPECT_EQ(warned, -1);
    EXPECT_EQ(w.ui.messageTexts(),
              std::vector<std::string>{"After you press 'Start Korvane' button, all files in "
                                       "'skirmish' directory will be overwritten!"});
    page.hide();
    page.show();
    EXPECT_EQ(w.ui.messages().size(), 1u);

    int changed = -1;
    QObject::connect(&page, &AiPage::playerChoiceChanged, [&changed](int p) { changed = p; });
    QComboBox* p4 = page.findChild<QComboBox*>("ComboAI4");
    ASSERT_EQ(p4->count(), 3);
    p4->activated(1);
    EXPECT_EQ(changed, 4);
    EXPECT_EQ(w.state.choices.choice(4), "Alpha");
    EXPECT_EQ(w.state.choices.remembered[4], "Alpha");
    EXPECT_EQ(p4->toolTip(), "Player 4: Alpha");
    page.rulesList()->activated(1);
    EXPECT_EQ(w.state.choices.rulesChoice(), "Hard");

    // A rescan done elsewhere shows on reload, the choice kept.
    w.addAi("Beta");
    w.scan();
    page.reload();
    EXPECT_EQ(p4->count(), 4);
    EXPECT_EQ(p4->currentText(), "Alpha");
}

} // namespace
} // namespace kv::ui
