#pragma once
// The start button's sequence, the close watch that brings the launcher back when the
// game's window has gone, and the window's return.
#include "core/game_command_line.h"

namespace kv {

class Launcher;

// The AI and rules installation; true when it went through.
bool makeSloVlo(Launcher& launcher);

// What the lobby and the launcher know of the coming multiplayer game.
MultiplayerSwitches currentMultiplayerSwitches(Launcher& launcher);

// The host of a multiplayer game tells its lobby peers to start theirs.
bool hostsMultiplayerGame(Launcher& launcher);

// Steps 4 to 6 of the start: the command line, writing the game's registry values.
std::string buildGameCommandLine(Launcher& launcher);

// The start button. False when the installation refused and nothing was started; a start
// that fails later is not reported, and the close watch brings the launcher back.
bool startGame(Launcher& launcher);

void WatchForKVClose(Launcher& launcher);
// One tick of the close watch: when no window has the game's title, the watch stops and
// the launcher comes back.
void closeWatchTick(Launcher& launcher);
void MaximizeKVS(Launcher& launcher);
void SetOnTop(Launcher& launcher, bool onTop);

// The main window is shown while not minimised: after a restore by hand the game's lists
// are read again. True when they were.
bool refreshOnRestore(Launcher& launcher);

} // namespace kv
