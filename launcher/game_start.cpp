#include "launcher/game_start.h"

#include "common/ui_port.h"
#include "content/install.h"
#include "launcher/content_wiring.h"
#include "launcher/installation_actions.h"
#include "launcher/launch_plan.h"
#include "launcher/launcher.h"
#include "lobby/lobby.h"
#include "platform/files.h"
#include "platform/shell.h"
#include "platform/windows.h"

namespace kv {

bool makeSloVlo(Launcher& l) {
    const bool installed = content::makeSloVlo(l.content, contentEnv(l));
    l.view().refresh();
    return installed;
}

MultiplayerSwitches currentMultiplayerSwitches(Launcher& l) {
    MultiplayerSwitches mp;
    mp.gameName = l.gameName;
    mp.nick = l.nickParsed;
    // What the lobby knows of the coming game; without a lobby the game is hosted.
    mp.role = l.lobby.mode == lobby::LobbyMode::Join ? LobbyRole::Join : LobbyRole::Host;
    mp.hostLabel = l.lobby.hostLabel;
    mp.localAddress = l.lobby.localAddress;
    return mp;
}

bool hostsMultiplayerGame(Launcher& l) {
    return l.options.multiplayerModeOn == 1 && currentMultiplayerSwitches(l).role == LobbyRole::Host;
}

std::string buildGameCommandLine(Launcher& l) {
    return executeLaunchSteps(l.registry,
                              planLaunch(l.options, currentMultiplayerSwitches(l),
                                         l.installations.currentGameFolder(), l.wineCommand));
}

namespace {

// A Windows game run through Wine reads its prefix's registry, not our store.
void shareRegistryWithWine(const Launcher& l, const std::string& program) {
    if (l.launch.registryStore.empty())
        return;
    const platform::Invocation game = platform::programInvocation(program, {}, l.wineCommand);
    if (!game.throughWine)
        return;
    std::string error;
    (void)platform::importRegistryIntoWine(l.launch.registryStore, game, error);
}

} // namespace

bool startGame(Launcher& l) {
    if (!hasGameInstallation(l)) {
        l.ui().message(kNoInstallationMessage, Icon::Exclamation);
        return false;
    }
    if (!makeSloVlo(l))
        return false;
    if (hostsMultiplayerGame(l) && l.lobby.session)
        l.lobby.session->remote_StartGames();
    l.ui().pumpEvents();

    l.launch.commandLine = buildGameCommandLine(l);

    const std::string folder = l.installations.currentGameFolder();
    // A vanished folder leaves the current directory as it was; the start then fails.
    (void)platform::setCurrentDirectory(folder);
    const std::string program = folder + kGameExecutable;
    shareRegistryWithWine(l, program);
    const platform::StartResult started = platform::startProgram(
        program, l.launch.commandLine, {}, platform::WindowMode::Normal, l.wineCommand);
    l.launch.started = started.ok;
    l.launch.startError = started.error;

    l.ui().pumpEvents();
    WatchForKVClose(l);
    l.ui().pumpEvents();
    l.view().minimise();
    l.wasMinimised = true;
    return true;
}

void WatchForKVClose(Launcher& l) {
    l.launch.closeWatch.start([&l] { closeWatchTick(l); });
}

void closeWatchTick(Launcher& l) {
    // Without a window system no game window can be found, so the launcher comes back.
    if (platform::findWindowByTitle(kGameWindowTitle).handle >= 1)
        return;
    l.launch.closeWatch.stop();
    MaximizeKVS(l);
    l.view().bringToFront();
}

void MaximizeKVS(Launcher& l) {
    l.wasMinimised = false;
    l.view().restoreNormal();
    // Flipping always-on-top twice raises the window above all others for a moment and
    // leaves the setting as it was.
    SetOnTop(l, !l.alwaysOnTop);
    l.ui().pumpEvents();
    SetOnTop(l, !l.alwaysOnTop);
}

void SetOnTop(Launcher& l, bool onTop) {
    l.alwaysOnTop = onTop;
    l.view().setOnTop(onTop);
}

bool refreshOnRestore(Launcher& l) {
    if (!l.wasMinimised || l.busy)
        return false;
    l.wasMinimised = false;
    refillKdgList(l);
    fillCatalogues(l); // selects the choices again
    return true;
}

} // namespace kv
