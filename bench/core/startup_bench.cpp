// Start-up to a usable main window on the demo world: the Launcher, the window, the
// whole start-up sequence, showing the window and letting its first events run.
#include "core/launcher.h"
#include "core/startup.h"
#include "platform/registry.h"
#include "tools/demo/demo_world.h"
#include "ui/main/main_window.h"
#include "ui/qt_ui.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>

namespace {

std::string g_root;

void StartupToUsableWindow(benchmark::State& state) {
    kv::demo::DemoWorld world;
    std::string error;
    if (!kv::demo::writeDemoWorld(g_root + "/demo", true, world, error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    auto registry = kv::platform::makeRegistryBackend(g_root + "/registry.reg");
    kv::ui::QtUi ui;
    for (auto _ : state) {
        kv::Launcher launcher(world.launcherFolder, ui, *registry, {});
        kv::ui::Main window(launcher);
        ui.setParent(&window);
        if (!kv::runStartup(launcher, "")) {
            state.SkipWithError("start-up ended");
            return;
        }
        window.show();
        QApplication::processEvents();
        benchmark::DoNotOptimize(window.isVisible());
        ui.setParent(nullptr);
    }
}
BENCHMARK(StartupToUsableWindow)->Unit(benchmark::kMillisecond)->MinTime(3.0);

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
