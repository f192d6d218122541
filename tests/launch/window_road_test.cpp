// The demo's road through the real main window under X: start, the stand-in game's
// window, its end, and the launcher's window back in normal state.
#include "launcher/launcher.h"
#include "launcher/startup.h"
#include "platform/files.h"
#include "platform/registry.h"
#include "platform/windows.h"
#include "tests/support/scripted_ui.h"
#include "tests/support/temp_folder.h"
#include "tools/demo/demo_world.h"
#include "ui/main/main_window.h"

#include <QApplication>
#include <QPushButton>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

namespace kv::test {

namespace {

bool gameWindowShown() {
    return platform::findWindowByTitle(kGameWindowTitle).handle >= 1;
}

} // namespace

TEST(WindowRoad, StartGameWindowQuitLauncherBack) {
    if (!std::getenv("DISPLAY"))
        GTEST_SKIP() << "needs an X display (./test starts Xvfb)";
    static int argc = 1;
    static char name[] = "launch_window_tests";
    static char* argv[] = {name, nullptr};
    static auto* app = new QApplication(argc, argv);
    (void)app;

    TempFolder tmp;
    demo::DemoWorld world;
    std::string error;
    ASSERT_TRUE(demo::writeDemoWorld(tmp / "demo", false, world, error)) << error;
    ASSERT_TRUE(platform::copyFile(KV_STANDIN_GAME, world.gameFolder + "korvane.exe"));
    ScriptedUi ui;
    auto registry = platform::makeRegistryBackend(tmp / "registry.reg");
    Launcher l(world.launcherFolder, ui, *registry, [](const std::string&) { return true; });
    l.launch.closeWatch.setInterval(500);
    ui::Main window(l);
    ASSERT_TRUE(runStartup(l, ""));
    window.show();
    QApplication::processEvents();

    ::setenv("KV_STANDIN_QUIT_AFTER_MS", "2500", 1);
    ::setenv("KV_STANDIN_REGISTRY", (tmp / "registry.reg").c_str(), 1);
    window.findChild<QPushButton*>(QStringLiteral("CmdStart"))->click();
    ::unsetenv("KV_STANDIN_QUIT_AFTER_MS");
    ::unsetenv("KV_STANDIN_REGISTRY");
    ASSERT_TRUE(l.launch.started) << l.launch.startError;
    EXPECT_TRUE(window.isMinimized());

    // No event may run before the game's window is there, or the first tick ends the watch.
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!gameWindowShown() && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    ASSERT_TRUE(gameWindowShown());

    while (l.launch.closeWatch.isActive() && std::chrono::steady_clock::now() < until)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    QApplication::processEvents();
    EXPECT_FALSE(gameWindowShown());
    EXPECT_FALSE(l.wasMinimised);
    EXPECT_FALSE(window.isMinimized());
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(l.alwaysOnTop);
    EXPECT_TRUE(ui.messages().empty());
}

} // namespace kv::test
