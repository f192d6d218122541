#pragma once
// The Tools menu's maintenance commands that need no window of their own: removing the
// configuration, changing the nick name, and the restart both end with.
#include <functional>
#include <string>

namespace kv {

class Launcher;

// What the window does after a command.
enum class ToolsEnd {
    Stay,     // nothing more
    EndNow,   // end the process at once, saving nothing
    CloseMain // close the main window with the usual closing sequence
};

// The launcher's own executable: whatever it is called on this platform.
std::string ownExecutablePath();

// Starts a new launcher from its own executable in the launcher folder.
bool restartLauncher(Launcher& launcher, const std::string& executable);

// "Remove current configuration": after a Yes, deletes the active settings file and
// starts the new launcher; this one must then end without saving.
ToolsEnd removeCurrentConfiguration(Launcher& launcher, const std::string& executable);

// "Change Nick": after a Yes and a new nick, saves the settings and starts the new
// launcher; this one then closes as usual.
ToolsEnd changeNick(Launcher& launcher, const std::string& executable);

// The entry texts of the Tools menu, in their order.
inline constexpr const char* kToolsEntries[] = {
    "Check for updates",   "Make compatible with 1.10 Patch", "VUVozarev (beta)...",
    "KV Script Help File", "Remove current configuration",    "Change Nick",
    "Always on top On",    "Check for updates on Startup Off"};

} // namespace kv
