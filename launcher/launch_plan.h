#pragma once
// The start as a plan: the install, then the game's registry values and its command
// line. The start button carries these steps out; the preview and `kvstool plan` show
// them.
#include "content/install_plan.h"
#include "core/game_command_line.h"

#include <string>
#include <vector>

namespace kv {

class Launcher;

// The registry values and the command line for these options, the program in
// `gameFolder`, a Windows one run by `wineCommand` (empty: "wine").
std::vector<content::PlanStep> planLaunch(const OptionSet& options,
                                          const MultiplayerSwitches& lobby,
                                          const std::string& gameFolder,
                                          const std::string& wineCommand);

// Writes the registry steps (failures are not reported) and answers the command line.
std::string executeLaunchSteps(Registry& registry, const std::vector<content::PlanStep>& steps);

// Everything the start button would do now, with the options as resolving requirements
// would leave them. Changes no file, no option and no registry value.
content::StartPlan makeStartPlan(Launcher& launcher, const content::InstallOptions& options = {});

} // namespace kv
