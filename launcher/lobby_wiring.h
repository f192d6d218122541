#pragma once
// Gives the launcher its lobby, on the launcher's state and settings.
namespace kv {

class Launcher;

// Creates the launcher's lobby and hooks it into the start of the game and the closing.
void wireLobby(Launcher& launcher);

} // namespace kv
