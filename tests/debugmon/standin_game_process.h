#pragma once
// The stand-in game run as a real process of its own, with a real window under the test's
// X display, ended when the object goes if it has not quit by itself.
#include "platform/files.h"
#include "platform/shell.h"
#include "platform/windows.h"
#include "tests/support/temp_folder.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>

namespace kv::test {

inline bool waitFor(const std::function<bool()>& done, int ms) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!done()) {
        if (std::chrono::steady_clock::now() > until)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

inline bool gameWindowThere() {
    return platform::findWindowByTitle("Korvane Tactics").handle >= 1;
}

class StandinGameProcess {
public:
    explicit StandinGameProcess(int quitAfterMs) {
        const std::string exe = tmp_ / "game/korvane.exe";
        tmp_.write("game/readme.txt", "");
        if (!platform::copyFile(KV_STANDIN_GAME, exe)) {
            error = "cannot copy the stand-in game";
            return;
        }
        ::setenv("KV_STANDIN_REGISTRY", (tmp_ / "registry.reg").c_str(), 1);
        ::setenv("KV_STANDIN_QUIT_AFTER_MS", std::to_string(quitAfterMs).c_str(), 1);
        // A real window, whatever platform the test's own widgets use.
        const char* platformBefore = std::getenv("QT_QPA_PLATFORM");
        const std::string before = platformBefore ? platformBefore : "";
        ::setenv("QT_QPA_PLATFORM", "xcb", 1);
        const platform::StartResult r = platform::startProgram(exe, "", tmp_ / "game");
        if (platformBefore)
            ::setenv("QT_QPA_PLATFORM", before.c_str(), 1);
        else
            ::unsetenv("QT_QPA_PLATFORM");
        ::unsetenv("KV_STANDIN_QUIT_AFTER_MS");
        ::unsetenv("KV_STANDIN_REGISTRY");
        processId = r.ok ? r.processId : 0;
        error = r.error;
    }
    ~StandinGameProcess() {
        if (running()) {
            ::kill(pid_t(processId), SIGTERM);
            waitFor([this] { return !running(); }, 5000);
        }
    }
    StandinGameProcess(const StandinGameProcess&) = delete;
    StandinGameProcess& operator=(const StandinGameProcess&) = delete;

    bool running() const { return processId > 0 && ::kill(pid_t(processId), 0) == 0; }

    long processId = 0;
    std::string error;

private:
    TempFolder tmp_;
};

} // namespace kv::test
