// The Skirmish Debugger window on a game the test controls: what the user sees while the
// game is missing, found and gone, and what the buttons write.
#include "tests/debugmon/recording_game_access.h"
#include "tests/support/qt_application.h"
#include "ui/debugmon/kv_debug.h"

#include <QElapsedTimer>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

namespace kv::test {
namespace {

bool waitUntil(const std::function<bool()>& done, int ms) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > ms)
            return false;
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

struct Window {
    RecordingGameAccess* game = nullptr;
    std::unique_ptr<ui::KVDebug> window;

    Window() {
        application();
        auto access = std::make_unique<RecordingGameAccess>();
        game = access.get();
        window = std::make_unique<ui::KVDebug>(nullptr, std::move(access));
        window->show();
    }
    template <typename T> T* child(const char* name) const {
        T* c = window->findChild<T*>(QString::fromLatin1(name));
        EXPECT_TRUE(c) << name;
        return c;
    }
    QString cell(int row, int column) const {
        return child<QTableWidget>("LstKvDebugInfo")->item(row, column)->text();
    }
    QString status() const { return child<QLabel>("LblKvStatus")->text(); }
    QString debugMode() const { return child<QLabel>("LblKvDebugMode")->text(); }
    void click(const char* button) const {
        QTest::mouseClick(child<QPushButton>(button), Qt::LeftButton);
    }
    // Waits for the next update to be shown.
    bool nextUpdate() const {
        const std::size_t reads = game->log.size();
        return waitUntil([&] { return game->log.size() >= reads + 41; }, 2000);
    }
};

TEST(KVDebugWindow, LaysOutTheReportListAndStartsSearchingOnly) {
    Window w;
    EXPECT_EQ(w.window->windowTitle(), "Skirmish Debugger");
    auto* list = w.child<QTableWidget>("LstKvDebugInfo");
    ASSERT_EQ(list->columnCount(), 9);
    ASSERT_EQ(list->rowCount(), 5);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(list->horizontalHeaderItem(i + 1)->text(), QStringLiteral("Player %1").arg(i));
    const char* rows[] = {"Power", "Color", "Total Trucks", "Total Units", "Derricks"};
    for (int r = 0; r < 5; ++r)
        EXPECT_EQ(w.cell(r, 0), rows[r]);
    EXPECT_EQ(w.child<QPushButton>("CmdEnableKVDebug")->text(), "Enable Debug");
    EXPECT_EQ(w.child<QPushButton>("CmdDisableKVDebug")->text(), "Disable Debug");
    EXPECT_EQ(w.child<QPushButton>("Command1")->text(), "Command1");
    EXPECT_FALSE(w.window->isModal());
    EXPECT_TRUE(w.child<QTimer>("TimerGetKvWindow")->isActive());
    EXPECT_FALSE(w.child<QTimer>("TimerUpdate")->isActive());
}

TEST(KVDebugWindow, FollowsTheGameComingAndGoingAndWritesOnlyWhileItIsThere) {
    Window w;
    RecordingGameAccess& game = *w.game;
    ASSERT_TRUE(waitUntil(
        [&] { return game.processLookups == 0 && w.status() == "Korvane Not Found"; }, 500));
    for (const char* b : {"CmdEnableKVDebug", "CmdDisableKVDebug", "Command1"})
        w.click(b);
    QTest::qWait(300);
    EXPECT_TRUE(game.log.empty()) << "nothing is read or written without the game";
    EXPECT_FALSE(w.child<QTimer>("TimerUpdate")->isActive());

    game.memory = {{0x038B8438, 0x00012345},
                   {0x00620D08 + 5, 5},
                   {0x00620D08 + 6, 9},
                   {0x00526828 + 4 * 7, 3},
                   {0x047B822C + 452 * 2, 200}};
    game.window = 12;
    ASSERT_TRUE(waitUntil([&] { return w.status() == "Korvane Found"; }, 1000));
    ASSERT_TRUE(w.nextUpdate());
    EXPECT_EQ(w.cell(0, 1), "74565");
    EXPECT_EQ(w.cell(1, 6), "Blue");
    EXPECT_EQ(w.cell(1, 7), "Unknown (9)");
    EXPECT_EQ(w.cell(1, 1), "Green");
    EXPECT_EQ(w.cell(2, 8), "3");
    EXPECT_EQ(w.cell(4, 3), "200");
    EXPECT_EQ(w.debugMode(), "False");
    auto* blue = w.child<QLabel>("ShpPlayerColour5");
    EXPECT_EQ(blue->palette().color(QPalette::Window), QColor(0, 0, 255));
    auto* unknown = w.child<QLabel>("ShpPlayerColour6");
    EXPECT_EQ(unknown->palette().color(QPalette::Window), QColor(255, 255, 255));
    EXPECT_EQ(unknown->text(), "?");
    EXPECT_EQ(w.child<QLabel>("ShpPlayerColour0")->palette().color(QPalette::Window),
              QColor(0, 255, 0));

    // The label follows the game's flag on the next update, not the click.
    w.click("CmdEnableKVDebug");
    EXPECT_EQ(game.writes().back(), (MemoryAccess{'w', 2, 0x0052611C, 4242, 1}));
    EXPECT_EQ(w.debugMode(), "False");
    ASSERT_TRUE(w.nextUpdate());
    EXPECT_EQ(w.debugMode(), "True");
    w.click("Command1");
    EXPECT_EQ(game.writes().back(), (MemoryAccess{'w', 1, 0x00620D08, 4242, 7}));
    ASSERT_TRUE(w.nextUpdate());
    EXPECT_EQ(w.cell(1, 1), "Cyan");

    // The game goes: the table is frozen at its last values and the buttons write nothing.
    game.window = 0;
    ASSERT_TRUE(waitUntil([&] { return w.status() == "Korvane Not Found"; }, 1000));
    EXPECT_FALSE(w.child<QTimer>("TimerUpdate")->isActive());
    game.memory[0x038B8438] = 1;
    const std::size_t accesses = game.log.size();
    for (const char* b : {"CmdEnableKVDebug", "CmdDisableKVDebug", "Command1"})
        w.click(b);
    QTest::qWait(700);
    EXPECT_EQ(game.log.size(), accesses);
    EXPECT_EQ(w.cell(0, 1), "74565");
    EXPECT_EQ(w.debugMode(), "True");

    w.window->close();
    EXPECT_FALSE(w.child<QTimer>("TimerGetKvWindow")->isActive());
    EXPECT_FALSE(w.child<QTimer>("TimerUpdate")->isActive());
}

} // namespace
} // namespace kv::test
