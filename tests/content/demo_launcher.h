#pragma once
// The demo world (with customizable scripts) and a launcher wired to the content area on it,
// as kvstarter starts it.
#include "content/script_slots.h"
#include "launcher/content_wiring.h"
#include "launcher/launch_buttons.h"
#include "launcher/launcher.h"
#include "launcher/startup.h"
#include "platform/files.h"
#include "platform/registry.h"
#include "platform/text.h"
#include "tests/support/scripted_ui.h"
#include "tests/support/temp_folder.h"
#include "tools/demo/demo_world.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace kv::content {

struct DemoLauncher {
    DemoLauncher() {
        std::string error;
        EXPECT_TRUE(demo::writeDemoWorld(tmp.path(), true, world, error)) << error;
        registry = platform::makeRegistryBackend(tmp / "registry.reg");
    }
    // A new wired launcher on the same folders (the old one closed first, as on a restart),
    // not yet started.
    void makeLauncher() {
        if (launcher)
            closeMainWindow(*launcher);
        launcher = std::make_unique<Launcher>(world.launcherFolder, ui, *registry,
                                              [](const std::string&) { return true; });
    }
    void start() {
        makeLauncher();
        ASSERT_TRUE(runStartup(*launcher, ""));
    }
    std::string settingsPath() const { return world.launcherFolder + "Settings/starter.ini"; }
    void setSettings(const std::string& key, const std::string& value) {
        std::vector<std::string> lines;
        platform::readTextLines(settingsPath(), lines);
        for (auto& l : lines)
            if (l.rfind(key + "=", 0) == 0)
                l = key + "=" + value;
        platform::writeTextLines(settingsPath(), lines);
    }
    bool settingsHas(const std::string& line) const {
        std::vector<std::string> lines;
        platform::readTextLines(settingsPath(), lines);
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }
    std::string game(const std::string& rel) const { return world.gameFolder + rel; }
    std::string skirmish(const std::string& name) const {
        std::string s;
        platform::readFile(game("multiplay/skirmish/" + name), s);
        return s;
    }
    ScriptSlots& scripts() { return launcher->content.scripts; }

    test::TempFolder tmp;
    demo::DemoWorld world;
    test::ScriptedUi ui;
    std::unique_ptr<platform::RegistryBackend> registry;
    std::unique_ptr<Launcher> launcher;
};

} // namespace kv::content
