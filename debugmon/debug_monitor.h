#pragma once
// The monitor's state: whether the game is found, the figures of the last update, and the
// writes that switch the game's debug mode. Timers drive it from outside (MonitorClock).
#include "debugmon/addresses.h"
#include "debugmon/game_access.h"
#include "debugmon/player_records.h"

namespace kv::debugmon {

class DebugMonitor {
public:
    explicit DebugMonitor(GameAccess& access, const Addresses& addresses = gameAddresses())
        : access_(access), addresses_(addresses) {}

    // The window search: finds the game's window and, once per search, the process that
    // owns it. True when the game was found.
    bool search();
    // The 41 reads in the game table's order: power, colour, trucks, units and derricks of
    // players 0 to 7, then the debug flag. Nothing is read while the game is not found, and
    // the figures stay as they were.
    void update();

    bool found() const { return window_ >= 1; }
    // False when the last search had no window system to look in.
    bool windowSystem() const { return windowSystem_; }
    platform::WindowHandle window() const { return window_; }
    long processId() const { return processId_; }
    const GameFigures& figures() const { return figures_; }

    // The buttons. Each writes nothing and returns false while the game is not found.
    bool enableDebug() { return writeDebugFlag(1); }
    bool disableDebug() { return writeDebugFlag(0); }
    bool writeDebugFlag(std::uint16_t value);
    // The test button: player 0's colour index becomes 7 ("Cyan").
    bool command1();

private:
    GameAccess& access_;
    const Addresses& addresses_;
    platform::WindowHandle window_ = 0;
    long processId_ = 0;
    bool windowSystem_ = true;
    GameFigures figures_;
};

} // namespace kv::debugmon
