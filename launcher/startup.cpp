#include "launcher/startup.h"

#include "common/file_gate.h"
#include "common/ui_port.h"
#include "core/text_util.h"
#include "launcher/content_wiring.h"
#include "launcher/game_start.h"
#include "launcher/installation_actions.h"
#include "launcher/launcher.h"
#include "launcher/launcher_command_line.h"
#include "launcher/links_file.h"
#include "launcher/settings_file.h"
#include "lobby/lobby.h"
#include "platform/files.h"

namespace kv {

namespace {

constexpr const char* kFolders[] = {
    "Mods\\Global INIs\\",   "Mods\\INI\\AI\\",   "Mods\\INI\\Rules\\",    "Mods\\INI\\KDG Files\\",
    "Mods\\INI\\Projects\\", "Mods\\INI\\MODs\\", "Mods\\Required KDGs\\", "Mods\\Rules\\",
    "Mods\\SkirmishAI\\",    "Mods\\KRFs\\",      "resources\\backup\\",   "Settings\\",
    "Settings\\Scripts\\",   "Settings\\KVS\\",
};

// Creates the missing levels of `relative` below the launcher folder, letting messages
// run after each one as a slow disk would otherwise freeze the window.
void makeFolderTree(Launcher& l, std::string_view relative) {
    std::string path = l.paths.launcherFolder;
    size_t start = 0;
    while (start < relative.size()) {
        size_t end = relative.find('\\', start);
        if (end == std::string_view::npos)
            end = relative.size();
        path += relative.substr(start, end - start);
        path += platform::nativeSeparator();
        if (!platform::folderExists(path) && platform::createFolder(path))
            l.ui().pumpEvents();
        start = end + 1;
    }
}

} // namespace

std::span<const char* const> launcherFolders() {
    return kFolders;
}

void RepairDirectories(Launcher& l) {
    for (const char* folder : kFolders) {
        const std::string full = l.paths.underLauncher(folder);
        if (platform::folderExists(full))
            continue;
        makeFolderTree(l, folder);
        if (!platform::folderExists(full))
            l.ui().message("Directory missing: " + full +
                               "\n\nKorvane Starter might not work properly.",
                           Icon::Exclamation);
    }
}

bool enterNick(Launcher& l) {
    for (;;) {
        const auto answer = l.ui().input("Please enter your nick name. This name will appear in "
                                         "Korvane if you host/join a game and in Korvane Starter.",
                                         "Nick name");
        const std::string nick = trimmed(answer.value_or(""));
        if (nick.empty())
            return false;
        const char* refusal = nullptr;
        if (nick.find(' ') != std::string::npos)
            refusal = "No spaces allowed!";
        else if (nick.find('\t') != std::string::npos)
            refusal = "No tabs allowed!";
        else if (nick.find_first_of("/\\") != std::string::npos)
            refusal = "Invalid character found!";
        if (!refusal) {
            l.nick = nick;
            l.nickParsed = nick;
            return true;
        }
        l.ui().message(refusal, Icon::Information);
    }
}

void setLobbyLabels(Launcher& l) {
    l.ownNameLabel = l.nick + " (you)";
    if (!l.nick.empty())
        l.gameName = l.nick + (endsWithNoCase(l.nick, "s") ? "' game" : "'s game");
}

// A launcher killed while its copies borrowed the names of the user's own archives left
// the user's files under their kept names: they come back before anything is installed.
void putBackKeptFiles(Launcher& l) {
    for (const std::string& folder : l.installations.paths()) {
        const std::string game = withTrailingSeparator(folder);
        FileGate(l.paths, game, l.ui()).putBackLeftovers(FileKind::InstalledCopy, game);
    }
}

bool runStartup(Launcher& l, std::string_view commandLine) {
    Ui& ui = l.ui();
    if (!platform::folderExists(l.paths.underLauncher("Mods"))) {
        ui.message("Some of the required files were not found, make sure you have the full "
                   "version of Korvane Starter.\nExiting.",
                   Icon::Exclamation);
        return false;
    }
    // InitializeOnce, then DoInitialize (the path variables are set with the Launcher).
    InitializeMainLink(l);
    loadOriginalKdgs(l);
    if (l.endRequested)
        return false;
    loadFileTypeTables(l);

    resetPlayerAiBookkeeping(l);
    fillCatalogues(l);
    l.options.resolution = 0;
    l.options.softwareRenderType = 0;

    l.firstRun = true;
    (void)platform::setCurrentDirectory(l.paths.launcherFolder);
    RepairDirectories(l);
    LoadCustomKVSLinks(l);
    if (platform::fileExists(l.settingsFilePath()))
        l.firstRun = false;
    PrepGetDefaultValues(l);
    putBackKeptFiles(l);
    reapplyChoices(l, true);

    l.mapEditorAvailable = CheckForTerraForge(l);
    l.scriptHelpAvailable = CheckForScriptHelpFile(l);
    l.view().refresh(); // the AI lists' tool tips
    setLobbyLabels(l);

    if (l.firstRun) {
        if (!enterNick(l))
            return false;
        SetDefaultValues(l);
        AddKVPath(l, SetKVPath(l));
        ui.pumpEvents();
    }
    copyAllAdditionalFiles(l);
    refillKdgList(l);
    l.view().fixToolbarSize();
    if (l.updateAtStartup)
        l.view().startUpdateTimer();
    WriteRegistryKeys(l);
    ui.pumpEvents();

    applyLauncherCommandLine(l, commandLine);
    if (!l.globalConfigLoaded)
        (void)makeSloVlo(l);
    l.view().startLinkAnimation();
    l.startupFinished = true;
    l.view().refresh();
    ui.pumpEvents();
    return true;
}

void closeMainWindow(Launcher& l) {
    l.ui().pumpEvents();
    l.view().stopInternetTransfers();
    if (l.lobby.session)
        l.lobby.session->leave();
    deleteInstalledFiles(l);
    copyDefaultFiles(l);
    renameKdgs(l);
    SaveDefaultValues(l);
    l.ui().pumpEvents();
}

} // namespace kv
