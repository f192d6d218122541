#pragma once
// The demo's global configurations and the description files of its MODs.
#include <string>

namespace kv::worldgen {

// Writes into the launcher folder what is not there yet: "Duel" (two AIs loaded by path
// into a frozen list, locked), "Vanilla" (every MOD off, the game's own scripts), and the
// KDG description files of Islands (needs alliances) and Desert (needs advanced bases).
bool makeDemoAutomation(const std::string& launcherFolder);

} // namespace kv::worldgen
