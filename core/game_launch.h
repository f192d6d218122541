#pragma once
// What the launcher keeps about the game it started: the close watch, the command line
// last passed and what became of the start.
#include "core/close_watch.h"

#include <string>

namespace kv {

inline constexpr const char* kGameExecutable = "korvane.exe";
inline constexpr const char* kGameWindowTitle = "Korvane Tactics";
inline constexpr const char* kMapEditorExecutable = "TerraForge.exe";

struct GameLaunch {
    CloseWatch closeWatch;
    // The POSIX registry store; imported into Wine's registry before a Windows game runs.
    std::string registryStore;
    std::string commandLine; // as last passed to the game
    bool started = false;    // the last start got a process
    std::string startError;  // why not, for whoever wants to know; never shown
};

} // namespace kv
