#pragma once
// Hooks script customizing into the catalogue scans, the install, the settings file and
// every place where a player's or the rules' choice changes.
namespace kv {
class Launcher;
}

namespace kv::content {

struct ContentState;

// The catalogue scans read the fields, the install writes the picks.
void wireScriptHooks(ContentState& state);

// Runs after the content wiring, whose choice hooks it extends.
void wireScriptCustomizing(Launcher& launcher);

} // namespace kv::content
