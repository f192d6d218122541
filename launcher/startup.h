#pragma once
// From process start to a usable main window, and the main window's closing.
#include <span>
#include <string>
#include <string_view>

namespace kv {

class Launcher;

// The folders the launcher keeps beneath its own folder, in the order they are checked.
std::span<const char* const> launcherFolders();

// Creates every missing launcher folder, one level at a time; reports the ones that
// still do not exist and goes on.
void RepairDirectories(Launcher& launcher);

// Asks for the nick name until it is usable; false when the user gave none (the program
// then ends).
bool enterNick(Launcher& launcher);

// The lobby's own-name label and the proposed game name.
void setLobbyLabels(Launcher& launcher);

// Runs the whole start-up sequence. False means the process must end now.
bool runStartup(Launcher& launcher, std::string_view commandLine);

// The main window closes: hand-over steps of the other subsystems, then the settings.
void closeMainWindow(Launcher& launcher);

} // namespace kv
