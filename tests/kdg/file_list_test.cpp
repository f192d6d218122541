#include "kdg/archive_reader.h"
#include "kdg/file_list.h"
#include "tests/support/scripted_ui.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace kv::kdg {
namespace {

using Texts = std::vector<std::string>;

TEST(KdgFileList, WritesTheListBesideTheNoticesAndLeavesOutEmptySlots) {
    KdgArchiveInfo info;
    info.FileName = "My Mod.kdg";
    info.InternalId = "77";
    info.InternalName = "mymod";
    info.Sections = {"Texts.krf", "$ABC6.krf"};
    info.Loaded = true;
    info.Entries.resize(3);
    info.Entries[0].Name = "Readme.txt";
    info.Entries[0].Section = "Texts.krf";
    info.Entries[1].Name = "$E7";
    info.Entries[1].IsEmpty = true;
    info.Entries[2].Name = "Game.map";
    info.Entries[2].Section = "$ABC6.krf";
    test::TempFolder dir;
    test::ScriptedUi ui;
    EXPECT_TRUE(SaveFileList("C:\\Game\\My Mod.kdg", dir.path(), info, ui));
    EXPECT_EQ(ui.messageTexts(), (Texts{"True", dir.path() + "My Mod.kdg"}));
    EXPECT_EQ(
        dir.read("My Mod.txt"),
        "File name:\t\tMy Mod.kdg\r\nInternal ID:\t\t77\r\nInternal name:\t\tmymod\r\n\r\n\r\n"
        "Number of KRFs:\t\t2\r\n\r\n\r\nTexts.krf\r\n$ABC6.krf\r\n\r\n\r\n"
        "Total Files in KDG:\t3\r\n\r\n\r\nReadme.txt\t\t(Texts.krf)\r\n"
        "Game.map\t\t($ABC6.krf)\r\n");
    // The list is named after the archive without its last extension.
    EXPECT_EQ(fileListName(" v1.2.kvw ") + fileListName("NoDot"), "v1.2.txtNoDot.txt");

    // Refusals write nothing: blank paths say nothing, the others say how far they got.
    const struct {
        std::string archive, folder, fileName;
        bool loaded;
        Texts notices;
    } refusals[] = {
        {"  ", dir.path(), "x.kdg", true, {}},
        {"a.kdg", " ", "x.kdg", true, {}},
        {"a.kdg", dir.path(), "x.kdg", false, {"False"}},
        {"a.kdg", dir.path(), "", true, {"True", dir.path()}},
    };
    for (const auto& r : refusals) {
        test::ScriptedUi quiet;
        info.FileName = r.fileName;
        info.Loaded = r.loaded;
        EXPECT_FALSE(SaveFileList(r.archive, r.folder, info, quiet)) << r.archive << r.folder;
        EXPECT_EQ(quiet.messageTexts(), r.notices) << r.archive << r.folder;
    }
    // A folder that is not there: the error box, no file.
    test::ScriptedUi failing;
    info.FileName = "x.kdg";
    EXPECT_FALSE(SaveFileList("a.kdg", dir / "missing/", info, failing));
    ASSERT_EQ(failing.messages().size(), 3u);
    EXPECT_EQ(failing.messages()[2].icon, Icon::Critical);
    EXPECT_NE(failing.messages()[2].text.find("Error in: SaveFileList()"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir / "x.txt"));
}

} // namespace
} // namespace kv::kdg
