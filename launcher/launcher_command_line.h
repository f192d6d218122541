#pragma once
// The launcher's own command line: "-globalini <file>" and "-debug".
#include <string>
#include <string_view>
#include <vector>

namespace kv {

class Launcher;

struct LauncherSwitch {
    std::string text;     // the whole switch, trimmed
    std::string word;     // before the first blank
    std::string argument; // after it
};

// Nothing unless the text holds "-"; otherwise every piece after the first "-", trimmed.
std::vector<LauncherSwitch> parseLauncherSwitches(std::string_view commandLine);

// Runs the switches in order; bad ones are reported and skipped.
void applyLauncherCommandLine(Launcher& launcher, std::string_view commandLine);

} // namespace kv
