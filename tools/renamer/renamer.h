#pragma once
// Puts a downloaded launcher in place of the running one: waits until the launcher has
// ended, keeps the old executable beside it as "<name>_old" (a second name of the same
// file, so that a launcher stays under its own name at every moment), moves the new file
// over it with the old one's run bits, and starts it. When the new one cannot be started
// the old one is put back and started with the reason (kRolledBackSwitch).
#include <string>

namespace kv::renamer {

struct Request {
    std::string newFile; // the downloaded launcher
    std::string target;  // the launcher's executable
    long waitForPid = 0; // 0: nothing to wait for
    int waitMs = 60000;
    bool start = true; // false: put in place only (kvstool without --restart)
};

// The old launcher, started again after a failed swap, shows the text after this switch.
inline constexpr const char* kRolledBackSwitch = "--update-rolled-back";

struct Outcome {
    bool ok = false;
    std::string error; // one line for the user when !ok
    bool rolledBack = false; // the old launcher is back and was started with the reason
};

// "KVStarter.exe" -> "KVStarter_old.exe"; "kvstarter" -> "kvstarter_old".
std::string backupName(const std::string& target);

Outcome replaceAndRestart(const Request& request);

} // namespace kv::renamer
