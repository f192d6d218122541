#pragma once
// A Launcher on a temporary launcher folder that holds only what start-up cannot do
// without (Mods\ and the list of the game's own KDGs), with a scripted Ui, its own
// registry store and a shell that only records what it was asked to open.
#include "launcher/launcher.h"
#include "platform/registry.h"
#include "tests/support/scripted_ui.h"
#include "tests/support/temp_folder.h"

#include <memory>
#include <string>
#include <vector>

namespace kv::test {

class RecordingView : public LauncherView {
public:
    explicit RecordingView(std::vector<std::string>& log) : log_(log) {}
    void resizeForm(bool compact) override { log_.push_back(compact ? "compact" : "full"); }
    void fixToolbarSize() override { log_.push_back("FixToolbarSize"); }
    void showDebugLabel() override { log_.push_back("debug label"); }
    void minimise() override { log_.push_back("minimise"); }
    void startUpdateTimer() override { log_.push_back("startUpdateTimer"); }
    void stopInternetTransfers() override { log_.push_back("stopInternetTransfers"); }
    void startLinkAnimation() override { log_.push_back("startLinkAnimation"); }

private:
    std::vector<std::string>& log_;
};

struct LauncherWorld {
    LauncherWorld();
    // A game folder below the temporary folder, with korvane.exe; ends with '/'.
    std::string makeGame(const std::string& name) const;
    // Writes the settings file of the launcher folder.
    void writeSettings(const std::vector<std::string>& lines) const;
    std::vector<std::string> settingsLines() const;
    // A new Launcher on the same folders, as on the next start.
    void restart();

    TempFolder tmp;
    std::string root; // the launcher folder
    ScriptedUi ui;
    std::unique_ptr<platform::RegistryBackend> registry;
    std::vector<std::string> opened; // what the shell was asked to open
    std::unique_ptr<Launcher> launcher;
};

} // namespace kv::test
