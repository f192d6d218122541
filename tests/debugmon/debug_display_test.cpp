// The Skirmish Debugger on the real stand-in game under X, on the demo world: opened from
// the main window's button, it finds the game started by "Start KV", reads its process's
// memory, switches its debug mode, and freezes when the game quits; the main window goes
// down with the start and comes back once the game's window has gone.
#include "platform/process_memory.h"
#include "tests/debugmon/standin_game_process.h"
#include "tests/main_window/demo_window.h"
#include "tests/support/wait.h"
#include "ui/debugmon/kv_debug.h"

#include <QtWidgets>

#include <filesystem>

namespace kv::test {
namespace {

struct Monitor {
    QPointer<ui::KVDebug> window;
    int updates = 0;

    template <typename T> T* child(const char* name) const {
        return window->findChild<T*>(QString::fromLatin1(name));
    }
    QTableWidget* list() const { return child<QTableWidget>("LstKvDebugInfo"); }
    QString cell(int row, int player) const { return list()->item(row, player + 1)->text(); }
    QString status() const { return child<QLabel>("LblKvStatus")->text(); }
    QString debugMode() const { return child<QLabel>("LblKvDebugMode")->text(); }
    bool nextUpdate() {
        const int before = updates;
        return pumpUntil([&] { return updates > before; }, 2000);
    }
    QStringList cells() const {
        QStringList out;
        for (int r = 0; r < 5; ++r)
            for (int i = 0; i < 8; ++i)
                out << cell(r, i);
        return out;
    }
};

// What the game's memory holds, as the table shows it, colour indexes as names.
QStringList gameMemory(long pid) {
    static const char* names[] = {"Green", "Orange", "Grey", "Black",
                                  "Red",   "Blue",   "Pink", "Cyan"};
    QStringList out;
    for (std::uint64_t i = 0; i < 8; ++i)
        out << QString::number(std::int32_t(platform::readMemory4(pid, 0x038B8438 + 12 * i)));
    for (std::uint64_t i = 0; i < 8; ++i)
        out << names[platform::readMemory1(pid, 0x00620D08 + i) % 8];
    for (std::uint64_t i = 0; i < 8; ++i)
        out << QString::number(platform::readMemory4(pid, 0x00526828 + 4 * i));
    for (std::uint64_t i = 0; i < 8; ++i)
        out << QString::number(platform::readMemory4(pid, 0x00526848 + 4 * i));
    for (std::uint64_t i = 0; i < 8; ++i)
        out << QString::number(platform::readMemory1(pid, 0x047B822C + 452 * i));
    return out;
}

TEST(KVDebugOnTheGame, FindsReadsAndSwitchesTheRunningGameAndFreezesWhenItQuits) {
    if (!std::getenv("DISPLAY"))
        GTEST_SKIP() << "needs an X display (./test starts Xvfb)";
    ::unsetenv("QT_QPA_PLATFORM"); // the monitor's own windows on the X display too
    application();
    ASSERT_FALSE(gameWindowThere()) << "another game window is open on this display";

    // The launcher's start-up moves into its folder; come back before that folder goes.
    struct Back {
        std::string folder = platform::currentDirectory();
        ~Back() { platform::setCurrentDirectory(folder); }
    } back;
    DemoWindow d;
    d.start();
    const TempFolder& tmp = d.tmp;
    const demo::DemoWorld& world = d.world;
    Launcher& l = *d.launcher;
    ui::Main& main = *d.window;

    auto* open = main.findChild<QPushButton*>(QStringLiteral("CmdKVDebug"));
    ASSERT_TRUE(open);
    open->click();
    open->click(); // raises the open one, no second window
    ASSERT_EQ(main.findChildren<ui::KVDebug*>().size(), 1);
    Monitor m{main.findChild<ui::KVDebug*>()};
    EXPECT_TRUE(m.window->isVisible() && !QApplication::activeModalWidget());
    QObject::connect(m.window->findChild<debugmon::MonitorClock*>(),
                     &debugmon::MonitorClock::updated, [&] { ++m.updates; });
    ASSERT_TRUE(pumpUntil([&] { return m.status() == "Korvane Not Found"; }, 1000));
    EXPECT_FALSE(m.child<QTimer>("TimerUpdate")->isActive());

    // The game starts the way a player starts it, with the stand-in as the demo's game.
    ASSERT_TRUE(platform::copyFile(KV_STANDIN_GAME, world.gameFolder + "korvane.exe"));
    ::setenv("KV_STANDIN_QUIT_AFTER_MS", "6000", 1);
    ::setenv("KV_STANDIN_REGISTRY", (tmp / "registry.reg").c_str(), 1);
    main.findChild<QPushButton*>(QStringLiteral("CmdStart"))->click();
    ::unsetenv("KV_STANDIN_QUIT_AFTER_MS");
    ::unsetenv("KV_STANDIN_REGISTRY");
    ASSERT_TRUE(l.launch.started) << l.launch.startError;
    EXPECT_TRUE(main.isMinimized());
    // Found by the search tick, figures from the update tick.
    ASSERT_TRUE(pumpUntil([&] { return !m.cell(0, 0).isEmpty(); }, 30000));
    EXPECT_EQ(m.status(), "Korvane Found");
    const long pid = m.window->monitor().processId();
    ASSERT_GT(pid, 0);
    EXPECT_EQ(std::filesystem::read_symlink("/proc/" + std::to_string(pid) + "/exe").filename(),
              "korvane.exe");

    // The table is the game's memory; a game tick between the two readings costs a retry.
    bool same = false;
    for (int attempt = 0; attempt < 4 && !same; ++attempt)
        same = m.nextUpdate() && m.cells() == gameMemory(pid);
    EXPECT_TRUE(same) << m.cells().join(",").toStdString();
    EXPECT_EQ(m.child<QLabel>("ShpPlayerColour5")->palette().color(QPalette::Window),
              QColor(0, 0, 255));

    // The label follows the game's flag at the next update, not the click.
    EXPECT_EQ(m.debugMode(), "False");
    m.child<QPushButton>("CmdEnableKVDebug")->click();
    EXPECT_EQ(platform::readMemory2(pid, 0x0052611C), 1);
    EXPECT_EQ(m.debugMode(), "False");
    ASSERT_TRUE(m.nextUpdate());
    EXPECT_EQ(m.debugMode(), "True");
    m.child<QPushButton>("CmdDisableKVDebug")->click();
    EXPECT_EQ(platform::readMemory2(pid, 0x0052611C), 0);
    ASSERT_TRUE(m.nextUpdate());
    EXPECT_EQ(m.debugMode(), "False");

    // The game quits by itself: a search tick later the monitor says so and keeps the
    // game's last figures.
    ASSERT_TRUE(pumpUntil([&] { return !gameWindowThere(); }, 15000));
    ASSERT_TRUE(pumpUntil([&] { return m.status() == "Korvane Not Found"; }, 400));
    EXPECT_FALSE(m.child<QTimer>("TimerUpdate")->isActive());
    const QStringList last = m.cells();
    pumpUntil([] { return false; }, 700);
    EXPECT_EQ(m.cells(), last);
    EXPECT_TRUE(pumpUntil([&] { return !main.isMinimized(); }, kCloseWatchIntervalMs + 1000));
    EXPECT_TRUE(main.isVisible() && !l.wasMinimised && !l.alwaysOnTop);

    m.window->close();
    // Nothing is kept between openings: the closed monitor goes, its timers with it.
    EXPECT_TRUE(pumpUntil([&] { return !m.window; }, 1000));
}

} // namespace
} // namespace kv::test
