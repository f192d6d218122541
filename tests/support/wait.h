#pragma once
// Waiting for something another process or the event loop brings about, with a time limit.
#include <QCoreApplication>

#include <chrono>
#include <functional>
#include <thread>

namespace kv::test {

// Polls `done` without running any event, so no timer of the code under test can fire in
// between; true once it holds, false when `ms` have passed. Every 50 ms, not faster: a
// window lookup opens a connection to the X server, and at 20 ms a game starting at the
// same time on a loaded machine could not connect to the display at all.
inline bool waitFor(const std::function<bool()>& done, int ms) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!done()) {
        if (std::chrono::steady_clock::now() > until)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

// Runs the event loop (timers included) until `done` or the time is up.
inline bool pumpUntil(const std::function<bool()>& done, int ms) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!done()) {
        if (std::chrono::steady_clock::now() > until)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

} // namespace kv::test
