// The Skirmish Debugger on the real stand-in game under X: opened from the main window's
// button, it finds the game's window, reads its process's memory and switches its debug
// mode, and freezes when the game quits.
#include "core/launcher.h"
#include "core/startup.h"
#include "platform/process_memory.h"
#include "platform/registry.h"
#include "tests/debugmon/standin_game_process.h"
#include "tests/support/scripted_ui.h"
#include "tools/demo/demo_world.h"
#include "ui/debugmon/kv_debug.h"
#include "ui/main/main_window.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <gtest/gtest.h>

#include <filesystem>

namespace kv::test {
namespace {

constexpr std::uint64_t kFlag = 0x0052611C;

QApplication& xApplication() {
    // The monitor's own windows on the X display too, not offscreen.
    ::unsetenv("QT_QPA_PLATFORM");
    static int argc = 1;
    static char name[] = "debugmon_display_tests";
    static char* argv[] = {name, nullptr};
    static auto* app = new QApplication(argc, argv);
    return *app;
}

bool pumpUntil(const std::function<bool()>& done, int ms) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > ms)
            return false;
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

struct Monitor {
    QPointer<ui::KVDebug> window;
    int updates = 0;

    template <typename T> T* child(const char* name) const {
        return window->findChild<T*>(QString::fromLatin1(name));
    }
    QString cell(int row, int player) const {
        return child<QTableWidget>("LstKvDebugInfo")->item(row, player + 1)->text();
    }
    QString status() const { return child<QLabel>("LblKvStatus")->text(); }
    QString debugMode() const { return child<QLabel>("LblKvDebugMode")->text(); }
    bool nextUpdate() {
        const int before = updates;
        return pumpUntil([&] { return updates > before; }, 2000);
    }
    std::vector<QString> cells() const {
        std::vector<QString> out;
        for (int r = 0; r < 5; ++r)
            for (int i = 0; i < 8; ++i)
                out.push_back(cell(r, i));
        return out;
    }
};

TEST(KVDebugOnTheGame, FindsReadsAndSwitchesTheRunningGameAndFreezesWhenItQuits) {
    if (!std::getenv("DISPLAY"))
        GTEST_SKIP() << "needs an X display (./test starts Xvfb)";
    xApplication();
    ASSERT_FALSE(gameWindowThere()) << "another game window is open on this display";

    // The launcher's start-up moves into its folder; come back before that folder goes.
    const std::string cwd = platform::currentDirectory();
    struct Back {
        std::string folder;
        ~Back() { platform::setCurrentDirectory(folder); }
    } back{cwd};
    TempFolder tmp;
    demo::DemoWorld world;
    std::string error;
    ASSERT_TRUE(demo::writeDemoWorld(tmp / "demo", false, world, error)) << error;
    ScriptedUi ui;
    auto registry = platform::makeRegistryBackend(tmp / "registry.reg");
    Launcher l(world.launcherFolder, ui, *registry, [](const std::string&) { return true; });
    ui::Main main(l);
    ASSERT_TRUE(runStartup(l, ""));
    main.show();

    auto* open = main.findChild<QPushButton*>(QStringLiteral("CmdKVDebug"));
    ASSERT_TRUE(open);
    open->click();
    open->click(); // raises the open one, no second window
    const auto windows = main.findChildren<ui::KVDebug*>();
    ASSERT_EQ(windows.size(), 1);
    Monitor m{windows.front()};
    EXPECT_TRUE(m.window->isVisible());
    EXPECT_EQ(m.window->windowTitle(), "Skirmish Debugger");
    EXPECT_FALSE(QApplication::activeModalWidget());
    QObject::connect(m.window->findChild<debugmon::MonitorClock*>(),
                     &debugmon::MonitorClock::updated, [&] { ++m.updates; });
    ASSERT_TRUE(pumpUntil([&] { return m.status() == "Korvane Not Found"; }, 1000));

    // The game starts the way a player starts it: the launcher's start button on the demo
    // world, with the stand-in as the demo's game.
    ASSERT_TRUE(platform::copyFile(KV_STANDIN_GAME, world.gameFolder + "korvane.exe"));
    ::setenv("KV_STANDIN_QUIT_AFTER_MS", "6000", 1);
    ::setenv("KV_STANDIN_REGISTRY", (tmp / "registry.reg").c_str(), 1);
    main.findChild<QPushButton*>(QStringLiteral("CmdStart"))->click();
    ::unsetenv("KV_STANDIN_QUIT_AFTER_MS");
    ::unsetenv("KV_STANDIN_REGISTRY");
    ASSERT_TRUE(l.launch.started) << l.launch.startError;
    QElapsedTimer clock;
    clock.start();
    qint64 appeared = -1, found = -1, figures = -1;
    ASSERT_TRUE(pumpUntil(
        [&] {
            if (appeared < 0 && gameWindowThere())
                appeared = clock.elapsed();
            if (found < 0 && m.status() == "Korvane Found")
                found = clock.elapsed();
            if (figures < 0 && !m.cell(0, 0).isEmpty())
                figures = clock.elapsed();
            return figures >= 0;
        },
        30000));
    ASSERT_GE(appeared, 0);
    // 100 ms and 500 ms by the timers; the rest is slack for a loaded machine.
    EXPECT_LE(found - appeared, 100 + 150) << "found " << found << " appeared " << appeared;
    EXPECT_LE(figures - found, 500 + 250) << "figures " << figures << " found " << found;
    const long pid = m.window->monitor().processId();
    ASSERT_GT(pid, 0);
    EXPECT_EQ(std::filesystem::read_symlink("/proc/" + std::to_string(pid) + "/exe").filename(),
              "korvane.exe");
    RecordProperty("foundAfterWindowMs", int(found - appeared));
    RecordProperty("figuresAfterFoundMs", int(figures - found));

    // What the monitor shows is what the game's memory holds; a game tick between the
    // two readings only costs a retry.
    const auto memoryCells = [pid] {
        std::vector<QString> out;
        const std::pair<int, std::uint64_t> rows[] = {
            {4, 0x038B8438}, {1, 0x00620D08}, {4, 0x00526828}, {4, 0x00526848}, {1, 0x047B822C}};
        const std::uint64_t strides[] = {12, 1, 4, 4, 452};
        for (std::size_t r = 0; r < 5; ++r)
            for (std::uint64_t i = 0; i < 8; ++i) {
                const std::uint64_t a = rows[r].second + strides[r] * i;
                const std::uint32_t v = rows[r].first == 4 ? platform::readMemory4(pid, a)
                                                           : platform::readMemory1(pid, a);
                out.push_back(r == 1 ? QString() : QString::number(std::int32_t(v)));
            }
        return out;
    };
    bool same = false;
    for (int attempt = 0; attempt < 4 && !same; ++attempt) {
        ASSERT_TRUE(m.nextUpdate());
        std::vector<QString> shown = m.cells();
        for (int i = 0; i < 8; ++i)
            shown[std::size_t(8 + i)].clear(); // colour names are checked below
        same = shown == memoryCells();
    }
    EXPECT_TRUE(same);
    const char* colours[] = {"Green", "Orange", "Grey", "Black", "Red", "Blue", "Pink", "Cyan"};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(m.cell(1, i), colours[i]);
    EXPECT_EQ(m.child<QLabel>("ShpPlayerColour5")->palette().color(QPalette::Window),
              QColor(0, 0, 255));
    // The game's figures move every second.
    const QString power = m.cell(0, 3);
    EXPECT_TRUE(pumpUntil([&] { return m.cell(0, 3) != power; }, 2500));

    EXPECT_EQ(m.debugMode(), "False");
    m.child<QPushButton>("CmdEnableKVDebug")->click();
    EXPECT_EQ(platform::readMemory2(pid, kFlag), 1);
    EXPECT_EQ(m.debugMode(), "False");
    ASSERT_TRUE(m.nextUpdate());
    EXPECT_EQ(m.debugMode(), "True");
    m.child<QPushButton>("CmdDisableKVDebug")->click();
    EXPECT_EQ(platform::readMemory2(pid, kFlag), 0);
    ASSERT_TRUE(m.nextUpdate());
    EXPECT_EQ(m.debugMode(), "False");

    // The game quits by itself: the monitor says so within a search tick and keeps the
    // game's last figures.
    ASSERT_TRUE(pumpUntil([&] { return !gameWindowThere(); }, 15000));
    ASSERT_TRUE(pumpUntil([&] { return m.status() == "Korvane Not Found"; }, 400));
    EXPECT_FALSE(m.child<QTimer>("TimerUpdate")->isActive());
    const std::vector<QString> last = m.cells();
    pumpUntil([] { return false; }, 700);
    EXPECT_EQ(m.cells(), last);
    EXPECT_EQ(m.cell(1, 5), "Blue");

    m.window->close();
    ASSERT_TRUE(m.window);
    EXPECT_FALSE(m.child<QTimer>("TimerGetKvWindow")->isActive());
    EXPECT_FALSE(m.child<QTimer>("TimerUpdate")->isActive());
    // Nothing is kept between openings: a closed monitor goes, the next one starts afresh.
    pumpUntil([&] { return !m.window; }, 1000);
    EXPECT_FALSE(m.window);
    open->click();
    ASSERT_EQ(main.findChildren<ui::KVDebug*>().size(), 1);
    EXPECT_TRUE(
        main.findChild<ui::KVDebug*>()->findChild<QTableWidget*>()->item(0, 1)->text().isEmpty());
    main.findChild<ui::KVDebug*>()->close();
}

} // namespace
} // namespace kv::test
