#pragma once
// Gives the launcher its lobby, on the launcher's state and settings.
namespace kv {

class Launcher;

// Creates the launcher's lobby (start-up, the game start and closing reach it through
// the lobby state); a start asked by the host starts the game here.
void wireLobby(Launcher& launcher);

} // namespace kv
