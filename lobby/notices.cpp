#include "lobby/notices.h"

#include <QTimer>

#include <utility>

namespace kv::lobby {

Notices::Notices(Job dropped, QObject* parent) : QObject(parent), dropped_(std::move(dropped)) {}

void Notices::post(Job job) {
    if (jobs_.size() >= kMaxPendingNotices) {
        if (!dropSaid_) {
            dropSaid_ = true;
            jobs_.push_back(dropped_);
        }
        return;
    }
    jobs_.push_back(std::move(job));
    scheduleNext();
}

void Notices::scheduleNext() {
    // A box on screen runs its own loop; the next waits until it is closed.
    if (showing_ || scheduled_ || jobs_.empty())
        return;
    scheduled_ = true;
    QTimer::singleShot(0, this, [this] { showNext(); });
}

void Notices::showNext() {
    scheduled_ = false;
    if (showing_ || jobs_.empty())
        return;
    Job job = std::move(jobs_.front());
    jobs_.pop_front();
    showing_ = true;
    job();
    showing_ = false;
    if (jobs_.empty())
        dropSaid_ = false;
    scheduleNext();
}

} // namespace kv::lobby
