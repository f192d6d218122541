#pragma once
// The launcher's process-wide state, owned by one object that app/ creates and passes to
// every operation and window. Widgets mirror this state; tests drive it without them.
#include "automation/automation_env.h"
#include "automation/automation_state.h"
#include "common/paths.h"
#include "content/content_state.h"
#include "core/game_launch.h"
#include "core/installations.h"
#include "core/launcher_view.h"
#include "core/main_link.h"
#include "core/options.h"
#include "core/registry_access.h"
#include "lobby/lobby_state.h"
#include "lobby/lobby_surroundings.h"

#include <array>
#include <functional>
#include <memory>
#include <string>

namespace kv {

class Ui;

// Opens a folder, file or address with the desktop's handler.
using ShellOpener = std::function<bool(const std::string& target)>;

inline constexpr const char* kDefaultSettingsName = "starter.ini";
inline constexpr int kHostHistorySize = lobby::kHostHistorySize;

class Launcher {
public:
    Launcher(std::string_view launcherFolder, Ui& ui, platform::RegistryBackend& registry,
             ShellOpener openInShell);
    Launcher(const Launcher&) = delete;
    Launcher& operator=(const Launcher&) = delete;

    Ui& ui() { return ui_; }
    LauncherView& view() { return view_ ? *view_ : silentView_; }
    void setView(LauncherView* view) { view_ = view; }
    bool openInShell(const std::string& target);
    // What automation asks of the launcher: the option set, the toolbar, the window.
    automation::AutomationHost& automationHost() { return *automationHost_; }

    // The settings folder followed by the active name ("starter.ini" when empty).
    std::string settingsFilePath() const;

    Paths paths;
    OptionSet options;
    InstallationList installations;
    Registry registry;
    MainLinkSettings mainLink;
    GameLaunch launch;
    // MODs, the AI and rules catalogues, the player choices and the installed files.
    content::ContentState content;
    // Frozen and locked lists and pending requests of command files.
    automation::AutomationState automation;

    std::string activeSettingsName; // empty means "starter.ini"
    // The settings file F2 deleted: this run never writes it again, so the next start is
    // a first run.
    std::string deletedSettingsFile;
    bool firstRun = false;
    bool busy = false;
    bool debug = false; // the "debug" switch
    bool startupFinished = false;
    bool endRequested = false;       // a start-up step found the launcher unusable
    bool globalConfigLoaded = false; // by the command line, so the first install is skipped
    bool wasMinimised = false;

    std::string nick;       // as entered
    std::string nickParsed; // as sent to peers and the game
    std::string ownNameLabel;
    std::string gameName;

    std::array<std::string, kHostHistorySize> hostHistory;
    int hostHistoryCount = 0;

    bool alwaysOnTop = false;
    bool mapPreview = true;
    bool updateAtStartup = false;
    std::string updateServer; // "UpdateServer": where "Config.ini" is; empty for the default
    std::string wineCommand;  // "WineCommand": runs the Windows game; empty for "wine"
    // "UpdateKey": public keys (comma-separated) whose signature "Config.ini" must carry
    std::string updateKey;
    int lastAutoDownloadMessageIndex = 0;
    int aiOverwriteWarned = 0;

    bool mapEditorAvailable = false; // TerraForge.exe in the current game folder
    bool scriptHelpAvailable = false;

    // The multiplayer lobby: user list, user records, mode and its connections.
    lobby::LobbyState lobby;

private:
    Ui& ui_;
    ShellOpener openInShell_;
    LauncherView* view_ = nullptr;
    LauncherView silentView_;
    std::unique_ptr<automation::AutomationHost> automationHost_;
};

} // namespace kv
