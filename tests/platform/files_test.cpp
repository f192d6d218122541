// The file services, POSIX and Win32 alike: the Windows build runs these under Wine.
#include "platform/files.h"

#include <gtest/gtest.h>

#include <algorithm>

#ifdef _WIN32
#include "tests/win32/win32_test_folder.h"
#define KV_FILES_TEST(name) TEST(Win32Files, name)
using Folder = kv::test::Win32TestFolder;
#else
#include "tests/support/temp_folder.h"

#include <sys/stat.h>
#include <sys/xattr.h>
#define KV_FILES_TEST(name) TEST(Files, name)
using Folder = kv::test::TempFolder;
#endif

namespace kv::platform {
namespace {

using Names = std::vector<std::string>;

// Each entry as "name:size:attributes", a folder's name with a '/'.
Names listed(const std::string& folder, const std::string& pattern = "*") {
    Names out;
    for (const auto& e : listDirectory(folder, pattern))
        out.push_back(e.name + (e.isFolder ? "/" : "") + ":" + std::to_string(e.size) + ":" +
                      std::to_string(e.attributes));
    std::sort(out.begin(), out.end());
    return out;
}

KV_FILES_TEST(ListingMatchesWildcardsWithoutRegardToCase) {
    Folder tmp;
    for (const char* name : {"a.kdg", "B.KDG", "readme", "ab.kdg.bak", "x1.slo", "x22.slo"})
        tmp.write(std::string("game/") + name, "12345");
    ASSERT_TRUE(createFolder(tmp / "game/Sub.kdg"));
    const std::string game = tmp / "GAME\\";
    const std::pair<const char*, Names> cases[] = {
        {"*.kdg", {"B.KDG:5:0", "Sub.kdg/:0:16", "a.kdg:5:0"}},
        {"x?.SLO", {"x1.slo:5:0"}},
        {"readme.*", {"readme:5:0"}},
        {"*kdg*", {"B.KDG:5:0", "Sub.kdg/:0:16", "a.kdg:5:0", "ab.kdg.bak:5:0"}},
    };
    for (const auto& [pattern, names] : cases)
        EXPECT_EQ(listed(game, pattern), names) << pattern;
#ifndef _WIN32 // as Windows does; Wine's own matching lists every name here
    EXPECT_EQ(listed(game, "*."), Names{"readme:5:0"});
#endif
    // "*.*" lists "readme" too, as on Windows.
    EXPECT_TRUE(listDirectory(game, "*.*").size() == 7 && listDirectory(tmp / "game").size() == 7 &&
                listDirectory(tmp / "missing", "*").empty());
}

KV_FILES_TEST(ReadOnlyFilesAreReplacedOrDeletedOnlyAfterClearingAttributes) {
    Folder tmp;
    const std::string file = tmp.write("Game/Player0.slo", "old");
    tmp.write("new.slo", "new");
    ASSERT_TRUE(setAttributes(tmp / "game/PLAYER0.SLO", AttrReadOnly | AttrHidden));
#ifdef _WIN32
    const unsigned hidden = AttrHidden;
    EXPECT_EQ(writeFileAtomic(file, "x").code, err::PathFileAccess);
#else
    // Hidden is an extended attribute, which some file systems (older tmpfs) cannot hold.
    const unsigned hidden =
        ::setxattr(tmp.path().c_str(), "user.kv.probe", "1", 1, 0) == 0 ? unsigned(AttrHidden) : 0u;
    EXPECT_EQ(*getAttributes(tmp.write(".dotted", "")) & AttrHidden, unsigned(AttrHidden));
#endif
    EXPECT_EQ(getAttributes(file), AttrReadOnly | hidden);
    EXPECT_EQ(getAttributes(tmp / "absent"), std::nullopt);
    // Refused like on Windows, so forgetting to clear shows up on Linux too.
    EXPECT_EQ(deleteFile(file).code, err::PathFileAccess);
    EXPECT_EQ(copyFile(tmp / "new.slo", file).code, err::PathFileAccess);
    EXPECT_EQ(tmp.read("Game/Player0.slo"), "old");

    ASSERT_TRUE(clearAttributes(tmp / "GAME\\player0.slo"));
    EXPECT_EQ(getAttributes(file), unsigned(AttrNormal));
    EXPECT_TRUE(copyFile(tmp / "new.slo", file));
#ifdef _WIN32
    ASSERT_TRUE(setAttributes(file, AttrHidden));
    ASSERT_TRUE(writeFileAtomic(tmp / "GAME/Player0.SLO", "new")); // keeps name and attributes
    EXPECT_EQ(listed(tmp / "Game"), Names{"Player0.slo:3:2"});
#endif
    std::string data = "stale";
    EXPECT_EQ(readFile(tmp / "Game", data).code, err::PathFileAccess);
    EXPECT_EQ(readFile(tmp / "absent", data).code, err::FileNotFound);
    EXPECT_EQ(readFile(file, data, 2).code, err::PathFileAccess); // over the caller's limit
    EXPECT_TRUE(data.empty() && readFile(file, data, 3) && data == "new");
    EXPECT_TRUE(deleteFile(tmp / "game\\player0.SLO"));
    EXPECT_EQ(deleteFile(file).code, err::FileNotFound);
}

KV_FILES_TEST(FolderTreesCopiesAndRenames) {
    Folder tmp;
    tmp.write("Mods/x", "");
    ASSERT_TRUE(createFolderTree(tmp / "MODS\\INI/KDG Files\\"));
    EXPECT_TRUE(folderExists(tmp / "Mods/INI/KDG Files"));
    EXPECT_TRUE(createFolderTree(tmp / "mods\\ini")); // existing levels are fine
    EXPECT_EQ(createFolder(tmp / "mods").code, err::FileAlreadyExists);
    EXPECT_TRUE(removeFolder(tmp / "Mods\\INI\\KDG Files"));
    EXPECT_FALSE(removeFolder(tmp / "Mods"));

    tmp.write("tool.sh", "#!/bin/sh\n");
#ifndef _WIN32
    ::chmod((tmp / "tool.sh").c_str(), 0755);
#endif
    EXPECT_TRUE(copyFile(tmp / "TOOL.sh", tmp / "Mods/tool.sh"));
    EXPECT_EQ(tmp.read("Mods/tool.sh"), "#!/bin/sh\n");
#ifndef _WIN32
    struct stat st;
    EXPECT_TRUE(::stat((tmp / "Mods/tool.sh").c_str(), &st) == 0 && (st.st_mode & 0777) == 0755);
#endif
    EXPECT_EQ(copyFile(tmp / "tool.sh", tmp / "mods/TOOL.SH", false).code, err::FileAlreadyExists);
    EXPECT_EQ(copyFile(tmp / "absent", tmp / "x").code, err::FileNotFound);

    // A rename to an existing name fails, except a change of letter case only.
    tmp.write("Game/a.kdg", "A");
    tmp.write("Game/b.kvw", "B");
    EXPECT_EQ(renameEntry(tmp / "game/A.KDG", tmp / "game/B.KVW").code, err::FileAlreadyExists);
    EXPECT_TRUE(renameEntry(tmp / "game/A.KDG", tmp / "game/A.kvw"));
    EXPECT_TRUE(renameEntry(tmp / "game/a.KVW", tmp / "game/a.kdg"));
    EXPECT_EQ(listed(tmp / "Game"), (Names{"a.kdg:1:0", "b.kvw:1:0"}));
}

#ifdef _WIN32
TEST(Win32Files, PathsKeepTheSpellingTheyAreGiven) {
    Folder tmp;
    tmp.write("Game/x1.slo", "x");
    EXPECT_EQ(resolvePath("C:/Games/Korvane/"), "C:\\Games\\Korvane\\");
    const std::string before = currentDirectory();
    ASSERT_TRUE(setCurrentDirectory(tmp / "game"));
    // The system keeps the spelling it was given; only the trailing separator is ours.
    EXPECT_EQ(_stricmp(currentDirectory().c_str(), (tmp / "game\\").c_str()), 0);
    EXPECT_TRUE(fileExists("X1.slo"));
    ASSERT_TRUE(setCurrentDirectory(before));
    EXPECT_EQ(setCurrentDirectory(tmp / "absent").code, err::FileNotFound);
}
#else
TEST(Files, PathTextsResolveToTheEntriesOnDiskWithoutRegardToCase) {
    Folder tmp;
    tmp.write("multiplay/skirmish/player0.slo", "x");
    tmp.write("Mods/Rules/Classic/rules.slo", "x");
    const std::string root = tmp.path();
    const std::pair<std::string, std::string> cases[] = {
        {"Multiplay\\SKIRMISH\\Player0.SLO", "multiplay/skirmish/player0.slo"},
        // Trailing separators stay; doubled ones collapse.
        {"MODS\\rules\\", "Mods/Rules/"},
        {"mods\\\\rules//classic", "Mods/Rules/Classic"},
        // Missing names are kept as given after the last existing folder.
        {"MODS\\New Folder\\File.TXT", "Mods/New Folder/File.TXT"},
        {"mods\\rules\\classic\\RULES.slo\\x", "Mods/Rules/Classic/rules.slo/x"},
    };
    for (const auto& [text, path] : cases)
        EXPECT_EQ(resolvePath(root + text), root + path);
    EXPECT_TRUE(fileExists(root + "MULTIPLAY\\skirmish\\PLAYER0.slo") &&
                folderExists(root + "multiplay\\SKIRMISH\\"));
    EXPECT_FALSE(fileExists(root + "multiplay\\skirmish") || folderExists("") ||
                 pathExists(root + "multiplay\\skirmish\\player1.slo"));
    EXPECT_EQ(fileLength(root + "MODS/rules/classic/RULES.SLO"), 1u);
    EXPECT_EQ(fileLength(root + "mods"), std::nullopt);
    // A write under another spelling replaces the file there, never a second one beside it.
    ASSERT_TRUE(writeFileAtomic(root + "MULTIPLAY\\Skirmish\\PLAYER0.SLO", "new"));
    EXPECT_EQ(listed(root + "multiplay/skirmish"), Names{"player0.slo:3:0"});

    const std::string before = currentDirectory();
    ASSERT_TRUE(setCurrentDirectory(tmp / "MODS/rules"));
    EXPECT_EQ(currentDirectory(), tmp / "Mods/Rules/");
    EXPECT_EQ(resolvePath("classic\\RULES.SLO"), "Classic/rules.slo");
    EXPECT_TRUE(fileExists(".\\CLASSIC/rules.slo"));
    ASSERT_TRUE(setCurrentDirectory(before));
}
#endif

} // namespace
} // namespace kv::platform
