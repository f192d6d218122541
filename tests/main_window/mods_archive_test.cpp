#include "kdg/archive_reader.h"
#include "kdg/file_list.h"
#include "launcher/content_wiring.h"
#include "platform/files.h"
#include "platform/text.h"
#include "tests/main_window/demo_window.h"
#include "tools/worldgen/map_demo.h"
#include "ui/content/archive_file_list_view.h"
#include "ui/content/mod_archive_view.h"
#include "ui/content/mods_page.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QStackedWidget>
#include <QTextEdit>
#include <gmock/gmock.h>

namespace kv::test {

namespace {

// The main window on the demo world, with the MODs page at hand.
struct ModsWindow : DemoWindow {
    ModsWindow() {
        start();
        page = window->findChild<ui::ModsPage*>(QStringLiteral("MODs"));
        EXPECT_NE(page, nullptr);
        ui.clear();
    }
    void select(const char* mod) {
        const auto items = page->list()->findItems(QString::fromLatin1(mod), Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1) << mod;
        page->list()->setCurrentItem(items.front());
    }
    QAction* entry(const char* name) const {
        auto* a = page->contextMenu()->findChild<QAction*>(QString::fromLatin1(name));
        EXPECT_NE(a, nullptr) << name;
        return a;
    }
    template <typename T> T* find(const char* name) const {
        T* w = page->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QStringList krfs() const {
        QStringList out;
        auto* list = find<QListWidget>("ListKRFs");
        for (int i = 0; i < list->count(); ++i)
            out << list->item(i)->text();
        return out;
    }

    ui::ModsPage* page = nullptr;
};

} // namespace

TEST(ModsArchive, SelectingTheMapModShowsItsArchiveAndMapPreview) {
    ModsWindow w;
    w.select("Islands");
    EXPECT_TRUE(w.ui.messages().empty());
    EXPECT_EQ(w.find<QLineEdit>("TxtInternalId")->text(), "102");
    EXPECT_EQ(w.find<QLineEdit>("TxtInternalName")->text(), "Islands");
    const QStringList krfs = w.krfs();
    ASSERT_EQ(krfs.size(), 4);
    EXPECT_EQ((QStringList{krfs[0], krfs[1], krfs[3]}),
              (QStringList{"IslandsMap.krf", "Texts.krf", "Sounds.krf"}));
    EXPECT_TRUE(krfs[2].startsWith('$') && krfs[2].endsWith(".krf")) << krfs[2].toStdString();

    // The preview is the archive's "Game.map", 96 x 64, small enough to stay unscaled.
    auto* preview = w.find<QLabel>("MapPreview");
    EXPECT_EQ(preview->pixmap().size(), QSize(96, 64));
    EXPECT_EQ(w.find<QLabel>("LblMapSize")->text(), "96 x 64");
    QAction* copy = preview->findChild<QAction*>(QStringLiteral("MNU_SAVE_MAP_PREVIEW"));
    ASSERT_NE(copy, nullptr);
    copy->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), QSize(96, 64));

    // Another MOD replaces everything; its own map is the first one in its archive.
    w.select("Tanks");
    EXPECT_EQ(w.find<QLineEdit>("TxtInternalName")->text(), "Tanks");
    EXPECT_EQ(w.krfs().size(), 3);
    EXPECT_EQ(w.find<QLabel>("LblMapSize")->text(), "48 x 32");

    // With previews switched off the preview stays empty.
    w.launcher->mapPreview = false;
    w.select("Islands");
    EXPECT_TRUE(preview->pixmap().isNull());
    EXPECT_TRUE(w.find<QLabel>("LblMapSize")->text().isEmpty());
    EXPECT_TRUE(w.ui.messages().empty());
}

TEST(ModsArchive, KrfDocumentOpensThroughTheLauncherOnlyWhenItExists) {
    ModsWindow w;
    w.select("Islands");
    auto* list = w.find<QListWidget>("ListKRFs");
    emit list->itemDoubleClicked(list->item(1));
    EXPECT_TRUE(w.opened.empty());
    ASSERT_TRUE(platform::createFolderTree(w.world.launcherFolder + "Mods/KRFs"));
    ASSERT_TRUE(platform::writeFileAtomic(w.world.launcherFolder + "Mods/KRFs/Texts.krf", "x"));
    emit list->itemDoubleClicked(list->item(1));
    ASSERT_EQ(w.opened.size(), 1u);
    EXPECT_THAT(w.opened[0], ::testing::EndsWith("Texts.krf"));
}

TEST(ModsArchive, UnreadableArchiveIsReportedAndClearsThePanel) {
    ModsWindow w;
    w.select("Islands");
    ASSERT_TRUE(platform::writeFileAtomic(w.world.gameFolder + "Tanks.kdg", "not an archive"));
    w.select("Tanks");
    EXPECT_THAT(w.ui.messageTexts(), ::testing::ElementsAre("List1_Click() - Error loading kdg."));
    EXPECT_EQ(w.ui.messages()[0].icon, Icon::Exclamation);
    EXPECT_TRUE(w.find<QLineEdit>("TxtInternalName")->text().isEmpty());
    EXPECT_TRUE(w.krfs().isEmpty());
    EXPECT_EQ(w.find<QLabel>("MapPreview")->text(), "No maps found");
}

TEST(ModsArchive, SaveListOfFilesAndExtractGoToTheChosenFolder) {
    ModsWindow w;
    w.select("Islands");
    ASSERT_TRUE(w.entry("KDG_SaveListOfFiles")->isEnabled());
    const std::string folder = w.tmp / "lists/";
    ASSERT_TRUE(platform::createFolderTree(folder));
    w.ui.answerFolder(folder);
    w.entry("KDG_SaveListOfFiles")->trigger();
    EXPECT_THAT(w.ui.messageTexts(), ::testing::ElementsAre("True", folder + "Islands.kdg"));

    std::string written;
    ASSERT_TRUE(platform::readFile(folder + "Islands.txt", written));
    const auto lines = platform::splitLines(written);
    EXPECT_THAT(lines, ::testing::Contains("Game.map\t\t(IslandsMap.krf)"));
    // Exactly what the listing of the archive read on its own gives.
    kdg::KdgArchiveInfo info;
    ASSERT_TRUE(kdg::LoadArchiveInfo(w.world.gameFolder + "Islands.kdg", info,
                                     w.launcher->content.nameTables));
    EXPECT_EQ(lines, kdg::fileListLines(info));
    EXPECT_EQ(written.find('\n'), written.find("\r\n") + 1);

    // Extraction puts the map files under their group folder, byte for byte.
    const std::string out = w.tmp / "out/";
    ASSERT_TRUE(platform::createFolderTree(out));
    w.ui.clear();
    w.ui.answerFolder(out);
    w.ui.answerMessage(Answer::Yes);
    w.entry("KDG_EXTRACT")->trigger();
    std::string map;
    ASSERT_TRUE(platform::readFile(out + "multiplay/maps/Game.map", map));
    EXPECT_EQ(map, worldgen::demoBinaryMap()[0].contents);
    // Where the files went is said, and "Yes" opens that folder.
    EXPECT_THAT(w.ui.messageTexts(),
                ::testing::ElementsAre(
                    ::testing::EndsWith(" files extracted to:\n" + out + "\n\nOpen this folder?")));
    EXPECT_EQ(w.opened, std::vector<std::string>{out});

    // The page lists the extracted archive's stored files, each keyed by its row.
    ui::ArchiveFileListView* files = w.page->archiveFiles();
    ASSERT_TRUE(files->isVisibleTo(w.page));
    int stored = 0;
    for (std::size_t row = 0; row < info.Entries.size(); ++row) {
        const QString key = QStringLiteral("item%1").arg(row);
        QListWidgetItem* item = files->itemWithKey(key);
        if (info.Entries[row].IsEmpty) {
            EXPECT_EQ(item, nullptr) << row;
            continue;
        }
        ++stored;
        ASSERT_NE(item, nullptr) << row;
        EXPECT_EQ(item->text().toStdString(), info.Entries[row].Name);
        EXPECT_EQ(files->row(item), stored - 1);
    }
    EXPECT_EQ(files->count(), stored);
    EXPECT_FALSE(files->findItems(QStringLiteral("Game.map"), Qt::MatchExactly).isEmpty());
    // A cancelled extraction leaves the list of the last one.
    w.ui.answerFolder(std::nullopt);
    w.entry("KDG_EXTRACT")->trigger();
    EXPECT_EQ(files->count(), stored);
    EXPECT_TRUE(w.ui.allAnswersUsed());
}

TEST(ModsArchive, LowerPanelEntriesKeepExactlyOneCheckMark) {
    ModsWindow w;
    auto* pages = w.page->archiveView()->findChild<QStackedWidget*>();
    ASSERT_NE(pages, nullptr);
    const char* entries[] = {"KDG_Show_Desc", "KDG_Show_Info", "KDG_MAP_INFO"};
    const char* panels[] = {"ModDescription", "ModCompilationInfo", "MapInfo"};
    EXPECT_EQ(pages->currentWidget()->objectName(), "ModCompilationInfo");
    for (int chosen : {2, 0, 1}) {
        w.entry(entries[chosen])->trigger();
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(w.entry(entries[i])->isChecked(), i == chosen) << entries[i];
        EXPECT_EQ(pages->currentWidget()->objectName(), panels[chosen]);
    }
}

} // namespace kv::test
