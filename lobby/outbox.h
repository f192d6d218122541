#pragma once
// What each lobby connection still has to send. A connection carries no message
// boundaries, so two messages on one connection are spaced in time; connections never
// wait for each other. One timer serves them all: a step runs when its connection has
// been quiet for the spacing, earliest-due first, and a tick does bounded work.
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <deque>
#include <functional>
#include <map>

namespace kv::lobby {

// Measured on loopback: closer sends than this reach the peer as one block.
inline constexpr int kMessageSpacingMs = 20;

class Outbox : public QObject {
    Q_OBJECT
public:
    using Step = std::function<void()>;

    explicit Outbox(QObject* parent = nullptr);

    // Runs `step` (usually one send) on `connection`'s turn: at once when the connection is
    // idle and quiet long enough, else after the steps queued before it.
    void queue(int connection, Step step);
    // Drops what a connection had left to send; its socket is gone or replaced.
    void forget(int connection);
    size_t pending(int connection) const;
    size_t pending() const;

    void setSpacing(int ms) { spacingMs_ = ms; }
    int spacing() const { return spacingMs_; }

private:
    struct Line {
        std::deque<Step> steps;
        qint64 lastRunMs = -1; // -1: nothing sent yet
    };
    qint64 dueAt(const Line& line) const;
    void runStep(Line& line);
    void schedule();
    void tick();

    std::map<int, Line> lines_;
    QTimer timer_;
    QElapsedTimer clock_;
    int spacingMs_ = kMessageSpacingMs;
    bool running_ = false;
};

} // namespace kv::lobby
