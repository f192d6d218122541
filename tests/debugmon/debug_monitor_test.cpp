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

constexpr std::uint64_t kFlag = 0x0052611C;

std::uint64_t power(int i) {
    return 0x038B8438 + 12 * std::uint64_t(i);
}
std::uint64_t colour(int i) {
    return 0x00620D08 + std::uint64_t(i);
}
std::uint64_t trucks(int i) {
    return 0x00526828 + 4 * std::uint64_t(i);
}
std::uint64_t units(int i) {
    return 0x00526848 + 4 * std::uint64_t(i);
}
std::uint64_t derricks(int i) {
    return 0x047B822C + 452 * std::uint64_t(i);
}

TEST(DebugMonitor, ReadsFortyOneValuesInTheGameTableOrderFromTheProcessFoundOncePerSearch) {
    RecordingGameAccess game;
    game.window = 9;
    DebugMonitor monitor(game);
    ASSERT_TRUE(monitor.search());
    EXPECT_EQ(game.processLookups, 1);
    monitor.update();
    monitor.update();

    std::vector<MemoryAccess> order;
    const std::pair<int, std::uint64_t (*)(int)> groups[] = {
        {4, power}, {1, colour}, {4, trucks}, {4, units}, {1, derricks}};
    for (const auto& [width, address] : groups)
        for (int i = 0; i < 8; ++i)
            order.push_back({'r', width, address(i), 4242, 0});
    order.push_back({'r', 2, kFlag, 4242, 0});
    ASSERT_EQ(order.size(), 41u);
    std::vector<MemoryAccess> twice = order;
    twice.insert(twice.end(), order.begin(), order.end());
    EXPECT_EQ(game.log, twice);
    // Updates reuse the search's process; only the next search looks it up again.
    EXPECT_EQ(game.processLookups, 1);
    monitor.search();
    EXPECT_EQ(game.processLookups, 2);
}

// 4-byte figures show the whole signed 32-bit value; bytes show 0 to 255.
TEST(DebugMonitor, ShowsFiguresOutsideTheSixteenBitRangeAsTheGameHoldsThem) {
    const struct {
        std::uint32_t raw;
        const char* shown;
    } cases[] = {
        {0, "0"},
        {32767, "32767"},
        {32768, "32768"},
        {0xFFFF8000, "-32768"},
        {0xFFFF7FFF, "-32769"},
        {0xFFFFFFFF, "-1"},
        {0x00012345, "74565"},
        {0x7FFFFFFF, "2147483647"},
        {0x80000000, "-2147483648"},
    };
    for (const auto& c : cases) {
        RecordingGameAccess game;
        game.window = 1;
        game.memory = {{power(3), c.raw}, {trucks(6), c.raw}, {units(0), c.raw}};
        DebugMonitor monitor(game);
        monitor.search();
        monitor.update();
        const debugmon::ReportCells cells = debugmon::reportCells(monitor.figures());
        EXPECT_EQ(cells[0][3], c.shown) << c.raw;
        EXPECT_EQ(cells[2][6], c.shown) << c.raw;
        EXPECT_EQ(cells[3][0], c.shown) << c.raw;
        EXPECT_EQ(cells[0][2], "0");
    }
    RecordingGameAccess game;
    game.window = 1;
    // Only the low byte of the wider memory is the derrick count.
    game.memory = {{derricks(7), 0x1FF}, {derricks(1), 0x80}};
    DebugMonitor monitor(game);
    monitor.search();
    monitor.update();
    const debugmon::ReportCells cells = debugmon::reportCells(monitor.figures());
    EXPECT_EQ(cells[4][7], "255");
    EXPECT_EQ(cells[4][1], "128");
}

TEST(DebugMonitor, ColourIndexesNameTheirColourAndUnknownOnesShowTheirNumber) {
    const struct {
        unsigned index;
        const char* name;
        debugmon::Rgb swatch;
        bool known;
    } cases[] = {
        {0, "Green", {0, 255, 0}, true},
        {1, "Orange", {255, 200, 50}, true},
        {2, "Grey", {150, 150, 150}, true},
        {3, "Black", {0, 0, 0}, true},
        {4, "Red", {255, 0, 0}, true},
        {5, "Blue", {0, 0, 255}, true},
        {6, "Pink", {255, 128, 128}, true},
        {7, "Cyan", {0, 255, 255}, true},
        {8, "Unknown (8)", {255, 255, 255}, false},
        {255, "Unknown (255)", {255, 255, 255}, false},
    };
    for (const auto& c : cases) {
        const debugmon::PlayerColour colour = debugmon::playerColour(c.index);
        EXPECT_EQ(colour.name, c.name);
        EXPECT_EQ(colour.swatch, c.swatch) << c.index;
        EXPECT_EQ(colour.known, c.known) << c.index;
    }

    RecordingGameAccess game;
    game.window = 1;
    game.memory = {{colour(0), 5}, {colour(1), 9}, {colour(2), 0x105}};
    DebugMonitor monitor(game);
    monitor.search();
    monitor.update();
    const debugmon::ReportCells cells = debugmon::reportCells(monitor.figures());
    EXPECT_EQ(cells[1][0], "Blue");
    EXPECT_EQ(cells[1][1], "Unknown (9)");
    EXPECT_EQ(cells[1][2], "Blue"); // one byte is read
    EXPECT_EQ(cells[1][3], "Green");
}

TEST(DebugMonitor, ButtonsWriteTheFlagAndPlayerZerosColourOnlyWhileTheGameIsFound) {
    RecordingGameAccess game;
    DebugMonitor monitor(game);
    // Never found: nothing is written, nothing read.
    EXPECT_FALSE(monitor.search());
    EXPECT_FALSE(monitor.enableDebug());
    EXPECT_FALSE(monitor.disableDebug());
    EXPECT_FALSE(monitor.command1());
    monitor.update();
    EXPECT_TRUE(game.log.empty());

    game.window = 7;
    ASSERT_TRUE(monitor.search());
    EXPECT_TRUE(monitor.enableDebug());
    monitor.update();
    EXPECT_STREQ(debugmon::debugFlagText(monitor.figures()), "True");
    EXPECT_TRUE(monitor.disableDebug());
    EXPECT_TRUE(monitor.command1());
    EXPECT_EQ(game.writes(), (std::vector<MemoryAccess>{{'w', 2, kFlag, 4242, 1},
                                                        {'w', 2, kFlag, 4242, 0},
                                                        {'w', 1, colour(0), 4242, 7}}));
    monitor.update();
    EXPECT_STREQ(debugmon::debugFlagText(monitor.figures()), "False");
    EXPECT_EQ(debugmon::reportCells(monitor.figures())[1][0], "Cyan");
    // Any non-zero flag is debug mode on.
    game.memory[kFlag] = 0x100;
    monitor.update();
    EXPECT_STREQ(debugmon::debugFlagText(monitor.figures()), "True");
    // A refused write is reported to the caller and changes nothing.
    game.writesSucceed = false;
    EXPECT_FALSE(monitor.disableDebug());
    EXPECT_EQ(game.memory[kFlag], 0x100u);

    // The game goes: its last figures stay, and the buttons are inert again.
    game.writesSucceed = true;
    const debugmon::GameFigures last = monitor.figures();
    game.window = 0;
    EXPECT_FALSE(monitor.search());
    game.log.clear();
    game.memory[power(0)] = 999;
    monitor.update();
    EXPECT_FALSE(monitor.enableDebug());
    EXPECT_FALSE(monitor.disableDebug());
    EXPECT_FALSE(monitor.command1());
    EXPECT_TRUE(game.log.empty());
    EXPECT_EQ(monitor.figures(), last);
}

// Runs the event loop for about `ms`.
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
    RecordingGameAccess game;
    DebugMonitor monitor(game);
    debugmon::MonitorClock clock(monitor, &owner);
    auto* search = owner.findChild<QTimer*>(QStringLiteral("TimerGetKvWindow"));
    auto* update = owner.findChild<QTimer*>(QStringLiteral("TimerUpdate"));
    ASSERT_TRUE(search && update);
    EXPECT_FALSE(search->isActive());
    EXPECT_FALSE(update->isActive());
    int searches = 0, updates = 0;
    QObject::connect(&clock, &debugmon::MonitorClock::searched, [&] { ++searches; });
    QObject::connect(&clock, &debugmon::MonitorClock::updated, [&] { ++updates; });

    clock.start();
    EXPECT_EQ(search->interval(), 100);
    runFor(350);
    EXPECT_GE(searches, 2);
    EXPECT_FALSE(update->isActive());
    EXPECT_TRUE(game.log.empty());

    game.window = 3;
    searches = 0;
    runFor(1150);
    EXPECT_GE(searches, 6);
    EXPECT_TRUE(update->isActive());
    EXPECT_EQ(update->interval(), 500);
    EXPECT_GE(updates, 1);
    EXPECT_LE(updates, 2);
    EXPECT_EQ(game.log.size(), 41u * std::size_t(updates));

    game.window = -1;
    runFor(250);
    EXPECT_FALSE(update->isActive());
    const std::size_t reads = game.log.size();
    runFor(600);
    EXPECT_EQ(game.log.size(), reads);

    clock.stop();
    EXPECT_FALSE(search->isActive());
    EXPECT_FALSE(update->isActive());
}

} // namespace
} // namespace kv::test
