#pragma once
class QWidget;

namespace kv::app {

// When KV_SCREENSHOT names a file (set by ./run on a machine without a display), the
// window is grabbed into it once it has settled, and the program quits.
void scheduleScreenshotIfAsked(QWidget& window);

} // namespace kv::app
