// The cost of the debug monitor's timer work against a real game process: the window
// search with its one process lookup, the 41 reads of an update, and both together as one
// 500 ms tick does them. Budget: 5 ms per update.
#include "debugmon/debug_monitor.h"
#include "debugmon/game_access.h"
#include "platform/shell.h"
#include "platform/windows.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <string>
#include <thread>

namespace {

// The stand-in game, started once for all benchmarks and ended at exit.
class Game {
public:
    static Game& instance() {
        static Game game;
        return game;
    }
    bool ready() const { return ready_; }
    const std::string& problem() const { return problem_; }

    ~Game() {
        if (processId_ > 0)
            ::kill(pid_t(processId_), SIGTERM);
    }

private:
    Game() {
        if (!std::getenv("DISPLAY")) {
            problem_ = "no DISPLAY (run_update_bench.sh starts Xvfb)";
            return;
        }
        if (kv::platform::findWindowByTitle(kv::debugmon::kGameWindowTitle).handle < 1) {
            const std::string exe = KV_STANDIN_GAME;
            const auto r = kv::platform::startProgram(exe, "", exe.substr(0, exe.rfind('/')));
            if (!r.ok) {
                problem_ = r.error;
                return;
            }
            processId_ = r.processId;
        }
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (kv::platform::findWindowByTitle(kv::debugmon::kGameWindowTitle).handle < 1) {
            if (std::chrono::steady_clock::now() > until) {
                problem_ = "the game's window did not appear";
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        ready_ = true;
    }

    long processId_ = 0;
    bool ready_ = false;
    std::string problem_;
};

bool gameReady(benchmark::State& state) {
    if (Game::instance().ready())
        return true;
    state.SkipWithError(Game::instance().problem().c_str());
    return false;
}

void SearchAndUpdate(benchmark::State& state) {
    if (!gameReady(state))
        return;
    kv::debugmon::PlatformGameAccess access;
    kv::debugmon::DebugMonitor monitor(access);
    for (auto _ : state) {
        monitor.search();
        monitor.update();
        benchmark::DoNotOptimize(monitor.figures());
    }
    if (!monitor.found() || monitor.figures().players[5].colour != 5)
        state.SkipWithError("the figures were not read from the game");
}
BENCHMARK(SearchAndUpdate)->Unit(benchmark::kMillisecond);

void UpdateOnly(benchmark::State& state) {
    if (!gameReady(state))
        return;
    kv::debugmon::PlatformGameAccess access;
    kv::debugmon::DebugMonitor monitor(access);
    monitor.search();
    for (auto _ : state) {
        monitor.update();
        benchmark::DoNotOptimize(monitor.figures());
    }
}
BENCHMARK(UpdateOnly)->Unit(benchmark::kMicrosecond);

void SearchOnly(benchmark::State& state) {
    if (!gameReady(state))
        return;
    kv::debugmon::PlatformGameAccess access;
    kv::debugmon::DebugMonitor monitor(access);
    for (auto _ : state)
        benchmark::DoNotOptimize(monitor.search());
}
BENCHMARK(SearchOnly)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
