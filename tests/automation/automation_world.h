#pragma once
// The demo world with a launcher wired as kvstarter wires it (content and automation),
// a scripted user, and helpers to write command files and read what landed on disk.
#include "launcher/launcher.h"
#include "platform/registry.h"
#include "tests/support/scripted_ui.h"
#include "tests/support/temp_folder.h"
#include "tools/demo/demo_world.h"

#include <memory>
#include <string>
#include <vector>

namespace kv::test {

struct AutomationWorld {
    // `otherUi` replaces the scripted user (the real dialogs in widget tests).
    explicit AutomationWorld(Ui* otherUi = nullptr);
    // Runs the start-up sequence with `commandLine`.
    bool start(const std::string& commandLine = {});
    // A fresh launcher on the same folders, as on the next program start.
    void restart();

    std::string app(const std::string& rel) const { return world.launcherFolder + rel; }
    std::string game(const std::string& rel) const { return world.gameFolder + rel; }
    void write(const std::string& path, const std::string& contents) const;
    std::string read(const std::string& path) const;
    // Writes "Mods/Global INIs/<fileName>".
    void writeConfig(const std::string& fileName, const std::vector<std::string>& lines) const;
    // Runs command lines against the launcher.
    void run(const std::vector<std::string>& lines);
    // The texts of player `p`'s list.
    std::vector<std::string> playerItems(int p) const;
    Launcher& l() { return *launcher; }

    TempFolder tmp;
    demo::DemoWorld world;
    ScriptedUi ui;
    std::unique_ptr<platform::RegistryBackend> registry;
    std::unique_ptr<Launcher> launcher;
    Ui* otherUi = nullptr;
    int installs = 0; // runs of the install step
};

} // namespace kv::test
