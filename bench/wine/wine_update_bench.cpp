// One update of the debug monitor against the Windows stand-in game running under Wine:
// the window looked up by title with its process id, and the 41 reads in the monitor's
// order (power, colour, trucks, units, derricks for the eight players, then the flag).
// The budget is 5 ms per update. Needs Wine and an X display (xvfb-run -a works).
#include "debugmon/debug_monitor.h"
#include "debugmon/game_access.h"
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

// The monitor as the window drives it: a search (title and owner in one pass) and the
// 41 reads of an update, through the platform layer.
void WineMonitorUpdate(benchmark::State& state) {
    debugmon::PlatformGameAccess access;
    debugmon::DebugMonitor monitor(access);
    for (auto _ : state) {
        monitor.search();
        monitor.update();
    }
    if (!monitor.found())
        state.SkipWithError("the game went away");
}
BENCHMARK(WineMonitorUpdate)->Unit(benchmark::kMillisecond);

// The two halves of an update, to see which one a slow figure comes from.
void WineWindowSearch(benchmark::State& state) {
    debugmon::PlatformGameAccess access;
    debugmon::DebugMonitor monitor(access);
    for (auto _ : state)
        benchmark::DoNotOptimize(monitor.search());
}
BENCHMARK(WineWindowSearch)->Unit(benchmark::kMillisecond);

void WineReads(benchmark::State& state) {
    debugmon::PlatformGameAccess access;
    debugmon::DebugMonitor monitor(access);
    monitor.search();
    for (auto _ : state)
        monitor.update();
}
BENCHMARK(WineReads)->Unit(benchmark::kMillisecond);

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
    const long pid = platform::findWindowByTitle("Korvane Tactics").processId;
    if (platform::readMemory4(pid, standin::powerAddress(0)) == 0) {
        std::fprintf(stderr, "the game's figures cannot be read\n");
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0; // the prefix's wineserver ends the game
}
