// The Skirmish Debugger's window on a game the test controls: the table shows the game's
// figures, and the label follows the game's flag at the next update rather than the click.
// The frozen figures are the monitor's test; the real game's memory is kvstool debug's.
#include "tests/debugmon/recording_game_access.h"
#include "tests/support/qt_application.h"
#include "tests/support/wait.h"
#include "ui/debugmon/kv_debug.h"

#include <QtWidgets>
#include <gtest/gtest.h>

namespace kv::test {
namespace {

TEST(KVDebugWindow, ShowsTheGameAndSwitchesItsFlag) {
    application();
    auto owned = std::make_unique<RecordingGameAccess>();
    RecordingGameAccess& game = *owned;
    game.memory = {{0x038B8438 + 12 * 3, 0xFFFFFFFF}, {0x00620D08 + 5, 5}};
    ui::KVDebug window(nullptr, std::move(owned));
    window.show();
    const auto child = [&window](const char* name) {
        return window.findChild<QWidget*>(QString::fromLatin1(name));
    };
    const auto text = [&child](const char* name) {
        return static_cast<QLabel*>(child(name))->text();
    };
    auto* table = static_cast<QTableWidget*>(child("LstKvDebugInfo"));
    const auto cells = [table] {
        QStringList out;
        for (int r = 0; r < 5; ++r)
            for (int p = 1; p <= 8; ++p)
                out << table->item(r, p)->text();
        return out.join(',');
    };
    int updates = 0;
    QObject::connect(window.findChild<debugmon::MonitorClock*>(),
                     &debugmon::MonitorClock::updated, [&] { ++updates; });
    const auto nextUpdate = [&] {
        const int before = updates;
        return pumpUntil([&] { return updates > before; }, 2000);
    };
    ASSERT_TRUE(pumpUntil([&] { return text("LblKvStatus") == "Korvane Not Found"; }, 1000));
    EXPECT_TRUE(cells().remove(',').isEmpty());

    game.window = 5;
    ASSERT_TRUE(pumpUntil([&] { return text("LblKvStatus") == "Korvane Found"; }, 1000));
    ASSERT_TRUE(nextUpdate());
    EXPECT_EQ(cells(), "0,0,0,-1,0,0,0,0,Green,Green,Green,Green,Green,Blue,Green,Green," +
                           QStringLiteral("0,").repeated(23) + "0");
    EXPECT_EQ(child("ShpPlayerColour5")->palette().color(QPalette::Window), QColor(0, 0, 255));

    EXPECT_EQ(text("LblKvDebugMode"), "False");
    static_cast<QPushButton*>(child("CmdEnableKVDebug"))->click();
    EXPECT_EQ(game.memory[0x0052611C], 1u);
    EXPECT_EQ(text("LblKvDebugMode"), "False");
    ASSERT_TRUE(nextUpdate());
    EXPECT_EQ(text("LblKvDebugMode"), "True");
    static_cast<QPushButton*>(child("CmdDisableKVDebug"))->click();
    EXPECT_EQ(game.memory[0x0052611C], 0u);

    // The game goes: a search tick later the window says so.
    game.window = 0;
    EXPECT_TRUE(pumpUntil([&] { return text("LblKvStatus") == "Korvane Not Found"; }, 400));
}

} // namespace
} // namespace kv::test
