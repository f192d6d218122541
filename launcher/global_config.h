#pragma once
// Global configurations: named command files in "Mods\Global INIs" that put the launcher
// into a complete setup, each with its own settings file in "Settings".
#include <string>
#include <vector>

namespace kv {
class Launcher;
}

namespace kv {

// Applies "<global folder><fileName>": saves the current settings, resets the automation
// state, runs the file, refreshes the lists, switches to the configuration's settings
// file, applies the file's requests and installs. False when the file cannot be run.
bool applyGlobalConfiguration(Launcher& launcher, const std::string& fileName);

// The "Failed to load:" text for a configuration that could not be applied.
std::string failedToLoadMessage(const Launcher& launcher, const std::string& fileName);

struct GlobalConfigEntry {
    std::string name;        // the file's base name
    std::string description; // the first "Description" key's value; empty when absent
};

// The ".ini" files of the global folder, in directory order.
std::vector<GlobalConfigEntry> GlobalConfigurations_Load(const Launcher& launcher);

// Moves "<name>.ini" of the global folder and of the settings folder to the trash; false
// when either is still there. The active configuration loses its label, and its settings
// are not written back on close.
bool deleteGlobalConfiguration(Launcher& launcher, const std::string& name);

} // namespace kv
