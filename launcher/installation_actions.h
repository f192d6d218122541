#pragma once
// Operations on the installation list that talk to the user or the system: locating the
// game, the actions menu, opening folders, and the launcher's registry values.
#include <string>

namespace kv {

class Launcher;

inline constexpr const char* kLauncherRegistryKey = "HKEY_CURRENT_USER\\Korvane Starter";

// The locate dialog: the chosen korvane.exe's folder with its trailing separator, or
// empty when cancelled.
std::string SetKVPath(Launcher& launcher);
// Asks (twice at most) until an answer of 3 characters or more, adds and selects it.
std::string GetKVPath(Launcher& launcher);
void AddKVPath(Launcher& launcher, const std::string& folder);

// False until the user has located the game: on a first run whose locate dialog was
// cancelled there is nothing to start and nothing to preview.
bool hasGameInstallation(const Launcher& launcher);
inline constexpr const char* kNoInstallationMessage =
    "Korvane Tactics cannot start yet: no game installation is known.\n"
    "Use \"Add...\" to locate 'Korvane.exe'.";

// One `KVPath` line of the settings file: an existing folder is added, anything else
// makes the user locate the game instead.
void readKVPathSetting(Launcher& launcher, const std::string& value);
// After the settings file: make sure there is an installation and one is selected.
void finishInstallationReading(Launcher& launcher);

// "Change...", "Add...", "Remove...", "Open" (compared in lower case).
void installationMenuAction(Launcher& launcher, const std::string& entryText);
// An entry of the installation menu, 1-based.
void chooseInstallation(Launcher& launcher, int menuEntry);

void openKVFolder(Launcher& launcher, int index);
void openSkirmishFolder(Launcher& launcher, int index);

bool CheckForTerraForge(const Launcher& launcher);
bool CheckForScriptHelpFile(const Launcher& launcher);
void WriteRegistryKeys(Launcher& launcher);

} // namespace kv
