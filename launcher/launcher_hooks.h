#pragma once
// Steps of start-up and closing that other subsystems carry out. Each is empty until
// the subsystem that owns it fills it in when it wires itself to the Launcher.
#include "core/game_command_line.h"

#include <functional>
#include <string>

namespace kv {

struct LauncherHooks {
    // Start-up (in the order they run).
    std::function<void()> initializeScriptTokens; // fixed tokens of the script annotations
    std::function<void()> initializeMainLink;     // default link texts and colours
    std::function<void()> setBaseModeNames;       // "No Bases", "Bases", "Advanced Bases"
    std::function<void()> loadOriginalKdgs;       // Settings\KVS\OriginalKDGs.ini
    std::function<void()> resetUpdateBookkeeping;
    std::function<void()> loadFileTypeTables; // Files.txt and Types.txt
    std::function<void()> prepareMapPreview;
    std::function<void()> resetPlayerAiBookkeeping; // remembered AIs, installed-file lists
    std::function<void()> fillCatalogues;           // AI and rules catalogues and lists
    std::function<void()> loadCustomLinks;          // Settings\KVS\KVSLinks.ini
    // Re-applies the players' AI and the rules choices; `report` names the missing ones.
    std::function<void(bool report)> reapplySelections;
    std::function<void()> setAiListToolTips;
    std::function<void()> copyAllAdditionalFiles;
    std::function<void()> refillKdgList;
    std::function<void()> startUpdateTimer;  // 4000 ms one shot
    std::function<void()> checkForUpdates;   // the Tools menu's "Check for updates"
    std::function<void()> cancelUpdateCheck; // its "Cancel update check" while one runs
    // Installs the chosen AIs and rules; false when refused (the start then stops).
    std::function<bool()> makeSloVlo;
    std::function<void()> startLinkAnimation;

    // Settings file. Selecting by name answers whether the name was found; without a
    // catalogue only the lists' fixed entries are known.
    std::function<bool(int player, const std::string& name)> selectAi;
    std::function<bool(const std::string& name)> selectRules;
    std::function<void()> saveScriptPreferences; // customizing preferences of every player
    // The customizing flags, read after the slot's choice; refused when it has no fields.
    std::function<void(int player, bool on)> enableAiCustomizing;
    std::function<void(bool on)> enableRulesCustomizing;

    // The launcher's command line: loads a global configuration by file name.
    std::function<bool(const std::string& fileName)> loadGlobalConfiguration;

    // The game's start: hosting, tell the lobby peers to start; what the lobby knows of
    // the coming game (role, chosen host, local address) for the multiplayer switches.
    std::function<void()> tellPeersToStart;
    std::function<void(MultiplayerSwitches&)> fillMultiplayerSwitches;

    // Closing (in the order they run).
    std::function<void()> stopInternetTransfers;
    std::function<void()> leaveLobby;
    std::function<void()> deleteInstalledFiles;
    std::function<void()> copyDefaultFiles;
    std::function<void()> renameKdgs; // unticked MODs whose ".kdg" is back become ".kvw"
};

// Runs a hook when it is set.
template <typename F, typename... Args> void runHook(const F& hook, Args&&... args) {
    if (hook)
        hook(std::forward<Args>(args)...);
}

} // namespace kv
