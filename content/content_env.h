#pragma once
// What every content operation works against: the launcher's folders, the selected game
// folder and the user. Built by the caller for each call, so a change of installation is
// picked up at once.
#include "common/file_gate.h"
#include "common/paths.h"
#include "common/ui_port.h"

#include <string>

namespace kv::content {

struct ContentEnv {
    const Paths& paths;
    std::string gameFolder; // ends with a separator; empty while no installation is chosen
    Ui& ui;
    bool debug = false; // the launcher's "debug" switch: step logs of the MOD list
};

// The gate every deletion and replacement of a content operation goes through.
FileGate fileGate(const ContentEnv& env);

// "multiplay\skirmish\" of the game folder.
std::string skirmishFolder(const ContentEnv& env);

} // namespace kv::content
