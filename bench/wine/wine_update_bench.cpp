// One update of the debug monitor against the Windows stand-in game running under Wine:
// the window looked up by title, its process id, and the 42 reads in the monitor's order
// (power, colour, trucks, units, derricks for the eight players, then the debug flag).
// The budget is 5 ms per update. Needs Wine and an X display (xvfb-run -a works).
#include "platform/files.h"
#include "platform/process_memory.h"
#include "platform/shell.h"
#include "platform/windows.h"
#include "tests/wine/wine_prefix.h"
#include "tools/standin-game/memory_table.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace {

using namespace kv;

long gamePid() {
    return platform::windowProcessId(platform::findWindowByTitle("Korvane Tactics").handle);
}

std::uint64_t readFigures(long pid) {
    std::uint64_t sum = 0;
    for (int i = 0; i < standin::kPlayers; ++i)
        sum += platform::readMemory4(pid, standin::powerAddress(i));
    for (int i = 0; i < standin::kPlayers; ++i)
        sum += platform::readMemory1(pid, standin::colourAddress(i));
    for (int i = 0; i < standin::kPlayers; ++i)
        sum += platform::readMemory4(pid, standin::trucksAddress(i));
    for (int i = 0; i < standin::kPlayers; ++i)
        sum += platform::readMemory4(pid, standin::unitsAddress(i));
    for (int i = 0; i < standin::kPlayers; ++i)
        sum += platform::readMemory1(pid, standin::derricksAddress(i));
    return sum + platform::readMemory2(pid, standin::kDebugFlagAddress);
}

void WineMonitorUpdate(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(readFigures(gamePid()));
}
BENCHMARK(WineMonitorUpdate)->Unit(benchmark::kMillisecond);

// The two halves of an update, to see which one a slow figure comes from.
void WineWindowLookup(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(gamePid());
}
BENCHMARK(WineWindowLookup)->Unit(benchmark::kMillisecond);

void WineFortyTwoReads(benchmark::State& state) {
    const long pid = gamePid();
    for (auto _ : state)
        benchmark::DoNotOptimize(readFigures(pid));
}
BENCHMARK(WineFortyTwoReads)->Unit(benchmark::kMillisecond);

bool waitForGameWindow(int seconds) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (platform::findWindowByTitle("Korvane Tactics").handle < 1) {
        if (std::chrono::steady_clock::now() > until)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (!test::wineInstalled() || !std::getenv("DISPLAY") ||
        !platform::fileExists(KV_STANDIN_WIN32)) {
        std::fprintf(stderr, "needs Wine, an X display and the Windows stand-in game\n");
        return 1;
    }
    test::WinePrefix prefix(KV_WINE_PREFIX_SCRIPT, KV_WINE_TEMPLATE);
    if (!prefix.ready()) {
        std::fprintf(stderr, "%s\n", prefix.error().c_str());
        return 1;
    }
    const platform::StartResult game = platform::startProgram(KV_STANDIN_WIN32, "");
    if (!game.ok || !waitForGameWindow(60)) {
        std::fprintf(stderr, "the Windows stand-in game did not show its window\n");
        return 1;
    }
    // Every figure must come from the game, or the reads measured nothing.
    const long pid =
        platform::windowProcessId(platform::findWindowByTitle("Korvane Tactics").handle);
    if (platform::readMemory4(pid, standin::powerAddress(0)) == 0) {
        std::fprintf(stderr, "the game's figures cannot be read\n");
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0; // the prefix's wineserver ends the game
}
