#pragma once
// Automation on the launcher's state: its environment and the requirement step of every
// install.
#include "automation/automation_env.h"

#include <memory>

namespace kv {

class Launcher;

// The environment of the current installation; the launcher stays its host.
automation::AutomationEnv automationEnv(Launcher& launcher);

// The launcher's side of automation, one for each launcher.
std::unique_ptr<automation::AutomationHost> makeAutomationHost(Launcher& launcher);

// Hooks the requirements of the chosen AIs, rules and MODs into every install and plan.
void wireAutomation(Launcher& launcher);

} // namespace kv
