#include "lobby/outbox.h"

#include <algorithm>
#include <limits>
#include <utility>
#include <vector>

namespace kv::lobby {

namespace {

// One tick stops after this much work and lets the event loop run before the rest:
// a burst of peers must not stall sockets and timers.
constexpr qint64 kTickBudgetMs = 4;

} // namespace

Outbox::Outbox(QObject* parent) : QObject(parent) {
    clock_.start();
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, [this] { tick(); });
}

qint64 Outbox::dueAt(const Line& line) const {
    return line.lastRunMs < 0 ? 0 : line.lastRunMs + spacingMs_;
}

void Outbox::queue(int connection, Step step) {
    Line& line = lines_[connection];
    // A step queued from inside another step waits for the timer: the caller is
    // still in the middle of its own work.
    if (line.steps.empty() && !running_ && dueAt(line) <= clock_.elapsed()) {
        line.steps.push_back(std::move(step));
        runStep(line);
        return;
    }
    line.steps.push_back(std::move(step));
    schedule();
}

void Outbox::forget(int connection) {
    lines_.erase(connection);
}

size_t Outbox::pending(int connection) const {
    const auto it = lines_.find(connection);
    return it == lines_.end() ? 0 : it->second.steps.size();
}

size_t Outbox::pending() const {
    size_t total = 0;
    for (const auto& [connection, line] : lines_)
        total += line.steps.size();
    return total;
}

void Outbox::runStep(Line& line) {
    Step step = std::move(line.steps.front());
    line.steps.pop_front();
    line.lastRunMs = clock_.elapsed();
    running_ = true;
    step();
    running_ = false;
    // `line` may be gone now: the step can forget its own connection.
}

void Outbox::schedule() {
    qint64 next = std::numeric_limits<qint64>::max();
    for (const auto& [connection, line] : lines_)
        if (!line.steps.empty())
            next = std::min(next, dueAt(line));
    if (next == std::numeric_limits<qint64>::max()) {
        timer_.stop();
        return;
    }
    const int wait = int(std::max<qint64>(0, next - clock_.elapsed()));
    if (!timer_.isActive() || timer_.remainingTime() > wait)
        timer_.start(wait);
}

void Outbox::tick() {
    const qint64 now = clock_.elapsed();
    // Earliest due first; equal times in connection order, so peers are served in the
    // order they came.
    std::vector<std::pair<qint64, int>> due;
    for (const auto& [connection, line] : lines_)
        if (!line.steps.empty() && dueAt(line) <= now)
            due.emplace_back(dueAt(line), connection);
    std::sort(due.begin(), due.end());
    QElapsedTimer work;
    work.start();
    for (const auto& [at, connection] : due) {
        const auto it = lines_.find(connection);
        if (it == lines_.end() || it->second.steps.empty())
            continue; // forgotten by an earlier step
        runStep(it->second);
        if (work.elapsed() >= kTickBudgetMs)
            break;
    }
    schedule();
}

} // namespace kv::lobby
