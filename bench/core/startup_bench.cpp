// Start-up to a usable main window on the demo world: the Launcher, the window, the
// whole start-up sequence, showing the window and letting its first events run.
#include "content/launcher_wiring.h"
#include "core/launcher.h"
#include "core/startup.h"
#include "platform/registry.h"
#include "tools/demo/demo_world.h"
#include "tools/worldgen/content_files.h"
#include "ui/main/main_window.h"
#include "ui/qt_ui.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>

namespace {

std::string g_root;

// The demo world grown to a large library: 1000 AIs (half with description files),
// 100 rules sets and 300 archives in the game folder.
bool growWorld(const kv::demo::DemoWorld& world) {
    using namespace kv::worldgen;
    for (int i = 0; i < 1000; ++i) {
        const std::string name = "Bench AI " + std::to_string(i);
        if (!writeContentFile(world.launcherFolder + "Mods/SkirmishAI/" + name + ".kvai",
                              sampleAiFile(name, 50000)))
            return false;
        if (i % 2 == 0 && !writeContentFile(world.launcherFolder + "Mods/INI/AI/" + name + ".ini",
                                            descriptionFileText({})))
            return false;
    }
    for (int i = 0; i < 100; ++i)
        if (!writeRulesSet(world.launcherFolder, "Bench Rules " + std::to_string(i), "bench"))
            return false;
    for (int i = 0; i < 300; ++i) {
        const std::string name = "bench" + std::to_string(i);
        if (!writeContentFile(world.gameFolder + name + (i % 3 ? ".kdg" : ".kvw"),
                              archivePlaceholder(name, 4096)))
            return false;
    }
    return true;
}

void StartupToUsableWindow(benchmark::State& state) {
    kv::demo::DemoWorld world;
    std::string error;
    const bool large = state.range(0) != 0;
    if (!kv::demo::writeDemoWorld(g_root + (large ? "/large" : "/demo"), true, world, error) ||
        (large && !growWorld(world))) {
        state.SkipWithError(error.empty() ? "could not write the world" : error.c_str());
        return;
    }
    auto registry = kv::platform::makeRegistryBackend(g_root + "/registry.reg");
    kv::ui::QtUi ui;
    for (auto _ : state) {
        kv::Launcher launcher(world.launcherFolder, ui, *registry, {});
        kv::content::wireContent(launcher);
        kv::ui::Main window(launcher);
        ui.setParent(&window);
        if (!kv::runStartup(launcher, "")) {
            state.SkipWithError("start-up ended");
            return;
        }
        window.show();
        QApplication::processEvents();
        benchmark::DoNotOptimize(window.isVisible());
        state.counters["AIs"] = double(launcher.content.ais.records.size());
        ui.setParent(nullptr);
    }
}
BENCHMARK(StartupToUsableWindow)
    ->ArgName("large")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(3.0);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::string pattern = (std::filesystem::temp_directory_path() / "kvbench-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        return 1;
    g_root = pattern;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(g_root);
    return 0;
}
