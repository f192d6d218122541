#include "launcher/automation_wiring.h"

#include "automation/global_config.h"
#include "automation/requirements.h"
#include "launcher/launcher.h"

namespace kv::automation {

void wireAutomation(Launcher& l) {
    l.hooks.loadGlobalConfiguration = [&l](const std::string& fileName) {
        return applyGlobalConfiguration(l, fileName);
    };
    l.content.hooks.resolveRequirements = [&l](const content::ContentEnv&) {
        resolveLauncherRequirements(l);
    };
    l.content.hooks.planRequirements = [&l](const content::ContentEnv&,
                                            content::ContentState& planned) {
        return foreseeLauncherRequirements(l, planned);
    };
}

} // namespace kv::automation
