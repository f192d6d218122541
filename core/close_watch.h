#pragma once
// A repeating timer on the user-interface thread that watches for the game's end. Its
// interval is a setting so tests need not wait the product's 2000 ms.
#include <functional>
#include <memory>

class QTimer;

namespace kv {

inline constexpr int kCloseWatchIntervalMs = 2000;

class CloseWatch {
public:
    CloseWatch();
    ~CloseWatch();
    CloseWatch(const CloseWatch&) = delete;
    CloseWatch& operator=(const CloseWatch&) = delete;

    void setInterval(int ms) { interval_ = ms; }
    int interval() const { return interval_; }
    // (Re)starts the watch: `tick` runs every interval until stop(). The first tick comes
    // one interval after the start.
    void start(std::function<void()> tick);
    void stop();
    bool isActive() const;

private:
    // Made on the first start, so a launcher that never starts a game needs no event loop.
    std::unique_ptr<QTimer> timer_;
    std::function<void()> tick_;
    int interval_ = kCloseWatchIntervalMs;
};

} // namespace kv
