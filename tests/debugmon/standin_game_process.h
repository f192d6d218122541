#pragma once
// The stand-in game as a real process of its own, with a real window on the test's X
// display; ended when the object goes if it has not quit by itself.
#include "platform/files.h"
#include "platform/shell.h"
#include "platform/windows.h"
#include "tests/support/temp_folder.h"
#include "tests/support/wait.h"

#include <csignal>

namespace kv::test {

inline bool gameWindowThere() {
    return platform::findWindowByTitle("Korvane Tactics").handle >= 1;
}

class StandinGameProcess {
public:
    explicit StandinGameProcess(int quitAfterMs) {
        const std::string exe = tmp_ / "korvane.exe";
        if (!platform::copyFile(KV_STANDIN_GAME, exe))
            return;
        ::setenv("KV_STANDIN_REGISTRY", (tmp_ / "registry.reg").c_str(), 1);
        ::setenv("KV_STANDIN_QUIT_AFTER_MS", std::to_string(quitAfterMs).c_str(), 1);
        processId = platform::startProgram(exe, "", tmp_.path()).processId;
        ::unsetenv("KV_STANDIN_QUIT_AFTER_MS");
        ::unsetenv("KV_STANDIN_REGISTRY");
    }
    ~StandinGameProcess() {
        if (processId > 0 && ::kill(pid_t(processId), SIGTERM) == 0)
            waitFor([this] { return ::kill(pid_t(processId), 0) != 0; }, 5000);
    }
    StandinGameProcess(const StandinGameProcess&) = delete;
    StandinGameProcess& operator=(const StandinGameProcess&) = delete;

    long processId = 0; // 0: not started

private:
    TempFolder tmp_;
};

} // namespace kv::test
