#pragma once
// Boxes that peers cause, shown one at a time from the top of the event loop. A socket
// or timer handler only queues them, so an open box holds up no greeting, send or
// receive. A question a protocol step needs is queued the same way; its answer goes on
// with that step.
#include <QObject>

#include <deque>
#include <functional>
#include <string>

namespace kv::lobby {

// Notices waiting to be shown; more are dropped and the drop said once.
inline constexpr size_t kMaxPendingNotices = 64;

class Notices : public QObject {
    Q_OBJECT
public:
    using Job = std::function<void()>;

    // `dropped` is shown (once per flood) when the queue was full.
    Notices(Job dropped, QObject* parent = nullptr);

    void post(Job job);
    // Queued and not yet shown, and the one on screen.
    size_t pending() const { return jobs_.size() + (showing_ ? 1 : 0); }

private:
    void scheduleNext();
    void showNext();

    Job dropped_;
    std::deque<Job> jobs_;
    bool showing_ = false;
    bool scheduled_ = false;
    bool dropSaid_ = false;
};

} // namespace kv::lobby
