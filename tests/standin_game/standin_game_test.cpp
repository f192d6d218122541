#include "platform/files.h"
#include "platform/process_memory.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/text.h"
#include "platform/windows.h"
#include "tests/support/temp_folder.h"
#include "tools/standin-game/game_world.h"
#include "tools/standin-game/memory_table.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <functional>
#include <thread>

namespace kv::standin {
namespace {

using test::TempFolder;
using Lines = std::vector<std::string>;
using platform::RegistryRoot;

bool waitFor(const std::function<bool()>& done, int seconds) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (!done()) {
        if (std::chrono::steady_clock::now() > until)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

// A game folder as the launcher leaves it before a start.
void buildGameFolder(const TempFolder& tmp) {
    tmp.write("game/Multiplay/Skirmish/player0.slo", "// AI: Nexus\r\nrest\r\n");
    tmp.write("game/Multiplay/Skirmish/Rules.slo", "// rules: Classic caf\xE9\n");
    tmp.write("game/Multiplay/Skirmish/empty.vlo", "");
    tmp.write("game/zmod.KDG", "");
    tmp.write("game/amod.kdg", "");
    tmp.write("game/off.kvw", "");
    auto registry = platform::makeRegistryBackend(tmp / "registry.reg");
    registry->createKey(RegistryRoot::LocalMachine, kGameKey);
    registry->setDword(RegistryRoot::LocalMachine, kGameKey, "alliance", 1);
    registry->setString(RegistryRoot::LocalMachine, kGameKey, "phrase0", "gg \"all\"");
    registry->setString(RegistryRoot::LocalMachine, kGameKey, "phrase5", "");
    registry->setDword(RegistryRoot::LocalMachine, kGameKey, "scroll", 6400);
}

TEST(StandinGame, ReadsRegistryValuesScriptsAndActiveArchives) {
    TempFolder tmp;
    buildGameFolder(tmp);
    const GameWorld world = readGameWorld(tmp / "game/", tmp / "registry.reg");
    EXPECT_EQ(world.registry, (Lines{"alliance = 1", "phrase0 = \"gg \"all\"\"", "phrase1: not set",
                                     "phrase2: not set", "phrase3: not set", "phrase4: not set",
                                     "phrase5 = \"\"", "scroll = 6400", "base: not set"}));
    EXPECT_EQ(world.scripts, (Lines{"empty.vlo: ", "player0.slo: // AI: Nexus",
                                    "Rules.slo: // rules: Classic caf\xE9"}));
    EXPECT_EQ(world.archives, (Lines{"amod.kdg", "zmod.KDG"}));

    const GameWorld bare = readGameWorld(tmp / "nowhere/", tmp / "none.reg");
    EXPECT_EQ(bare.registry.front(), "alliance: not set");
    EXPECT_TRUE(bare.scripts.empty());
    EXPECT_TRUE(bare.archives.empty());
}

// The whole program: found by its window title as the launcher finds it, its figures read
// as the debug monitor reads them, and gone by itself when told to quit.
TEST(StandinGame, RunsAsTheGameAndQuitsByItself) {
    if (!std::getenv("DISPLAY"))
        GTEST_SKIP() << "needs an X display (./test starts Xvfb)";
    TempFolder tmp;
    buildGameFolder(tmp);
    const std::string exe = tmp / "game/korvane.exe";
    ASSERT_TRUE(platform::copyFile(KV_STANDIN_GAME, exe));
    ::setenv("KV_STANDIN_REGISTRY", (tmp / "registry.reg").c_str(), 1);
    ::setenv("KV_STANDIN_REPORT", (tmp / "argv.txt").c_str(), 1);
    ::setenv("KV_STANDIN_QUIT_AFTER_MS", "6000", 1);
    const auto started = std::chrono::steady_clock::now();
    const platform::StartResult game = platform::startProgram(
        exe, " -D3D -1024 -game CAM_2A +name \"Big N\" -name x", tmp / "game");
    ::unsetenv("KV_STANDIN_QUIT_AFTER_MS");
    ::unsetenv("KV_STANDIN_REPORT");
    ::unsetenv("KV_STANDIN_REGISTRY");
    ASSERT_TRUE(game.ok) << game.error;

    platform::WindowSearch search;
    const long pid = game.processId;
    const auto running = [pid] { return ::kill(pid_t(pid), 0) == 0; };
    ASSERT_TRUE(waitFor(
        [&] {
            search = platform::findWindowByTitle("Korvane Tactics");
            return search.handle >= 1 || !running();
        },
        30));
    ASSERT_GE(search.handle, 1) << "the game ended before its window appeared";
    EXPECT_EQ(platform::windowProcessId(search.handle), game.processId);
    Lines argv;
    ASSERT_TRUE(platform::readTextLines(tmp / "argv.txt", argv));
    EXPECT_EQ(argv, (Lines{"-D3D", "-1024", "-game", "CAM_2A", "+name", "Big N", "-name", "x"}));

    EXPECT_EQ(platform::readMemory1(pid, colourAddress(5)), 5);
    const std::uint32_t power = platform::readMemory4(pid, powerAddress(3));
    EXPECT_GE(power, 1300u);
    EXPECT_LT(power, 1800u);
    EXPECT_GE(platform::readMemory4(pid, unitsAddress(7)), 17u);
    EXPECT_EQ(platform::readMemory2(pid, kDebugFlagAddress), 0);
    EXPECT_TRUE(platform::writeMemory2(pid, kDebugFlagAddress, 1));
    EXPECT_EQ(platform::readMemory2(pid, kDebugFlagAddress), 1);
    // The figures move every second.
    EXPECT_TRUE(waitFor([&] { return platform::readMemory4(pid, powerAddress(3)) != power; }, 3));

    EXPECT_TRUE(
        waitFor([&] { return platform::findWindowByTitle("Korvane Tactics").handle < 1; }, 30));
    EXPECT_TRUE(waitFor([&] { return !running(); }, 10));
    EXPECT_GE(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(6000));
}

} // namespace
} // namespace kv::standin
