#include "platform/files.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sys/stat.h>
#include <sys/xattr.h>

namespace kv::platform {
namespace {

using test::TempFolder;

TEST(Files, PathTextsResolveToTheEntriesOnDisk) {
    TempFolder tmp;
    tmp.write("multiplay/skirmish/player0.slo", "x");
    tmp.write("Mods/Rules/Classic/rules.slo", "x");
    const std::string root = tmp.path();

    EXPECT_EQ(resolvePath(root + "Multiplay\\SKIRMISH\\Player0.SLO"),
              root + "multiplay/skirmish/player0.slo");
    EXPECT_EQ(resolvePath(root + "multiplay/skirmish/player0.slo"),
              root + "multiplay/skirmish/player0.slo");
    // Trailing separators stay; doubled ones collapse.
    EXPECT_EQ(resolvePath(root + "MODS\\rules\\"), root + "Mods/Rules/");
    EXPECT_EQ(resolvePath(root + "mods\\\\rules//classic"), root + "Mods/Rules/Classic");
    // Missing names are kept as given after the last existing folder.
    EXPECT_EQ(resolvePath(root + "MODS\\New Folder\\File.TXT"), root + "Mods/New Folder/File.TXT");
    EXPECT_EQ(resolvePath(root + "mods\\rules\\classic\\RULES.slo\\x"),
              root + "Mods/Rules/Classic/rules.slo/x");

    EXPECT_TRUE(fileExists(root + "MULTIPLAY\\skirmish\\PLAYER0.slo"));
    EXPECT_FALSE(fileExists(root + "multiplay\\skirmish"));
    EXPECT_TRUE(folderExists(root + "multiplay\\SKIRMISH\\"));
    EXPECT_FALSE(folderExists(""));
    EXPECT_FALSE(pathExists(root + "multiplay\\skirmish\\player1.slo"));
    EXPECT_EQ(fileLength(root + "MODS/rules/classic/RULES.SLO"), 1u);
    EXPECT_EQ(fileLength(root + "mods"), std::nullopt);
    // A write under another spelling replaces the file there, never a second one beside it.
    ASSERT_TRUE(writeFileAtomic(root + "MULTIPLAY\\Skirmish\\PLAYER0.SLO", "new"));
    EXPECT_EQ(tmp.read("multiplay/skirmish/player0.slo"), "new");
    EXPECT_EQ(listDirectory(root + "multiplay/skirmish").size(), 1u);
}

TEST(Files, RelativeTextsResolveAgainstTheCurrentFolder) {
    TempFolder tmp;
    tmp.write("Game/Korvane.EXE", "MZ");
    const std::string before = currentDirectory();
    ASSERT_TRUE(setCurrentDirectory(tmp / "GAME"));
    EXPECT_EQ(currentDirectory(), tmp / "Game/");
    EXPECT_EQ(resolvePath("korvane.exe"), "Korvane.EXE");
    EXPECT_TRUE(fileExists(".\\KORVANE.exe"));
    ASSERT_TRUE(setCurrentDirectory(before));
}

std::vector<std::string> names(const std::vector<DirEntry>& entries) {
    std::vector<std::string> out;
    for (const auto& e : entries)
        out.push_back(e.name);
    std::sort(out.begin(), out.end());
    return out;
}

TEST(Files, ListingMatchesWildcardsWithoutRegardToCase) {
    TempFolder tmp;
    for (const char* name :
         {"a.kdg", "B.KDG", "c.kvw", "readme", "ab.kdg.bak", "x1.slo", "x22.slo"})
        tmp.write(std::string("game/") + name, "12345");
    ASSERT_TRUE(createFolder(tmp / "game/Sub.kdg"));
    const std::string game = tmp / "GAME\\";

    using Names = std::vector<std::string>;
    EXPECT_EQ(names(listDirectory(game, "*.kdg")), (Names{"B.KDG", "Sub.kdg", "a.kdg"}));
    EXPECT_EQ(names(listDirectory(game, "x?.SLO")), Names{"x1.slo"});
    EXPECT_EQ(names(listDirectory(game, "*.*")).size(), 8u); // as on Windows, "readme" too
    EXPECT_EQ(names(listDirectory(game, "*.")), Names{"readme"});
    EXPECT_EQ(names(listDirectory(game, "readme.*")), Names{"readme"});
    EXPECT_EQ(names(listDirectory(game, "*kdg*")),
              (Names{"B.KDG", "Sub.kdg", "a.kdg", "ab.kdg.bak"}));
    EXPECT_TRUE(listDirectory(tmp / "missing", "*").empty());

    const auto entries = listDirectory(game, "s*");
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_TRUE(entries[0].isFolder);
    EXPECT_EQ(entries[0].attributes, unsigned(AttrDirectory));
    const auto files = listDirectory(game, "a.KDG");
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files[0].size, 5u);
    EXPECT_FALSE(files[0].isFolder);
}

TEST(Files, ReadOnlyFilesAreReplacedOrDeletedOnlyAfterClearingAttributes) {
    TempFolder tmp;
    const std::string file = tmp.write("Game/Player0.slo", "old");
    tmp.write("new.slo", "new");
    ASSERT_TRUE(setAttributes(tmp / "game/PLAYER0.SLO", AttrReadOnly | AttrHidden));
    // Hidden is an extended attribute, which some file systems (older tmpfs) cannot hold.
    const unsigned hidden =
        ::setxattr(tmp.path().c_str(), "user.kv.probe", "1", 1, 0) == 0 ? unsigned(AttrHidden) : 0u;
    EXPECT_EQ(getAttributes(file), AttrReadOnly | hidden);
    EXPECT_EQ(getAttributes(tmp / ".hidden-by-name"), std::nullopt);
    EXPECT_EQ(*getAttributes(tmp.write(".dotted", "")) & AttrHidden, unsigned(AttrHidden));

    // Refused like on Windows, so forgetting to clear shows up here too.
    EXPECT_EQ(deleteFile(file).code, err::PathFileAccess);
    EXPECT_EQ(copyFile(tmp / "new.slo", file).code, err::PathFileAccess);
    EXPECT_EQ(tmp.read("Game/Player0.slo"), "old");

    ASSERT_TRUE(clearAttributes(tmp / "GAME\\player0.slo"));
    EXPECT_EQ(getAttributes(file), unsigned(AttrNormal));
    EXPECT_TRUE(copyFile(tmp / "new.slo", file));
    EXPECT_EQ(tmp.read("Game/Player0.slo"), "new");
    EXPECT_TRUE(deleteFile(tmp / "game\\player0.SLO"));
    EXPECT_FALSE(pathExists(file));
    EXPECT_EQ(deleteFile(file).code, err::FileNotFound);
}

TEST(Files, FolderTreesCopiesAndRenames) {
    TempFolder tmp;
    tmp.write("Mods/x", "");
    ASSERT_TRUE(createFolderTree(tmp / "MODS\\INI\\KDG Files\\"));
    EXPECT_TRUE(folderExists(tmp / "Mods/INI/KDG Files"));
    EXPECT_TRUE(createFolderTree(tmp / "mods\\ini")); // existing levels are fine
    EXPECT_EQ(createFolder(tmp / "mods").code, err::FileAlreadyExists);

    const std::string exe = tmp.write("tool.sh", "#!/bin/sh\n");
    ::chmod(exe.c_str(), 0755);
    EXPECT_TRUE(copyFile(tmp / "TOOL.sh", tmp / "Mods/tool.sh"));
    struct stat st;
    ASSERT_EQ(::stat((tmp / "Mods/tool.sh").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0755u);
    EXPECT_EQ(copyFile(tmp / "tool.sh", tmp / "mods/TOOL.SH", false).code, err::FileAlreadyExists);
    EXPECT_EQ(copyFile(tmp / "absent", tmp / "x").code, err::FileNotFound);

    // A rename to an existing name fails, except a change of letter case only.
    tmp.write("Game/a.kdg", "A");
    tmp.write("Game/b.kvw", "B");
    EXPECT_EQ(renameEntry(tmp / "game/A.KDG", tmp / "game/B.KVW").code, err::FileAlreadyExists);
    EXPECT_TRUE(renameEntry(tmp / "game/A.KDG", tmp / "game/A.kvw"));
    EXPECT_EQ(tmp.read("Game/A.kvw"), "A");
    EXPECT_TRUE(renameEntry(tmp / "game/a.KVW", tmp / "game/a.kdg"));
    EXPECT_EQ(names(listDirectory(tmp / "Game", "*")),
              (std::vector<std::string>{"a.kdg", "b.kvw"}));
}

} // namespace
} // namespace kv::platform
