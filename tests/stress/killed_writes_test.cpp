// Killed at a random moment while extracting an archive or saving the settings, a program
// leaves every file whole, old or new, and its next run leaves no temporary behind.
#include "platform/atomic_file.h"
#include "platform/text.h"
#include "tests/support/temp_folder.h"
#include "tools/worldgen/kdg_name_tables.h"
#include "tools/worldgen/kdg_named_archive.h"
#include "tools/worldgen/kdg_writer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <map>
#include <random>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace kv {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using us = std::chrono::microseconds;

// Runs `argv` and kills it after `delay`; how long it ran, and whether it was killed.
std::pair<us, bool> runAndKill(const std::vector<std::string>& argv, us delay) {
    const auto start = Clock::now();
    const pid_t pid = ::fork();
    if (pid == 0) {
        std::freopen("/dev/null", "w", stdout);
        std::freopen("/dev/null", "w", stderr);
        std::vector<char*> args;
        for (const std::string& a : argv)
            args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        ::execv(args[0], args.data());
        ::_exit(127);
    }
    int status = 0;
    while (Clock::now() - start < delay) {
        if (::waitpid(pid, &status, WNOHANG) == pid)
            return {std::chrono::duration_cast<us>(Clock::now() - start), false};
        std::this_thread::sleep_for(us(200));
    }
    ::kill(pid, SIGKILL);
    ::waitpid(pid, &status, 0);
    return {delay, WIFSIGNALED(status)};
}

us timeToFinish(const std::vector<std::string>& argv) {
    return runAndKill(argv, std::chrono::minutes(2)).first;
}

us randomDelay(std::mt19937& random, us from, us to) {
    return us(std::uniform_int_distribution<long>(from.count(), to.count())(random));
}

// The files under `folder` that are not temporaries; checks that no temporary is left.
std::vector<fs::path> filesAfterTheNextRun(const std::string& folder) {
    std::vector<fs::path> files;
    for (const auto& e : fs::recursive_directory_iterator(folder)) {
        EXPECT_FALSE(platform::isTemporaryName(e.path().filename().string())) << e.path();
        if (e.is_regular_file())
            files.push_back(e.path());
    }
    return files;
}

TEST(KilledWrites, ExtractionLeavesEachFileOldOrNewAndTheNextRunNoTemporary) {
    test::TempFolder dir;
    std::mt19937 random(11);
    // More files than one batch of durable renames holds, in two folders.
    std::vector<worldgen::NamedKdgFile> files;
    std::map<std::string, std::pair<std::string, std::string>> expected; // old, new
    for (int i = 1; i <= 300; ++i) {
        const std::string name = "f" + std::to_string(i) + ".bin";
        const std::string fresh =
            std::string(std::size_t(500 + random() % 8000), char('A' + i % 26)) + "end of " + name;
        files.push_back({name, i % 2 ? "odd" : "", fresh});
        expected[(i % 2 ? "odd/" : "") + name] = {"old " + name, fresh};
    }
    const worldgen::KdgSample sample = worldgen::namedFilesArchive("big", files);
    dir.write("tables/.keep", "");
    ASSERT_TRUE(
        worldgen::writeNameTables(dir / "tables", sample.files, worldgen::sampleTypeRows()));
    const std::string archive = dir.write("big.kdg", worldgen::buildKdgArchive(sample.plan));
    const std::string dest = dir / "out/";
    const std::vector<std::string> extract = {KVSTOOL_PATH, "kdg",      "extract",     archive,
                                              dest,         "--tables", dir / "tables"};
    const auto writeOld = [&] {
        for (const auto& [relative, contents] : expected)
            dir.write("out/" + relative, contents.first);
    };
    writeOld();
    const us full = timeToFinish(extract);
    for (int round = 0; round < 8; ++round) {
        writeOld();
        const us delay = randomDelay(random, full / 20, full);
        runAndKill(extract, delay);
        for (const auto& [relative, contents] : expected) {
            const std::string now = dir.read("out/" + relative);
            EXPECT_TRUE(now == contents.first || now == contents.second)
                << relative << " is torn or gone after a kill at " << delay.count() << " us";
        }
    }
    timeToFinish(extract);
    EXPECT_EQ(filesAfterTheNextRun(dest).size(), expected.size());
    for (const auto& [relative, contents] : expected)
        ASSERT_EQ(dir.read("out/" + relative), contents.second) << relative;
}

TEST(KilledWrites, SettingsSaveLeavesAWholeFileAndTheNextRunNoTemporary) {
    test::TempFolder dir;
    std::mt19937 random(12);
    const std::string root = dir / "kvs/", folder = root + "Settings/";
    const auto run = [&](const char* rounds) {
        return std::vector<std::string>{SETTINGS_SAVE_LOOP, root, rounds};
    };
    const us once = timeToFinish(run("1"));
    const std::vector<fs::path> settings = filesAfterTheNextRun(folder);
    ASSERT_EQ(settings.size(), 1u);
    std::size_t killedWhileSaving = 0;
    for (int round = 0; round < 20; ++round) {
        killedWhileSaving += runAndKill(run("0"), randomDelay(random, once / 2, once * 3)).second;
        const std::string text = dir.read("kvs/Settings/" + settings[0].filename().string());
        const std::vector<std::string> lines = platform::splitLines(text);
        EXPECT_EQ(lines.empty() ? "" : lines.back().substr(0, 27), "CheckForUpdatesOnSturtUpOn=");
        const std::size_t at = text.find("\r\nNickname=") + 11, colon = text.find(':', at);
        ASSERT_TRUE(at >= 11 && colon > at && colon != std::string::npos) << text.substr(0, 300);
        const std::string mark = text.substr(at, colon - at);
        EXPECT_EQ(text.substr(at, text.find('\r', at) - at),
                  mark + ":" + std::string(2000 + std::stoul(mark) % 5 * 3000, 'a') + ":" + mark);
    }
    EXPECT_GT(killedWhileSaving, 0u);
    timeToFinish(run("1"));
    EXPECT_EQ(filesAfterTheNextRun(folder), settings);
}

} // namespace
} // namespace kv
