// The Win32 file services, under Wine, where they differ from POSIX: the spelling of paths
// is the system's, and attributes live in the file system. The rest is files_test.cpp.
#include "platform/files.h"
#include "tests/win32/win32_test_folder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>

namespace kv::platform {
namespace {

TEST(Win32Files, PathsKeepTheirSpellingAndAtomicWritesTheAttributes) {
    test::Win32TestFolder tmp;
    const std::string root = tmp.path(), file = tmp.write("Game\\Player0.slo", "old");
    EXPECT_EQ(resolvePath("C:/Games/Korvane/"), "C:\\Games\\Korvane\\");
    EXPECT_TRUE(fileExists(root + "GAME/player0.SLO") && folderExists(root + "game/"));
    EXPECT_FALSE(fileExists(root + "game") || pathExists(root + "game\\c.kdg"));
    EXPECT_EQ(fileLength(root + "game"), std::nullopt);
    const std::string before = currentDirectory();
    ASSERT_TRUE(setCurrentDirectory(root + "game"));
    // The system keeps the spelling it was given; only the trailing separator is ours.
    EXPECT_EQ(_stricmp(currentDirectory().c_str(), (root + "game\\").c_str()), 0);
    EXPECT_EQ(fileLength("player0.slo"), 3u);
    ASSERT_TRUE(setCurrentDirectory(before));
    EXPECT_EQ(setCurrentDirectory(root + "absent").code, err::FileNotFound);

    ASSERT_TRUE(setAttributes(file, AttrHidden));
    ASSERT_TRUE(writeFileAtomic(tmp / "GAME/Player0.SLO", "new"));
    ASSERT_TRUE(writeFileAtomic(tmp / "Game/empty.ini", ""));
    ASSERT_TRUE(writeFilesAtomic({{tmp / "Game/a.ini", "A"}, {tmp / "Game/b.ini", "B"}}));
    EXPECT_FALSE(writeFileAtomic(tmp / "missing/folder/x.ini", "x"));
    std::vector<std::string> names;
    for (const DirEntry& e : listDirectory(tmp / "Game")) // a rewrite keeps name and attributes
        names.push_back(e.name + ":" + std::to_string(e.size) + ":" + std::to_string(e.attributes));
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Player0.slo:3:2", "a.ini:1:0", "b.ini:1:0",
                                               "empty.ini:0:0"}));

    std::string data = "stale";
    EXPECT_EQ(readFile(tmp / "Game", data).code, err::PathFileAccess);
    EXPECT_EQ(readFile(tmp / "absent", data).code, err::FileNotFound);
    EXPECT_EQ(readFile(file, data, 2).code, err::PathFileAccess); // over the caller's limit
    EXPECT_EQ(data, "");
    ASSERT_TRUE(readFile(file, data, 3));
    EXPECT_EQ(data + tmp.read("Game\\a.ini") + tmp.read("Game\\b.ini"), "newAB");
}

} // namespace
} // namespace kv::platform
