// Whole-file reads of hostile paths, and the one atomic writer of every file we save.
#include "platform/atomic_file.h"
#include "platform/file_io.h"
#include "platform/files.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sys/stat.h>
#include <tuple>
#include <unistd.h>

namespace kv::platform {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;
using Names = std::vector<std::string>;

Names namesIn(const std::string& folder) {
    Names names;
    for (const auto& e : fs::directory_iterator(folder))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(WholeFileReads, RefuseWhatIsNoRegularFileOrTooLargeBeforeReading) {
    TempFolder tmp;
    ASSERT_EQ(::mkfifo((tmp / "pipe").c_str(), 0600), 0);
    fs::create_directory(tmp / "folder");
    const std::string big = tmp / "big.map";
    // Sparse: a file past the limit costs no disk.
    ASSERT_EQ(::truncate(tmp.write("big.map", "").c_str(), off_t(kDefaultReadLimit) + 1), 0);
    tmp.write("small", std::string(1001, 'x'));

    const std::tuple<std::string, std::uint64_t, std::string> cases[] = {
        {tmp / "pipe", kDefaultReadLimit, "(not a regular file: "},
        {"/dev/zero", kDefaultReadLimit, "(not a regular file: /dev/zero)"},
        {tmp / "folder", kDefaultReadLimit, "(Is a directory: "},
        {big, kDefaultReadLimit, "(File too large: " + big + ")"},
        {tmp / "small", 1000, "(File too large: "},
    };
    for (const auto& [path, limit, why] : cases) {
        std::string contents = "stale";
        const Status s = readFile(path, contents, limit);
        EXPECT_EQ(s.code, err::PathFileAccess) << path;
        EXPECT_NE(s.description.find(why), std::string::npos) << s.description;
        EXPECT_TRUE(contents.empty()) << path;
    }
    std::string contents;
    EXPECT_TRUE(readFile(tmp / "small", contents, 1001) && contents.size() == 1001);

    // The archive readers open without blocking on a FIFO as well.
    MappedFile mapped;
    EXPECT_NE(mapped.open(tmp / "pipe").description.find("not a regular file"), std::string::npos);
    RandomAccessFile random;
    EXPECT_NE(random.open(tmp / "pipe").description.find("not a regular file"), std::string::npos);
}

TEST(AtomicWrites, NamesOfTheFullLengthAndFilesPastTheReadLimitAreWrittenAndCopied) {
    TempFolder tmp;
    const std::string longest(251, 'n');
    ASSERT_TRUE(writeFileAtomic(tmp / (longest + ".ini"), "long"));
    ASSERT_TRUE(copyFile(tmp / (longest + ".ini"), tmp / (longest + ".bak")));
    EXPECT_EQ(tmp.read(longest + ".ini") + tmp.read(longest + ".bak"), "longlong");
    // Copies are streamed, not read whole.
    const std::string source = tmp.write("archive.kdg", "head");
    ASSERT_EQ(::truncate(source.c_str(), off_t(kDefaultReadLimit) + 4), 0);
    ASSERT_TRUE(copyFile(source, tmp / "copy.kdg"));
    EXPECT_EQ(fs::file_size(tmp / "copy.kdg"), kDefaultReadLimit + 4);
    EXPECT_EQ(namesIn(tmp.path()),
              (Names{"archive.kdg", "copy.kdg", longest + ".bak", longest + ".ini"}));
}

TEST(AtomicWrites, StaleTemporariesAreSweptAndLiveOnesKept) {
    TempFolder tmp;
    const std::string folder = tmp / "Settings/";
    tmp.write("Settings/.kvtmp-Ab12Cd", "killed during a write");
    tmp.write("Settings/starter.ini.kvtmp-x1Y2z3", "killed, earlier name");
    tmp.write("Settings/notes.kvtmp-1", "not a temporary");
    tmp.write("Settings/.kvtmp-Ab12C!", "not one either");
    fs::create_directory(folder + ".kvtmp-Folder");

    AtomicFileWriter live;
    ASSERT_TRUE(live.open(folder + "other.ini") && live.write("other", 5)); // the first sweeps
    // The stale ones are gone; the live writer's own temporary is not.
    EXPECT_EQ(namesIn(folder).size(), 4u) << testing::PrintToString(namesIn(folder));
    // A lock held by another writer keeps a temporary from every sweep.
    EXPECT_EQ(sweepStaleTemporaries(folder), 0u);
    ASSERT_TRUE(live.commit());
    EXPECT_EQ(namesIn(folder),
              (Names{".kvtmp-Ab12C!", ".kvtmp-Folder", "notes.kvtmp-1", "other.ini"}));
    EXPECT_EQ(tmp.read("Settings/other.ini"), "other");
}

TEST(AtomicWrites, LinkedFilesAreWrittenThroughTheLinkAndKeepTheirModeButCopiesReplaceIt) {
    TempFolder tmp;
    const std::string real = tmp.write("real/starter.ini", "old");
    ASSERT_EQ(::chmod(real.c_str(), 0640), 0);
    fs::create_directories(tmp / "kvs/Settings");
    const std::string settings = tmp / "kvs/Settings/";
    const std::tuple<std::string, std::string, std::string> cases[] = {
        // link, to, target
        {settings + "absolute.ini", real, "real/starter.ini"},
        {settings + "relative.ini", "../../real/starter.ini", "real/starter.ini"},
        {settings + "chain.ini", "absolute.ini", "real/starter.ini"},
        {settings + "dangling.ini", "../../real/new.ini", "real/new.ini"},
    };
    for (const auto& [link, pointsTo, target] : cases)
        fs::create_symlink(pointsTo, link);
    for (const auto& [link, pointsTo, target] : cases) {
        ASSERT_TRUE(writeFileAtomic(link, "through " + link)) << link;
        EXPECT_TRUE(fs::is_symlink(link)) << link;
        EXPECT_EQ(tmp.read(target), "through " + link);
    }
    // Copies and batched writes (installs into the game folder) take the link's place.
    ASSERT_TRUE(copyFile(tmp.write("copied.kdg", "copied"), settings + "absolute.ini"));
    ASSERT_TRUE(writeFilesAtomic({{settings + "dangling.ini", "batched"}}));
    EXPECT_FALSE(fs::is_symlink(settings + "absolute.ini") ||
                 fs::is_symlink(settings + "dangling.ini"));
    EXPECT_EQ(tmp.read("kvs/Settings/absolute.ini") + tmp.read("kvs/Settings/dangling.ini") +
                  tmp.read("real/starter.ini") + tmp.read("real/new.ini"),
              "copiedbatchedthrough " + settings + "chain.inithrough " + settings + "dangling.ini");
    EXPECT_EQ(fs::status(real).permissions(), fs::perms(0640));
    EXPECT_EQ(namesIn(tmp / "kvs/Settings"),
              (Names{"absolute.ini", "chain.ini", "dangling.ini", "relative.ini"}));
}

TEST(AtomicWrites, FilesAppearOnlyWhenCommittedAndAFailureReportsTheFirstAndPlacesTheRest) {
    TempFolder tmp;
    tmp.write("out/a.slo", "old");
    {
        AtomicFileBatch abandoned;
        for (const std::string name : {"a.slo", "n.slo"}) {
            AtomicFileWriter w;
            ASSERT_TRUE(w.open(tmp / ("out/" + name)) && w.write("x", 1) &&
                        abandoned.add(std::move(w)));
        }
        EXPECT_EQ(abandoned.size(), 2u);
    }
    EXPECT_EQ(namesIn(tmp / "out"), Names{"a.slo"});
    EXPECT_EQ(tmp.read("out/a.slo"), "old");
    fs::create_directories(tmp / "out/b.vlo/inside"); // a folder holds the name
    const Status s = writeFilesAtomic({{tmp / "out/a.slo", "new a"},
                                       {tmp / "out/b.vlo", "new b"},
                                       {tmp / "missing/c.slo", "c"},
                                       {tmp / "out/d.vlo", "new d"}});
    EXPECT_FALSE(s);
    EXPECT_NE(s.description.find("b.vlo"), std::string::npos) << s.description;
    EXPECT_EQ(tmp.read("out/a.slo") + tmp.read("out/d.vlo"), "new anew d");
    EXPECT_EQ(namesIn(tmp / "out"), (Names{"a.slo", "b.vlo", "d.vlo"}));
    EXPECT_TRUE(writeFilesAtomic({}));
}

} // namespace
} // namespace kv::platform
