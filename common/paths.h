#pragma once
// The launcher folder and the path variables every content operation works from. Built
// once at start-up from the launcher folder (the executable's folder, or a temporary
// folder in tests). Each folder text ends with the native separator.
#include <string>
#include <string_view>

namespace kv {

struct Paths {
    std::string launcherFolder;  // the root itself
    std::string aiFolder;        // Mods\SkirmishAI
    std::string rulesFolder;     // Mods\Rules
    std::string requiredKdgFolder; // Mods\Required KDGs
    std::string kdgIniFolder;    // Mods\INI\KDG Files
    std::string aiIniFolder;     // Mods\INI\AI
    std::string rulesIniFolder;  // Mods\INI\Rules
    std::string globalIniFolder; // Mods\Global INIs
    std::string settingsFolder;  // Settings
    std::string scriptsFolder;   // Settings\Scripts

    static Paths fromRoot(std::string_view launcherFolder);

    // A path under the launcher folder; `relative` may use '\' or '/'.
    std::string underLauncher(std::string_view relative) const;
};

// Joins a folder and a relative name given with '\' or '/' into one path text with
// native separators.
std::string joinPath(std::string_view folder, std::string_view relative);

// The folder text with exactly one trailing native separator.
std::string withTrailingSeparator(std::string_view folder);

} // namespace kv
