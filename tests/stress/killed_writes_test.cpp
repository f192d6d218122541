// A child killed with SIGKILL at a random moment while it extracts an archive or saves the
// settings file: every file under its final name is whole, old or new, and the next run
// leaves no temporary behind.
#include "platform/atomic_file.h"
#include "platform/text.h"
#include "tests/support/temp_folder.h"
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

// Runs `argv` and kills it after `delay`; the time it ran when it ended by itself.
std::chrono::microseconds runAndKill(const std::vector<std::string>& argv,
                                     std::chrono::microseconds delay, bool* killed = nullptr) {
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
        if (::waitpid(pid, &status, WNOHANG) == pid) {
            if (killed)
                *killed = false;
            return std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    ::kill(pid, SIGKILL);
    ::waitpid(pid, &status, 0);
    if (killed)
        *killed = WIFSIGNALED(status);
    return delay;
}

std::chrono::microseconds timeToFinish(const std::vector<std::string>& argv) {
    return runAndKill(argv, std::chrono::minutes(2));
}

std::string readAll(const fs::path& path) {
    std::string text;
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
        char buffer[1 << 16];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;)
            text.append(buffer, n);
        std::fclose(f);
    }
    return text;
}

std::vector<fs::path> temporariesBelow(const std::string& folder) {
    std::vector<fs::path> found;
    for (const auto& e : fs::recursive_directory_iterator(folder))
        if (platform::isTemporaryName(e.path().filename().string()))
            found.push_back(e.path());
    return found;
}

TEST(KilledWrites, ExtractionLeavesEachFileOldOrNewAndTheNextRunNoTemporary) {
    test::TempFolder dir;
    std::mt19937 random(11);
    // More files than one batch of durable renames holds, in two folders.
    worldgen::KdgArchiveSpec plan;
    plan.sections.push_back({0x1, {}});
    std::string table;
    std::map<std::string, std::pair<std::string, std::string>> expected; // old, new
    for (std::uint32_t i = 1; i <= 300; ++i) {
        const std::string name = "f" + std::to_string(i) + ".bin";
        const std::string relative = (i % 2 ? "odd/" : "") + name;
        std::string fresh(std::size_t(500 + random() % 8000), char('A' + i % 26));
        fresh += "end of " + name;
        plan.sections[0].files.push_back({1, i, fresh, {}, false, 0, 0});
        char hex[16];
        std::snprintf(hex, sizeof hex, "%x", i); // keys are lower-case hex text
        table += std::string(hex) + "," + name + ",BIN," + (i % 2 ? "\\odd" : "") + "\r\n";
        expected[relative] = {"old " + name, fresh};
    }
    dir.write("tables/Files.txt", table);
    dir.write("tables/Types.txt", "BIN,1,bin\r\n");
    const std::string archive = dir.write("big.kdg", worldgen::buildKdgArchive(plan));
    const std::string dest = dir / "out/";
    const std::vector<std::string> extract = {KVSTOOL_PATH, "kdg",      "extract",     archive,
                                              dest,         "--tables", dir / "tables"};
    const auto writeOld = [&] {
        for (const auto& [relative, contents] : expected)
            dir.write("out/" + relative, contents.first);
    };

    writeOld();
    const auto full = timeToFinish(extract);
    std::size_t temporariesSeen = 0;
    for (int round = 0; round < 8; ++round) {
        writeOld();
        const auto delay = std::chrono::microseconds(
            std::uniform_int_distribution<long>(full.count() / 20, full.count())(random));
        runAndKill(extract, delay);
        for (const auto& e : fs::recursive_directory_iterator(dest)) {
            if (!e.is_regular_file())
                continue;
            const std::string relative = fs::relative(e.path(), dest).string();
            if (platform::isTemporaryName(e.path().filename().string())) {
                ++temporariesSeen;
                continue;
            }
            const auto it = expected.find(relative);
            ASSERT_NE(it, expected.end()) << relative;
            const std::string contents = readAll(e.path());
            EXPECT_TRUE(contents == it->second.first || contents == it->second.second)
                << relative << " is torn after a kill at " << delay.count() << " us";
        }
    }
    timeToFinish(extract);
    EXPECT_EQ(temporariesBelow(dest), std::vector<fs::path>{})
        << temporariesSeen << " temporaries were left by the killed runs";
    for (const auto& [relative, contents] : expected)
        ASSERT_EQ(readAll(dest + relative), contents.second) << relative;
}

TEST(KilledWrites, SettingsSaveLeavesAWholeFileAndTheNextRunNoTemporary) {
    test::TempFolder dir;
    std::mt19937 random(12);
    const std::string root = dir / "kvs/";
    const auto run = [&](const char* rounds) {
        return std::vector<std::string>{SETTINGS_SAVE_LOOP, root, rounds};
    };
    const auto once = timeToFinish(run("1"));
    const std::string folder = root + "Settings/";
    std::vector<fs::path> settings;
    for (const auto& e : fs::directory_iterator(folder))
        settings.push_back(e.path());
    ASSERT_EQ(settings.size(), 1u);

    std::size_t killedWhileSaving = 0;
    for (int round = 0; round < 20; ++round) {
        const auto delay = std::chrono::microseconds(
            std::uniform_int_distribution<long>(once.count() / 2, once.count() * 3)(random));
        bool killed = false;
        runAndKill(run("0"), delay, &killed);
        killedWhileSaving += killed ? 1 : 0;
        const std::vector<std::string> lines = platform::splitLines(readAll(settings[0]));
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(lines.back().rfind("CheckForUpdatesOnSturtUpOn=", 0), 0u) << lines.back();
        std::string nick;
        for (const std::string& line : lines)
            if (line.rfind("Nickname=", 0) == 0)
                nick = line.substr(9);
        const std::string mark = nick.substr(0, nick.find(':'));
        ASSERT_FALSE(mark.empty());
        EXPECT_EQ(nick,
                  mark + ":" + std::string(2000 + std::stoul(mark) % 5 * 3000, 'a') + ":" + mark);
        for (const auto& e : fs::directory_iterator(folder))
            EXPECT_TRUE(e.path() == settings[0] ||
                        platform::isTemporaryName(e.path().filename().string()))
                << e.path();
    }
    EXPECT_GT(killedWhileSaving, 0u);
    timeToFinish(run("1"));
    EXPECT_EQ(temporariesBelow(folder), std::vector<fs::path>{});
}

} // namespace
} // namespace kv
