#include "debugmon/monitor_clock.h"

#include "debugmon/debug_monitor.h"

namespace kv::debugmon {

MonitorClock::MonitorClock(DebugMonitor& monitor, QObject* parent)
    : QObject(parent), monitor_(monitor), search_(new QTimer(parent ? parent : this)),
      update_(new QTimer(parent ? parent : this)) {
    search_->setObjectName(QStringLiteral("TimerGetKvWindow"));
    search_->setInterval(kSearchInterval);
    update_->setObjectName(QStringLiteral("TimerUpdate"));
    update_->setInterval(kUpdateInterval);
    connect(search_, &QTimer::timeout, this, &MonitorClock::onSearch);
    connect(update_, &QTimer::timeout, this, &MonitorClock::onUpdate);
}

void MonitorClock::start() {
    search_->start();
}

void MonitorClock::stop() {
    search_->stop();
    update_->stop();
}

void MonitorClock::onSearch() {
    if (!monitor_.search()) {
        update_->stop();
    } else if (!update_->isActive()) {
        // Started only once: restarting it on every search would keep it from ever firing.
        update_->setInterval(kUpdateInterval);
        update_->start();
    }
    emit searched(monitor_.found());
}

void MonitorClock::onUpdate() {
    monitor_.update();
    emit updated();
}

} // namespace kv::debugmon
