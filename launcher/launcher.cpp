#include "launcher/launcher.h"

#include "launcher/automation_wiring.h"
#include "launcher/script_wiring.h"

namespace kv {

Launcher::Launcher(std::string_view launcherFolder, Ui& ui, platform::RegistryBackend& backend,
                   ShellOpener openInShell)
    : paths(Paths::fromRoot(launcherFolder)), registry(backend, ui), ui_(ui),
      openInShell_(std::move(openInShell)), automationHost_(makeAutomationHost(*this)) {
    wireScriptHooks(content);
}

bool Launcher::openInShell(const std::string& target) {
    return openInShell_ ? openInShell_(target) : false;
}

std::string Launcher::settingsFilePath() const {
    return paths.settingsFolder +
           (activeSettingsName.empty() ? kDefaultSettingsName : activeSettingsName);
}

} // namespace kv
