#pragma once
// Puts a downloaded launcher in place of the running one: waits until the launcher has
// ended, keeps the old executable beside it as "<name>_old", moves the new file into
// place with the old one's run bits, and starts it. Any failure puts the old one back.
#include <string>

namespace kv::renamer {

struct Request {
    std::string newFile; // the downloaded launcher
    std::string target;  // the launcher's executable
    long waitForPid = 0; // 0: nothing to wait for
    int waitMs = 60000;
};

struct Outcome {
    bool ok = false;
    std::string error; // one line for the user when !ok
};

// "KVStarter.exe" -> "KVStarter_old.exe"; "kvstarter" -> "kvstarter_old".
std::string backupName(const std::string& target);

Outcome replaceAndRestart(const Request& request);

} // namespace kv::renamer
