#pragma once
// Hooks automation into the launcher: the "globalini" switch and the requirement step
// of every install.
namespace kv {
class Launcher;
}

namespace kv::automation {

// Runs after the content wiring.
void wireAutomation(Launcher& launcher);

} // namespace kv::automation
