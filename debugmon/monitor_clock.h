#pragma once
// The monitor's two timers: the window search every 100 ms while running, and the update
// every 500 ms while the game is found. The window and kvstool both run the monitor on it.
#include <QObject>
#include <QTimer>

namespace kv::debugmon {

class DebugMonitor;

class MonitorClock : public QObject {
    Q_OBJECT
public:
    static constexpr int kSearchInterval = 100;
    static constexpr int kUpdateInterval = 500;

    // The timers are children of `parent` (named "TimerGetKvWindow" and "TimerUpdate"), so
    // a window that owns the clock shows them as its own.
    MonitorClock(DebugMonitor& monitor, QObject* parent);

    void start(); // the search timer; the update timer follows the search's result
    void stop();  // both

    QTimer* searchTimer() const { return search_; }
    QTimer* updateTimer() const { return update_; }

signals:
    void searched(bool found);
    void updated();

private:
    void onSearch();
    void onUpdate();

    DebugMonitor& monitor_;
    QTimer* search_;
    QTimer* update_;
};

} // namespace kv::debugmon
