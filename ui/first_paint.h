#pragma once
// Work that the first sight of a window need not wait for runs once the window has
// painted: start-up shows the window first and reads or animates after.
#include <functional>

class QWidget;

namespace kv::ui {

// Runs `job` from the event loop once `window` has painted for the first time; at once
// when it already has. A window that is never shown never runs it.
void afterFirstPaint(QWidget& window, std::function<void()> job);

// For the start-up benchmark: with KV_EXIT_AFTER_FIRST_PAINT set, the process ends as
// soon as `window` has painted once, so that its CPU time is the time to a visible window.
void exitAfterFirstPaintIfAsked(QWidget& window);

} // namespace kv::ui
