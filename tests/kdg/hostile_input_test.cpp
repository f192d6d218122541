// What a hostile user or a failing machine hands the archive and map tools: FIFOs,
// devices, huge files, names with control characters, a full disk, long names, and the
// temporaries of a killed extraction.
#include "kdg/archive_reader.h"
#include "kdg/extraction.h"
#include "platform/atomic_file.h"
#include "tests/support/scripted_ui.h"
#include "tests/support/temp_folder.h"
#include "tests/support/tool_run.h"
#include "tools/worldgen/kdg_small_archives.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace kv::kdg {
namespace {

namespace fs = std::filesystem;
using worldgen::KdgArchiveSpec;

const std::string kEvilName = worldgen::kControlCharacterName;
const std::string kEvilEscaped = "\\u001b]0;owned\\u0007evil\\u001b[2J.txt";

class HostileInput : public ::testing::Test {
protected:
    // A hang shows as exit code 124 instead of a stuck test.
    static test::ToolRun run(const std::string& arguments, const std::string& prefix = {}) {
        return test::runShell(prefix + "timeout 60 '" KVSTOOL_PATH "' " + arguments);
    }
    static std::string q(const std::string& path) { return "'" + path + "'"; }

    // An archive with one file named with control characters and one plain file.
    std::string evilArchive() {
        dir.write("tables/Files.txt", worldgen::controlCharacterFilesTable());
        dir.write("tables/Types.txt", worldgen::textTypesTable());
        return dir.write("evil.kdg", worldgen::buildKdgArchive(worldgen::twoFileArchive()));
    }

    test::TempFolder dir;
};

void expectOneLineFailure(const test::ToolRun& r, const std::string& what) {
    EXPECT_EQ(r.exitCode, 1) << what << ": " << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << what << ": " << r.err;
}

TEST_F(HostileInput, MapToolsNeitherHangNorAbortOnFifosDevicesAndHugeFiles) {
    ASSERT_EQ(::mkfifo((dir / "pipe.lnd").c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo((dir / "pipe.map").c_str(), 0600), 0);
    // 5 GB, sparse.
    ASSERT_EQ(::truncate(dir.write("huge.map", "").c_str(), off_t(5) << 30), 0);
    for (const std::string command : {"info", "check"}) {
        for (const std::string& path :
             {dir / "pipe.lnd", dir / "pipe.map", std::string("/dev/zero"), dir / "huge.map"}) {
            const test::ToolRun r = run("map " + command + " " + q(path));
            expectOneLineFailure(r, command + " " + path);
            EXPECT_NE(r.err.find(path), std::string::npos) << r.err;
        }
    }
}

TEST_F(HostileInput, ArchiveToolSaysWhyAFolderOrFifoIsNoArchive) {
    fs::create_directory(dir / "folder.kdg");
    ASSERT_EQ(::mkfifo((dir / "pipe.kdg").c_str(), 0600), 0);
    for (const auto& [path, why] : {std::pair(dir / "folder.kdg", "Is a directory"),
                                    std::pair(dir / "pipe.kdg", "not a regular file")}) {
        for (const std::string command : {"info ", "list ", "extract "}) {
            const test::ToolRun r =
                run("kdg " + command + q(path) + (command == "extract " ? " " + q(dir / "x") : ""));
            expectOneLineFailure(r, command + path);
            EXPECT_EQ(r.err.find("does not exist"), std::string::npos) << r.err;
            EXPECT_NE(r.err.find(why), std::string::npos) << r.err;
        }
    }
    // Name tables that are a FIFO are no tables at all.
    const std::string archive = evilArchive();
    fs::remove(dir / "tables/Files.txt");
    ASSERT_EQ(::mkfifo((dir / "tables/Files.txt").c_str(), 0600), 0);
    const test::ToolRun r = run("kdg list " + q(archive) + " --tables " + q(dir / "tables"));
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("$1.txt\t\t"), std::string::npos) << r.out;
}

TEST_F(HostileInput, ControlCharactersInNamesAreEscapedOnTheTerminal) {
    const std::string archive = evilArchive();
    const std::string tables = " --tables " + q(dir / "tables");
    const auto expectNoRawControls = [](const std::string& text) {
        for (char c : text)
            EXPECT_FALSE((c >= 0 && c < 0x20 && c != '\t' && c != '\r' && c != '\n') || c == 0x7f)
                << "raw control character " << int(c) << " in " << text;
    };

    // In the listing, and in the JSON listing escaped by the JSON writer.
    for (const std::string format : {"", " --json"}) {
        const test::ToolRun r = run("kdg list " + q(archive) + tables + format);
        ASSERT_EQ(r.exitCode, 0) << r.err;
        EXPECT_NE(r.out.find(kEvilEscaped + (format.empty() ? "\t\t(" : "")), std::string::npos)
            << r.out;
        expectNoRawControls(r.out);
    }

    // A folder in the way makes the extraction talk about the file by name.
    fs::create_directories(dir / ("out/" + kEvilName));
    const test::ToolRun r = run("kdg extract " + q(archive) + " " + q(dir / "out") + tables);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("Couldn't access the file. " + dir / "out/" + kEvilEscaped),
              std::string::npos)
        << r.err;
    expectNoRawControls(r.err);
    EXPECT_EQ(dir.read("out/plain.txt"), "plain");
}

TEST_F(HostileInput, AFullDiskIsReportedWithItsCause) {
    // A small file system of our own: a user and mount namespace, where one is allowed.
    if (std::system("unshare -rm true >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "no user namespaces here";
    KdgArchiveSpec plan;
    plan.sections = {{0x1, {worldgen::kdgFile(0x1, std::string(256 * 1024, 'x'))}}};
    const std::string archive = dir.write("big.kdg", worldgen::buildKdgArchive(plan));
    fs::create_directory(dir / "small");
    const test::ToolRun r = run("kdg extract " + q(archive) + " " + q(dir / "small") +
                                    " --tables " + q(dir / "no tables"),
                                "unshare -rm sh -c 'mount -t tmpfs -o size=64k none " +
                                    dir / "small" + " && exec \"$0\" \"$@\"' ");
    EXPECT_EQ(r.exitCode, 1) << r.err;
    // Refused before a byte is written.
    EXPECT_NE(r.err.find("1 files were not extracted: Disk full (the files need 262144 bytes, "
                         "but only "),
              std::string::npos)
        << r.err;
}

TEST(KdgExtractionNames, LongNamesManyFilesAndStaleTemporaries) {
    test::TempFolder dir;
    KdgArchiveSpec plan;
    std::vector<FileNameRow> rows;
    const std::string longName = std::string(251, 'L') + ".txt";
    plan.sections.push_back({0x1, {worldgen::kdgFile(1, "long")}});
    rows.push_back({"1", longName, "", ""});
    // More files than one batch holds, into two folders.
    for (std::uint32_t i = 2; i < 2 + 2 * platform::AtomicFileBatch::kMaxPending; ++i) {
        char key[16];
        std::snprintf(key, sizeof key, "%x", i);
        plan.sections[0].files.push_back(worldgen::kdgFile(i, "file " + std::to_string(i)));
        rows.push_back({key, "f" + std::to_string(i) + ".txt", "", i % 2 ? "\\odd" : ""});
    }
    const std::string archive = dir.write("many.kdg", worldgen::buildKdgArchive(plan));
    KdgArchiveInfo info;
    ASSERT_TRUE(ReadArchive(archive, info, NameTables(rows, {})));
    dir.write("out/.kvtmp-Kil1ed", "left by a killed extraction");
    dir.write("out/odd/.kvtmp-Kil2ed", "left by a killed extraction");

    test::ScriptedUi ui;
    NoProgress progress;
    const ExtractResult r = ExtractArchive(archive, dir / "out/", info, ui, progress);
    EXPECT_EQ(std::pair(r.outcome, r.extracted),
              std::pair(ExtractOutcome::Completed, plan.sections[0].files.size()));
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_EQ(dir.read("out/" + longName) + dir.read("out/odd/f513.txt") + dir.read("out/f512.txt"),
              "longfile 513file 512");
    std::size_t files = 0;
    for (const auto& e : fs::recursive_directory_iterator(dir / "out")) {
        EXPECT_EQ(e.path().filename().string().find(".kvtmp"), std::string::npos) << e.path();
        files += e.is_regular_file() ? 1 : 0;
    }
    EXPECT_EQ(files, plan.sections[0].files.size());
}

} // namespace
} // namespace kv::kdg
