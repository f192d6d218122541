// The Win32 file services, under Wine: the same promises the POSIX twin keeps.
#include "platform/files.h"
#include "tests/win32/win32_test_folder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>

namespace kv::platform {
namespace {

using test::Win32TestFolder;
using Names = std::vector<std::string>;

Names names(const std::vector<DirEntry>& entries) {
    Names out;
    for (const auto& e : entries)
        out.push_back(e.name);
    std::sort(out.begin(), out.end());
    return out;
}

TEST(Win32Files, PathTextsWithEitherSeparatorReachTheEntries) {
    Win32TestFolder tmp;
    tmp.write("multiplay\\skirmish\\player0.slo", "x");
    const std::string root = tmp.path();
    EXPECT_EQ(nativeSeparator(), '\\');
    EXPECT_EQ(resolvePath("C:/Games/Korvane/"), "C:\\Games\\Korvane\\");
    EXPECT_TRUE(fileExists(root + "MULTIPLAY/skirmish\\PLAYER0.slo"));
    EXPECT_FALSE(fileExists(root + "multiplay\\skirmish"));
    EXPECT_TRUE(folderExists(root + "multiplay/SKIRMISH/"));
    EXPECT_FALSE(folderExists(""));
    EXPECT_FALSE(pathExists(root + "multiplay\\skirmish\\player1.slo"));
    EXPECT_EQ(fileLength(root + "multiplay/skirmish/player0.slo"), 1u);
    EXPECT_EQ(fileLength(root + "multiplay"), std::nullopt);

    const std::string before = currentDirectory();
    ASSERT_TRUE(setCurrentDirectory(root + "Multiplay"));
    // The system keeps the spelling it was given; only the trailing separator is ours.
    EXPECT_EQ(_stricmp(currentDirectory().c_str(), (root + "multiplay\\").c_str()), 0);
    EXPECT_TRUE(fileExists("skirmish/player0.slo"));
    ASSERT_TRUE(setCurrentDirectory(before));
    EXPECT_EQ(setCurrentDirectory(root + "absent").code, err::FileNotFound);
}

TEST(Win32Files, ListingMatchesWildcardsWithoutRegardToCase) {
    Win32TestFolder tmp;
    for (const char* name :
         {"a.kdg", "B.KDG", "c.kvw", "readme", "ab.kdg.bak", "x1.slo", "x22.slo"})
        tmp.write(std::string("game\\") + name, "12345");
    ASSERT_TRUE(createFolder(tmp / "game/Sub.kdg"));
    const std::string game = tmp / "GAME\\";

    EXPECT_EQ(names(listDirectory(game, "*.kdg")), (Names{"B.KDG", "Sub.kdg", "a.kdg"}));
    EXPECT_EQ(names(listDirectory(game, "x?.SLO")), Names{"x1.slo"});
    EXPECT_EQ(names(listDirectory(game, "*.*")).size(), 8u);
    EXPECT_EQ(names(listDirectory(game, "*kdg*")),
              (Names{"B.KDG", "Sub.kdg", "a.kdg", "ab.kdg.bak"}));
    EXPECT_EQ(names(listDirectory(tmp / "game")).size(), 8u); // no trailing separator
    EXPECT_TRUE(listDirectory(tmp / "missing", "*").empty());

    const auto folders = listDirectory(game, "s*");
    ASSERT_EQ(folders.size(), 1u);
    EXPECT_TRUE(folders[0].isFolder);
    EXPECT_EQ(folders[0].attributes, unsigned(AttrDirectory));
    const auto files = listDirectory(game, "a.KDG");
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files[0].size, 5u);
    EXPECT_EQ(files[0].attributes, unsigned(AttrNormal)); // the archive bit is not ours
}

TEST(Win32Files, ReadOnlyFilesAreReplacedOrDeletedOnlyAfterClearingAttributes) {
    Win32TestFolder tmp;
    const std::string file = tmp.write("Game\\Player0.slo", "old");
    tmp.write("new.slo", "new");
    ASSERT_TRUE(setAttributes(tmp / "game/PLAYER0.SLO", AttrReadOnly | AttrHidden));
    EXPECT_EQ(getAttributes(file), AttrReadOnly | AttrHidden);
    EXPECT_EQ(getAttributes(tmp / "absent"), std::nullopt);

    EXPECT_EQ(deleteFile(file).code, err::PathFileAccess);
    EXPECT_EQ(copyFile(tmp / "new.slo", file).code, err::PathFileAccess);
    EXPECT_EQ(writeFileAtomic(file, "x").code, err::PathFileAccess);
    EXPECT_EQ(tmp.read("Game\\Player0.slo"), "old");

    ASSERT_TRUE(clearAttributes(tmp / "GAME\\player0.slo"));
    EXPECT_EQ(getAttributes(file), unsigned(AttrNormal));
    EXPECT_TRUE(copyFile(tmp / "new.slo", file));
    EXPECT_EQ(tmp.read("Game\\Player0.slo"), "new");
    EXPECT_TRUE(deleteFile(tmp / "game/player0.SLO"));
    EXPECT_FALSE(pathExists(file));
    EXPECT_EQ(deleteFile(file).code, err::FileNotFound);
}

TEST(Win32Files, FolderTreesCopiesAndRenames) {
    Win32TestFolder tmp;
    ASSERT_TRUE(createFolderTree(tmp / "Mods/INI\\KDG Files\\"));
    EXPECT_TRUE(folderExists(tmp / "Mods\\INI\\KDG Files"));
    EXPECT_TRUE(createFolderTree(tmp / "mods\\ini")); // existing levels are fine
    EXPECT_EQ(createFolder(tmp / "mods").code, err::FileAlreadyExists);
    EXPECT_TRUE(removeFolder(tmp / "Mods\\INI\\KDG Files"));
    EXPECT_FALSE(removeFolder(tmp / "Mods"));

    tmp.write("tool.txt", "T");
    EXPECT_TRUE(copyFile(tmp / "TOOL.txt", tmp / "Mods/tool.txt"));
    EXPECT_EQ(tmp.read("Mods\\tool.txt"), "T");
    EXPECT_EQ(copyFile(tmp / "tool.txt", tmp / "mods/TOOL.TXT", false).code,
              err::FileAlreadyExists);
    EXPECT_EQ(copyFile(tmp / "absent", tmp / "x").code, err::FileNotFound);

    // A rename to an existing name fails, except a change of letter case only.
    tmp.write("Game\\a.kdg", "A");
    tmp.write("Game\\b.kvw", "B");
    EXPECT_EQ(renameEntry(tmp / "game/A.KDG", tmp / "game/B.KVW").code, err::FileAlreadyExists);
    EXPECT_TRUE(renameEntry(tmp / "game/A.KDG", tmp / "game/A.kvw"));
    EXPECT_EQ(tmp.read("Game\\A.kvw"), "A");
    EXPECT_TRUE(renameEntry(tmp / "game/a.KVW", tmp / "game/a.kdg"));
    EXPECT_EQ(names(listDirectory(tmp / "Game", "*")), (Names{"a.kdg", "b.kvw"}));
}

TEST(Win32Files, AtomicWritesReplaceWholeFilesAndLeaveNoTemporaries) {
    Win32TestFolder tmp;
    const std::string file = tmp.write("Settings\\starter.ini", "old contents");
    ASSERT_TRUE(setAttributes(file, AttrHidden));
    ASSERT_TRUE(writeFileAtomic(tmp / "SETTINGS/Starter.INI", "new"));
    std::string data;
    ASSERT_TRUE(readFile(file, data));
    EXPECT_EQ(data, "new");
    EXPECT_EQ(getAttributes(file), unsigned(AttrHidden)); // a rewrite keeps them
    EXPECT_EQ(names(listDirectory(tmp / "Settings")), Names{"starter.ini"});

    ASSERT_TRUE(writeFileAtomic(tmp / "Settings/empty.ini", ""));
    ASSERT_TRUE(readFile(tmp / "Settings/empty.ini", data));
    EXPECT_EQ(data, "");
    ASSERT_TRUE(writeFilesAtomic({{tmp / "Settings/a.ini", "A"}, {tmp / "Settings/b.ini", "B"}}));
    EXPECT_EQ(tmp.read("Settings\\a.ini") + tmp.read("Settings\\b.ini"), "AB");
    EXPECT_EQ(names(listDirectory(tmp / "Settings")).size(), 4u);

    EXPECT_FALSE(writeFileAtomic(tmp / "missing/folder/x.ini", "x"));
    EXPECT_EQ(readFile(tmp / "Settings", data).code, err::PathFileAccess);
    EXPECT_EQ(readFile(tmp / "absent", data).code, err::FileNotFound);
    // A file over the caller's limit is refused whole.
    EXPECT_EQ(readFile(file, data, 2).code, err::PathFileAccess);
    EXPECT_EQ(data, "");
    EXPECT_TRUE(readFile(file, data, 3));
}

} // namespace
} // namespace kv::platform
