#pragma once
// What the lobby needs of the launcher around it besides its own state: the user, the
// content it compares with the peers', and the few launcher settings it reads or sets.
// The launcher implements it; a test can implement it over a content state of its own.
#include "common/ui_port.h"
#include "content/content_env.h"
#include "content/content_state.h"

#include <array>
#include <string>

namespace kv::lobby {

inline constexpr int kHostHistorySize = 11;
using HostHistory = std::array<std::string, kHostHistorySize>;

class LobbySurroundings {
public:
    virtual ~LobbySurroundings() = default;
    virtual Ui& ui() = 0;
    virtual content::ContentState& content() = 0;
    // The environment of the current installation, built at each call.
    virtual content::ContentEnv contentEnv() = 0;
    // The nick as sent to peers and the game.
    virtual const std::string& nick() = 0;
    // The addresses typed for joining, newest first, and how many are set.
    virtual HostHistory& hostHistory() = 0;
    virtual int& hostHistoryCount() = 0;
    // Hosting or joining switches the launcher's multiplayer option on.
    virtual void setMultiplayerMode() = 0;
    // A peer changed the AI and rules choices: the launcher keeps and installs them.
    virtual void installChoices() = 0;
    // The state changed: the window shows it again.
    virtual void refresh() = 0;
};

} // namespace kv::lobby
