// The MODs and AI manager on the demo world: what it shows of the library and the
// deletions it makes after its questions.
#include "launcher/content_wiring.h"
#include "platform/files.h"
#include "tests/main_window/demo_window.h"
#include "tests/support/trash_home.h"
#include "tools/worldgen/content_files.h"
#include "ui/content/frm_mods.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>

namespace kv::test {
namespace {

struct ManagerWorld : DemoWindow {
    ManagerWorld() {
        start();
        ui.clear();
        DemoWindow::find<QPushButton>("CmdManager")->click();
        manager = window->findChild<ui::FrmMODs*>(QStringLiteral("FrmMODs"));
    }
    template <typename T> T* find(const char* name) const {
        T* w = manager->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QTreeWidgetItem* aiRow(const char* name) const {
        const auto items =
            find<QTreeWidget>("ListAI")->findItems(QString::fromLatin1(name), Qt::MatchExactly);
        return items.isEmpty() ? nullptr : items[0];
    }
    QString label(const char* name) const { return find<QLabel>(name)->text(); }

    ui::FrmMODs* manager = nullptr;
};

TEST(FrmMODs, ShowsTheLibraryWithItsDetailsAndLinks) {
    ManagerWorld w;
    ASSERT_NE(w.manager, nullptr);
    EXPECT_TRUE(w.manager->isVisible());
    auto* ais = w.find<QTreeWidget>("ListAI");
    EXPECT_EQ(ais->topLevelItemCount(), int(w.launcher->content.ais.records.size()));
    QTreeWidgetItem* hunter = w.aiRow("Hunter");
    ASSERT_NE(hunter, nullptr);
    EXPECT_EQ(hunter->text(1), "Yes");
    ais->setCurrentItem(hunter);
    EXPECT_EQ(w.label("LblAuthor"), "Anna Keller");
    EXPECT_EQ(w.label("LblMaxInstances"), "4");
    EXPECT_EQ(w.label("LblConfiguration"), "Yes");
    const auto& fields = w.launcher->content.ais.find("Hunter")->customizing.fields;
    ASSERT_FALSE(fields.empty());
    EXPECT_EQ(w.label("LblCustomizing"), QStringLiteral("Values: %1").arg(fields.size()));
    EXPECT_TRUE(w.find<QPushButton>("CmdDeleteAIConfig")->isEnabled());
    EXPECT_TRUE(w.find<QLabel>("LblEmail")->isVisibleTo(w.manager));
    EXPECT_TRUE(w.find<QLabel>("LblHomepage")->isVisibleTo(w.manager));

    w.ui.answerMessage(Answer::No);
    emit w.find<QLabel>("LblEmail")->linkActivated(QStringLiteral("x"));
    w.ui.answerMessage(Answer::Yes);
    w.ui.answerMessage(Answer::Yes);
    emit w.find<QLabel>("LblEmail")->linkActivated(QStringLiteral("x"));
    emit w.find<QLabel>("LblHomepage")->linkActivated(QStringLiteral("x"));
    EXPECT_EQ(w.ui.messageTexts()[0], "Open E-mail client to send an e-mail to anna@example.org "
                                      "?\r\nmailto:anna@example.org");
    EXPECT_EQ(w.ui.messageTexts()[2],
              "Go to Anna Keller's Homepage?\r\nhttps://anna.example.org/hunter/");
    EXPECT_EQ(w.opened, (std::vector<std::string>{"mailto:anna@example.org",
                                                  "https://anna.example.org/hunter/"}));

    // An AI without a description file: unknown author, no links, nothing to delete.
    w.tmp.write("demo/launcher/Mods/SkirmishAI/Bare.kvai", worldgen::sampleAiFile("Bare", 600));
    w.find<QPushButton>("CmdRefreshAI")->click();
    QTreeWidgetItem* bare = w.aiRow("Bare");
    ASSERT_NE(bare, nullptr);
    ais->setCurrentItem(bare);
    EXPECT_EQ(bare->text(1), "No");
    EXPECT_EQ(w.label("LblAuthor"), "Unknown");
    EXPECT_EQ(w.label("LblMaxInstances"), "Unknown");
    EXPECT_EQ(w.label("LblConfiguration"), "No");
    EXPECT_EQ(w.label("LblCustomizing"), "N/A");
    EXPECT_FALSE(w.find<QPushButton>("CmdDeleteAIConfig")->isEnabled());
    EXPECT_FALSE(w.find<QLabel>("LblEmail")->isVisibleTo(w.manager));

    auto* mods = w.find<QTreeWidget>("ListMODs");
    ASSERT_GT(mods->topLevelItemCount(), 0);
    const auto& entries = w.launcher->content.mods.entries;
    ASSERT_EQ(mods->topLevelItemCount(), int(entries.size()));
    std::size_t keyLines = 0;
    for (int i = 0; i < mods->topLevelItemCount(); ++i) {
        const auto& e = entries[std::size_t(i)];
        EXPECT_EQ(mods->topLevelItem(i)->text(1), e.descriptionLoaded ? "Yes" : "No");
        mods->setCurrentItem(mods->topLevelItem(i));
        EXPECT_EQ(w.label("LblModAuthor").toStdString(),
                  e.authorName.empty() ? "Unknown" : e.authorName);
        EXPECT_EQ(w.find<QPushButton>("CmdDeleteMODConfig")->isEnabled(), e.descriptionLoaded);
        EXPECT_EQ(w.find<QPlainTextEdit>("TxtModKeyLines")->toPlainText().count('\n') + 1,
                  std::max<qsizetype>(1, qsizetype(e.keyLines.size())));
        keyLines += e.keyLines.size();
    }
    EXPECT_GT(keyLines, 0u); // the demo's MODs have description files
    EXPECT_GT(w.find<QListWidget>("LstRules")->count(), 0);
}

// Each deletion through the real buttons and questions: the chosen item, and nothing
// else, ends in the trash.
TEST(FrmMODs, EachDeletionTrashesTheChosenItemAndNothingElse) {
    ManagerWorld w;
    ASSERT_NE(w.manager, nullptr);
    const std::string folder = w.world.launcherFolder + "Mods/SkirmishAI/Fortress";
    ASSERT_TRUE(platform::folderExists(folder));
    auto* ais = w.find<QTreeWidget>("ListAI");
    ais->setCurrentItem(w.aiRow("Fortress"));
    w.ui.answerMessage(Answer::No);
    w.find<QPushButton>("CmdDeleteAI")->click();
    EXPECT_NE(w.aiRow("Fortress"), nullptr);
    w.ui.answerMessage(Answer::Yes);
    w.find<QPushButton>("CmdDeleteAI")->click();
    EXPECT_EQ(w.ui.messageTexts(),
              (std::vector<std::string>{"Are you sure you want to delete 'Fortress' ?",
                                        "Are you sure you want to delete 'Fortress' ?"}));
    EXPECT_EQ(w.aiRow("Fortress"), nullptr);
    EXPECT_FALSE(platform::pathExists(folder));
    EXPECT_TRUE(platform::fileExists(trashed("Fortress.kvai")));
    EXPECT_EQ(w.launcher->content.ais.find("Fortress"), nullptr);

    // A rules set: its folder goes whole.
    auto* rules = w.find<QListWidget>("LstRules");
    ASSERT_GT(rules->count(), 0);
    const std::string set = rules->item(0)->text().toStdString();
    rules->setCurrentRow(0);
    w.ui.answerMessage(Answer::Yes);
    w.find<QPushButton>("CmdDeleteRules")->click();
    EXPECT_FALSE(platform::pathExists(w.world.launcherFolder + "Mods/Rules/" + set));
    EXPECT_TRUE(platform::folderExists(trashed(set)));

    // A MOD: a file named only ".kdg" has its own row, so rows and entries stay one list.
    ASSERT_TRUE(platform::writeFileAtomic(w.world.gameFolder + ".kdg", "K"));
    w.find<QPushButton>("CmdRefreshMODs")->click();
    auto* mods = w.find<QTreeWidget>("ListMODs");
    const auto& entries = w.launcher->content.mods.entries;
    ASSERT_EQ(mods->topLevelItemCount(), int(entries.size()));
    const std::vector<content::ModEntry> before = entries;
    const int last = mods->topLevelItemCount() - 1;
    const std::string chosen = mods->topLevelItem(last)->text(0).toStdString();
    mods->setCurrentItem(mods->topLevelItem(last));
    w.ui.answerMessage(Answer::Yes);
    w.find<QPushButton>("CmdDeleteMOD")->click();
    for (const content::ModEntry& e : before) {
        EXPECT_EQ(platform::fileExists(w.world.gameFolder + e.fileName), e.name != chosen);
        EXPECT_EQ(platform::fileExists(trashed(e.fileName)), e.name == chosen) << e.fileName;
    }
}

} // namespace
} // namespace kv::test
