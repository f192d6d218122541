#pragma once
// The buttons beside the start button: "Apply", the map editor, the key help, and the
// preview of what the start button would run now.
#include "platform/shell.h"

#include <string>
#include <vector>

namespace kv {

class Launcher;

// "Apply": the AI and rules installation alone. True when it went through, and the
// button then disables itself.
bool applyChanges(Launcher& launcher);

// Starts the game's map editor from the current game folder, " -hardware" for the
// "Direct3D" render mode and no parameters for "Software". False when it did not start,
// after telling the user why.
bool startMapEditor(Launcher& launcher);
std::string mapEditorParameters(int renderMode);

// The "Info" box: the game's keys.
std::string keyHelpText();
void showKeyHelp(Launcher& launcher);

struct LaunchPreview {
    std::string commandLine; // exactly as the game receives it
    std::string invocation;  // the program and its arguments as they are run, quoted for a shell
};
// What the start button would run now; writes nothing.
LaunchPreview launchPreview(Launcher& launcher);

// Arguments joined with blanks; each one that a POSIX shell would split or expand is put
// in single quotes.
std::string shellQuoted(const std::vector<std::string>& argv);
// The invocation as a shell line: its environment additions ("NAME=value") first.
std::string shellLine(const platform::Invocation& invocation);

} // namespace kv
