#pragma once
// `KVDebug`, the "Skirmish Debugger": a view of a DebugMonitor that its own timers drive.
// Modeless; closing it stops both timers, and nothing is kept between openings.
#include "debugmon/debug_monitor.h"
#include "debugmon/game_access.h"
#include "debugmon/monitor_clock.h"

#include <QWidget>

#include <array>
#include <memory>

class QLabel;
class QTableWidget;

namespace kv::ui {

class KVDebug : public QWidget {
    Q_OBJECT
public:
    // `access` defaults to the real window system and process memory.
    explicit KVDebug(QWidget* parent = nullptr,
                     std::unique_ptr<debugmon::GameAccess> access = nullptr);
    ~KVDebug() override;

    const debugmon::DebugMonitor& monitor() const { return monitor_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void showSearch(bool found);
    void showFigures();

    std::unique_ptr<debugmon::GameAccess> access_;
    debugmon::DebugMonitor monitor_;
    debugmon::MonitorClock* clock_ = nullptr;
    QTableWidget* report_ = nullptr;
    QLabel* status_ = nullptr;
    QLabel* debugMode_ = nullptr;
    std::array<QLabel*, debugmon::kPlayers> swatches_{};
};

// Opens the monitor, or raises the one already open under `parent`.
KVDebug* openDebugMonitor(QWidget* parent);

} // namespace kv::ui
