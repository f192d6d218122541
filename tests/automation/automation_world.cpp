#include "tests/automation/automation_world.h"

#include "automation/command_file.h"
#include "launcher/automation_wiring.h"
#include "launcher/content_wiring.h"
#include "launcher/startup.h"
#include "platform/files.h"
#include "platform/text.h"

#include <gtest/gtest.h>

namespace kv::test {

AutomationWorld::AutomationWorld(Ui* other) : otherUi(other) {
    std::string error;
    EXPECT_TRUE(demo::writeDemoWorld(tmp.path(), true, world, error)) << error;
    registry = platform::makeRegistryBackend(tmp / "registry.reg");
    restart();
}

void AutomationWorld::restart() {
    launcher.reset();
    launcher = std::make_unique<Launcher>(world.launcherFolder, otherUi ? *otherUi : ui, *registry,
                                          [](const std::string&) { return true; });
    wireAutomation(*launcher);
    // Every install resolves the requirements once, so counting that step counts installs.
    launcher->content.hooks.resolveRequirements =
        [this, resolve = launcher->content.hooks.resolveRequirements](const content::ContentEnv& env) {
            ++installs;
            resolve(env);
        };
}

bool AutomationWorld::start(const std::string& commandLine) {
    return runStartup(*launcher, commandLine);
}

void AutomationWorld::write(const std::string& path, const std::string& contents) const {
    platform::createFolderTree(path.substr(0, path.find_last_of('/') + 1));
    EXPECT_TRUE(platform::writeFileAtomic(path, contents)) << path;
}

std::string AutomationWorld::read(const std::string& path) const {
    std::string out;
    platform::readFile(path, out);
    return out;
}

void AutomationWorld::writeConfig(const std::string& fileName,
                                  const std::vector<std::string>& lines) const {
    write(app("Mods/Global INIs/" + fileName), platform::joinLinesCrLf(lines));
}

void AutomationWorld::run(const std::vector<std::string>& lines) {
    automation::runCommandText(automationEnv(*launcher), platform::joinLinesCrLf(lines));
}

std::vector<std::string> AutomationWorld::playerItems(int p) const {
    return launcher->content.choices.players[size_t(p)].items;
}

} // namespace kv::test
