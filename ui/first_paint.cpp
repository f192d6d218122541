#include "ui/first_paint.h"

#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>
#include <cstdlib>
#include <vector>

namespace kv::ui {

namespace {

// Watches one window for its first paint and keeps what waits for it.
class FirstPaintWatch : public QObject {
public:
    explicit FirstPaintWatch(QWidget& window) : QObject(&window) {
        setObjectName(QStringLiteral("FirstPaintWatch"));
        window.installEventFilter(this);
    }

    static FirstPaintWatch& of(QWidget& window) {
        auto* watch = window.findChild<FirstPaintWatch*>(QStringLiteral("FirstPaintWatch"),
                                                         Qt::FindDirectChildrenOnly);
        return watch ? *watch : *new FirstPaintWatch(window);
    }

    void add(std::function<void()> job) {
        if (painted_)
            job();
        else
            jobs_.push_back(std::move(job));
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        // The children paint and the window is flushed in the same pass: a zero-time
        // timer runs after it.
        if (event->type() == QEvent::Paint && !painted_) {
            painted_ = true;
            // Nothing more to watch: the window's later events pass unfiltered.
            watched->removeEventFilter(this);
            QTimer::singleShot(0, this, [this] {
                for (auto& job : std::exchange(jobs_, {}))
                    job();
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool painted_ = false;
    std::vector<std::function<void()>> jobs_;
};

} // namespace

void afterFirstPaint(QWidget& window, std::function<void()> job) {
    FirstPaintWatch::of(window).add(std::move(job));
}

void exitAfterFirstPaintIfAsked(QWidget& window) {
    // Nothing is torn down: only the way to the window counts.
    if (!qEnvironmentVariableIsEmpty("KV_EXIT_AFTER_FIRST_PAINT"))
        afterFirstPaint(window, [] { std::_Exit(0); });
}

} // namespace kv::ui
