#pragma once
// What the end-to-end start tests share: a launcher view that logs what the start and the
// close watch did to the window, and two ways to wait for the game.
#include "core/launcher_view.h"

#include <QCoreApplication>

#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace kv::test {

class WindowStateLog : public LauncherView {
public:
    void minimise() override { log.push_back("minimise"); }
    void restoreNormal() override { log.push_back("restoreNormal"); }
    void bringToFront() override { log.push_back("bringToFront"); }
    void setOnTop(bool on) override { log.push_back(on ? "onTop on" : "onTop off"); }
    std::vector<std::string> log;
};

// Runs the event loop (timers included) until `done` or the time is up.
inline bool runEventsUntil(const std::function<bool()>& done, int ms) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!done()) {
        if (std::chrono::steady_clock::now() > until)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

// Waits without running any event, so no watch tick can come in between.
inline bool blockUntil(const std::function<bool()>& done, int seconds) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (!done()) {
        if (std::chrono::steady_clock::now() > until)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

} // namespace kv::test
