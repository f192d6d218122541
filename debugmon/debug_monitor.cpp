#include "debugmon/debug_monitor.h"

namespace kv::debugmon {

bool DebugMonitor::search() {
    window_ = -1;
    const platform::WindowSearch result = access_.findGameWindow();
    window_ = result.handle;
    windowSystem_ = result.windowSystem;
    // One owner lookup per search, in the same pass as the title search when the window
    // system gives it: on X11 each lookup opens a connection to the display.
    processId_ = !found()               ? 0
                 : result.processId > 0 ? result.processId
                                        : access_.windowProcessId(window_);
    return found();
}

void DebugMonitor::update() {
    if (!found())
        return;
    GameFigures next;
    // The order is the game table's own; keep it, a reader of a live game sees it.
    for (std::size_t i = 0; i < kPlayers; ++i)
        next.players[i].power = std::int32_t(access_.read4(processId_, addresses_.power[i]));
    for (std::size_t i = 0; i < kPlayers; ++i)
        next.players[i].colour = access_.read1(processId_, addresses_.colour[i]);
    for (std::size_t i = 0; i < kPlayers; ++i)
        next.players[i].trucks = std::int32_t(access_.read4(processId_, addresses_.trucks[i]));
    for (std::size_t i = 0; i < kPlayers; ++i)
        next.players[i].units = std::int32_t(access_.read4(processId_, addresses_.units[i]));
    for (std::size_t i = 0; i < kPlayers; ++i)
        next.players[i].derricks = access_.read1(processId_, addresses_.derricks[i]);
    next.debugFlag = access_.read2(processId_, addresses_.debugFlag);
    figures_ = next;
}

bool DebugMonitor::writeDebugFlag(std::uint16_t value) {
    return found() && access_.write2(processId_, addresses_.debugFlag, value);
}

bool DebugMonitor::command1() {
    return found() && access_.write1(processId_, addresses_.colour[0], 7);
}

} // namespace kv::debugmon
