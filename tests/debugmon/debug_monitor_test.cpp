// The monitor against a game the test controls: what it reads, in which order, what it
// shows for the values it gets, and that nothing moves while the game is not found.
#include "debugmon/colour_table.h"
#include "debugmon/debug_monitor.h"
#include "debugmon/monitor_clock.h"
#include "tests/debugmon/recording_game_access.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <gtest/gtest.h>

namespace kv::test {
namespace {

using debugmon::DebugMonitor;
using debugmon::reportCells;

// The game release's table, written out independently of the monitor's own.
constexpr std::uint64_t kPower = 0x038B8438, kColour = 0x00620D08, kTrucks = 0x00526828,
                        kUnits = 0x00526848, kDerricks = 0x047B822C, kFlag = 0x0052611C;

struct Game {
    RecordingGameAccess access;
    DebugMonitor monitor{access};
    debugmon::ReportCells update() {
        monitor.search();
        monitor.update();
        return reportCells(monitor.figures());
    }
};

TEST(DebugMonitor, ReadsFortyOneValuesInTheGameTableOrderFromTheProcessFoundOncePerSearch) {
    Game g;
    g.access.window = 9;
    g.update();
    g.monitor.update();
    std::vector<MemoryAccess> order, twice;
    const struct {
        int width;
        std::uint64_t first, stride;
    } groups[] = {
        {4, kPower, 12}, {1, kColour, 1}, {4, kTrucks, 4}, {4, kUnits, 4}, {1, kDerricks, 452}};
    for (const auto& group : groups)
        for (std::uint64_t i = 0; i < 8; ++i)
            order.push_back({'r', group.width, group.first + group.stride * i, 4242, 0});
    order.push_back({'r', 2, kFlag, 4242, 0});
    for (int i = 0; i < 2; ++i)
        twice.insert(twice.end(), order.begin(), order.end());
    EXPECT_EQ(g.access.log, twice);
    // Updates reuse the search's process: one lookup per search, none per value.
    EXPECT_EQ(g.access.processLookups, 1);
}

// 4-byte figures show the whole signed 32-bit value; bytes show 0 to 255.
TEST(DebugMonitor, ShowsFiguresOutsideTheSixteenBitRangeAsTheGameHoldsThem) {
    const struct {
        std::uint32_t raw;
        const char* shown;
    } cases[] = {{32767, "32767"},           {32768, "32768"},           {0xFFFF8000, "-32768"},
                 {0xFFFF7FFF, "-32769"},     {0xFFFFFFFF, "-1"},         {0x00012345, "74565"},
                 {0x7FFFFFFF, "2147483647"}, {0x80000000, "-2147483648"}};
    for (const auto& c : cases) {
        Game g;
        g.access.window = 1;
        g.access.memory = {{kPower + 12 * 3, c.raw}, {kTrucks + 4 * 6, c.raw}, {kUnits, c.raw}};
        const debugmon::ReportCells cells = g.update();
        EXPECT_EQ(cells[0][3] + " " + cells[2][6] + " " + cells[3][0] + " " + cells[0][2],
                  std::string(c.shown) + " " + c.shown + " " + c.shown + " 0");
    }
    Game g;
    g.access.window = 1;
    g.access.memory = {{kDerricks + 452 * 7, 0x1FF}, {kColour + 2, 0x105}, {kColour + 3, 8}};
    const debugmon::ReportCells cells = g.update();
    // One byte of the wider value; colour indexes past the eight known show their number.
    EXPECT_EQ(cells[4][7] + cells[1][2] + cells[1][3] + cells[1][4], "255BlueUnknown (8)Green");
    const debugmon::PlayerColour unknown = debugmon::playerColour(255);
    EXPECT_EQ(unknown.name + (unknown.known ? "" : " not known"), "Unknown (255) not known");
    EXPECT_EQ(unknown.swatch, (debugmon::Rgb{255, 255, 255}));
}

TEST(DebugMonitor, ButtonsWriteOnlyWhileTheGameIsFoundAndTheTableFreezesWhenItGoes) {
    Game g;
    // Never found: nothing is read or written.
    g.update();
    EXPECT_FALSE(g.monitor.enableDebug() || g.monitor.disableDebug() || g.monitor.command1());
    EXPECT_TRUE(g.access.log.empty());

    g.access.window = 7;
    g.update();
    g.access.log.clear();
    EXPECT_TRUE(g.monitor.enableDebug());
    EXPECT_EQ(g.update()[0][0] + debugmon::debugFlagText(g.monitor.figures()), "0True");
    EXPECT_TRUE(g.monitor.disableDebug());
    EXPECT_TRUE(g.monitor.command1());
    EXPECT_EQ(g.access.log[0], (MemoryAccess{'w', 2, kFlag, 4242, 1}));
    EXPECT_EQ(g.access.log[42], (MemoryAccess{'w', 2, kFlag, 4242, 0}));
    EXPECT_EQ(g.access.log[43], (MemoryAccess{'w', 1, kColour, 4242, 7}));
    EXPECT_EQ(g.update()[1][0] + debugmon::debugFlagText(g.monitor.figures()), "CyanFalse");
    g.access.memory[kFlag] = 0x100; // any non-zero flag is debug mode on
    EXPECT_STREQ((g.update(), debugmon::debugFlagText(g.monitor.figures())), "True");
    g.access.writesSucceed = false;
    EXPECT_FALSE(g.monitor.disableDebug());

    // The game goes: its last figures stay, and the buttons are inert again.
    const debugmon::GameFigures last = g.monitor.figures();
    g.access.window = 0;
    g.access.writesSucceed = true;
    g.access.memory[kPower] = 999;
    g.access.log.clear();
    g.update();
    EXPECT_FALSE(g.monitor.enableDebug() || g.monitor.disableDebug() || g.monitor.command1());
    EXPECT_TRUE(g.access.log.empty());
    EXPECT_EQ(g.monitor.figures(), last);
}

void runFor(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

// The search ticks every 100 ms and must not keep restarting the 500 ms update timer, or
// no update would ever come.
TEST(MonitorClock, SearchesEvery100MsAndUpdatesEvery500MsOnlyWhileTheGameIsFound) {
    int argc = 1;
    char name[] = "debugmon_tests";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    QObject owner;
    Game g;
    debugmon::MonitorClock clock(g.monitor, &owner);
    auto* search = owner.findChild<QTimer*>(QStringLiteral("TimerGetKvWindow"));
    auto* update = owner.findChild<QTimer*>(QStringLiteral("TimerUpdate"));
    ASSERT_TRUE(search && update);
    int updates = 0;
    QObject::connect(&clock, &debugmon::MonitorClock::updated, [&] { ++updates; });

    clock.start();
    runFor(350);
    EXPECT_EQ(search->interval(), 100);
    EXPECT_FALSE(update->isActive());
    EXPECT_TRUE(g.access.log.empty());

    g.access.window = 3;
    runFor(1150);
    EXPECT_GE(g.access.processLookups, 6);
    EXPECT_EQ(update->interval(), 500);
    EXPECT_TRUE(updates >= 1 && updates <= 2) << updates;

    g.access.window = -1;
    runFor(250);
    EXPECT_FALSE(update->isActive());
    const std::size_t accesses = g.access.log.size();
    runFor(600);
    EXPECT_EQ(g.access.log.size(), accesses);
    clock.stop();
    EXPECT_FALSE(search->isActive() || update->isActive());
}

} // namespace
} // namespace kv::test
