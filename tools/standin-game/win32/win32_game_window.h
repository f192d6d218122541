#pragma once
// The Windows stand-in's one top-level window, "Korvane Tactics": what the game was
// started with and found around it, and the live figures of the memory table.
#include "tools/standin-game/game_world.h"
#include "tools/standin-game/win32/win32_memory_table.h"

#include <windows.h>

#include <string>
#include <vector>

namespace kv::standin {

struct Win32GameSetup {
    std::vector<std::string> arguments;
    GameWorld world;
    std::string memoryError;  // empty when the table is mapped
    unsigned quitAfterMs = 0; // 0: only when closed
};

// Shows the window and runs its message loop until it is closed; the exit code.
int runGameWindow(const Win32GameSetup& setup, Win32MemoryTable& memory);

} // namespace kv::standin
