// Costs of the platform calls the launcher makes on timers: the debug monitor reads 42
// values twice a second, the close watch looks the game's window up every 2 s, and every
// registry value the launch writes is a locked rewrite of the store.
#include "platform/process_memory.h"
#include "platform/registry.h"
#include "platform/windows.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

std::uint32_t figure = 12345;

void ReadMemory4(benchmark::State& state) {
    const long self = long(::getpid());
    const auto address = std::uint64_t(reinterpret_cast<std::uintptr_t>(&figure));
    for (auto _ : state)
        benchmark::DoNotOptimize(kv::platform::readMemory4(self, address));
}
BENCHMARK(ReadMemory4);

void FindWindowByTitle(benchmark::State& state) {
    if (!std::getenv("DISPLAY")) {
        state.SkipWithError("no DISPLAY");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(kv::platform::findWindowByTitle("Korvane Tactics"));
}
BENCHMARK(FindWindowByTitle)->Unit(benchmark::kMicrosecond);

void RegistrySetDword(benchmark::State& state) {
    char folder[] = "/tmp/kvbench-XXXXXX";
    if (!::mkdtemp(folder)) {
        state.SkipWithError("mkdtemp failed");
        return;
    }
    const std::string store = std::string(folder) + "/registry.reg";
    auto registry = kv::platform::makeRegistryBackend(store);
    const auto root = kv::platform::RegistryRoot::LocalMachine;
    const char* key = "Software\\Bramble Studios\\KorvaneTactics";
    registry->createKey(root, key);
    std::uint32_t n = 0;
    for (auto _ : state)
        registry->setDword(root, key, "scroll", ++n);
    ::unlink(store.c_str());
    ::unlink((store + ".lock").c_str());
    ::rmdir(folder);
}
BENCHMARK(RegistrySetDword)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
