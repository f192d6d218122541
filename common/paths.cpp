#include "common/paths.h"

#include "platform/files.h"

namespace kv {

std::string withTrailingSeparator(std::string_view folder) {
    std::string out(folder);
    const char sep = platform::nativeSeparator();
    while (!out.empty() && (out.back() == '/' || out.back() == '\\'))
        out.pop_back();
    out += sep;
    return out;
}

std::string joinPath(std::string_view folder, std::string_view relative) {
    const char sep = platform::nativeSeparator();
    std::string out = folder.empty() ? std::string() : withTrailingSeparator(folder);
    while (!relative.empty() && (relative.front() == '/' || relative.front() == '\\'))
        relative.remove_prefix(1);
    for (char c : relative)
        out += (c == '/' || c == '\\') ? sep : c;
    return out;
}

Paths Paths::fromRoot(std::string_view launcherFolder) {
    Paths p;
    p.launcherFolder = withTrailingSeparator(launcherFolder);
    auto folder = [&](std::string_view rel) {
        return withTrailingSeparator(joinPath(p.launcherFolder, rel));
    };
    p.aiFolder = folder("Mods\\SkirmishAI");
    p.rulesFolder = folder("Mods\\Rules");
    p.requiredKdgFolder = folder("Mods\\Required KDGs");
    p.kdgIniFolder = folder("Mods\\INI\\KDG Files");
    p.aiIniFolder = folder("Mods\\INI\\AI");
    p.rulesIniFolder = folder("Mods\\INI\\Rules");
    p.globalIniFolder = folder("Mods\\Global INIs");
    p.settingsFolder = folder("Settings");
    p.scriptsFolder = folder("Settings\\Scripts");
    return p;
}

std::string Paths::underLauncher(std::string_view relative) const {
    return joinPath(launcherFolder, relative);
}

} // namespace kv
