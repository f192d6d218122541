// The lobby's place in the launcher: what it uses of the launcher, the start of the game
// and the closing.
#include "launcher/lobby_wiring.h"

#include "launcher/content_wiring.h"
#include "launcher/game_start.h"
#include "launcher/launcher.h"
#include "lobby/lobby.h"

namespace kv {

namespace {

class LauncherAroundLobby : public lobby::LobbySurroundings {
public:
    explicit LauncherAroundLobby(Launcher& launcher) : l_(launcher) {}
    Ui& ui() override { return l_.ui(); }
    content::ContentState& content() override { return l_.content; }
    content::ContentEnv contentEnv() override { return kv::contentEnv(l_); }
    const std::string& nick() override { return l_.nickParsed; }
    lobby::HostHistory& hostHistory() override { return l_.hostHistory; }
    int& hostHistoryCount() override { return l_.hostHistoryCount; }
    void setMultiplayerMode() override { l_.options.multiplayerModeOn = 1; }
    void installChoices() override {
        kv::syncChoiceOptions(l_);
        makeSloVlo(l_);
    }
    void refresh() override { l_.view().refresh(); }

private:
    Launcher& l_;
};

} // namespace

void wireLobby(Launcher& l) {
    auto lobby = std::make_shared<lobby::Lobby>(l.lobby, std::make_unique<LauncherAroundLobby>(l));
    lobby::Lobby* session = lobby.get();
    l.lobby.session = std::move(lobby);
    session->startGame = [&l] { (void)kv::startGame(l); };
}

} // namespace kv
