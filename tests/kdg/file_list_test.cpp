#include "kdg/archive_reader.h"
#include "kdg/file_list.h"
#include "tests/support/scripted_ui.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

namespace kv::kdg {
namespace {

KdgArchiveInfo smallArchive() {
    KdgArchiveInfo info;
    info.FileName = "My Mod.kdg";
    info.InternalId = "77";
    info.InternalName = "mymod";
    info.Sections = {"Texts.krf", "$ABC6.krf"};
    info.Entries.resize(3);
    info.Entries[0].Name = "Readme.txt";
    info.Entries[0].Section = "Texts.krf";
    info.Entries[1].IsEmpty = true;
    info.Entries[1].Name = "$E7";
    info.Entries[2].Name = "Game.map";
    info.Entries[2].Section = "$ABC6.krf";
    info.Loaded = true;
    return info;
}

const char kSmallList[] = "File name:\t\tMy Mod.kdg\r\n"
                          "Internal ID:\t\t77\r\n"
                          "Internal name:\t\tmymod\r\n"
                          "\r\n\r\n"
                          "Number of KRFs:\t\t2\r\n"
                          "\r\n\r\n"
                          "Texts.krf\r\n"
                          "$ABC6.krf\r\n"
                          "\r\n\r\n"
                          "Total Files in KDG:\t3\r\n"
                          "\r\n\r\n"
                          "Readme.txt\t\t(Texts.krf)\r\n"
                          "Game.map\t\t($ABC6.krf)\r\n";

TEST(KdgFileList, WritesTheListBesideTheNoticesAndCountsEmptySlots) {
    test::TempFolder dir;
    test::ScriptedUi ui;
    const KdgArchiveInfo info = smallArchive();
    EXPECT_TRUE(SaveFileList("C:\\Game\\My Mod.kdg", dir.path(), info, ui));
    EXPECT_EQ(ui.messageTexts(), (std::vector<std::string>{"True", dir.path() + "My Mod.kdg"}));
    EXPECT_EQ(dir.read("My Mod.txt"), kSmallList);
}

TEST(KdgFileList, ListNameDropsOnlyTheLastExtension) {
    EXPECT_EQ(fileListName("My Mod.kdg"), "My Mod.txt");
    EXPECT_EQ(fileListName(" v1.2.kvw "), "v1.2.txt");
    EXPECT_EQ(fileListName("NoDot"), "NoDot.txt");
}

TEST(KdgFileList, RefusesWithoutWriting) {
    test::TempFolder dir;
    KdgArchiveInfo info = smallArchive();
    {
        test::ScriptedUi ui; // blank paths: no notice at all
        EXPECT_FALSE(SaveFileList("  ", dir.path(), info, ui));
        EXPECT_FALSE(SaveFileList("a.kdg", " ", info, ui));
        EXPECT_TRUE(ui.messages().empty());
    }
    {
        test::ScriptedUi ui;
        info.Loaded = false;
        EXPECT_FALSE(SaveFileList("a.kdg", dir.path(), info, ui));
        EXPECT_EQ(ui.messageTexts(), std::vector<std::string>{"False"});
    }
    {
        test::ScriptedUi ui;
        info.Loaded = true;
        info.FileName = "";
        EXPECT_FALSE(SaveFileList("a.kdg", dir.path(), info, ui));
        EXPECT_EQ(ui.messageTexts(), (std::vector<std::string>{"True", dir.path()}));
    }
    {
        test::ScriptedUi ui; // a folder that is not there: the error box, no file
        info.FileName = "x.kdg";
        EXPECT_FALSE(SaveFileList("a.kdg", dir / "missing/", info, ui));
        ASSERT_EQ(ui.messages().size(), 3u);
        EXPECT_EQ(ui.messages()[2].icon, Icon::Critical);
        EXPECT_NE(ui.messages()[2].text.find("Error in: SaveFileList()"), std::string::npos);
    }
    EXPECT_TRUE(dir.read("My Mod.txt").empty());
}

} // namespace
} // namespace kv::kdg
