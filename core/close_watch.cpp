#include "core/close_watch.h"

#include <QTimer>

namespace kv {

CloseWatch::CloseWatch() = default;
CloseWatch::~CloseWatch() = default;

void CloseWatch::start(std::function<void()> tick) {
    tick_ = std::move(tick);
    if (!timer_) {
        timer_ = std::make_unique<QTimer>();
        QObject::connect(timer_.get(), &QTimer::timeout, [this] {
            // A copy: the tick may start the watch again with another callback.
            const auto tick = tick_;
            if (tick)
                tick();
        });
    }
    timer_->start(interval_);
}

void CloseWatch::stop() {
    if (timer_)
        timer_->stop();
}

bool CloseWatch::isActive() const {
    return timer_ && timer_->isActive();
}

} // namespace kv
