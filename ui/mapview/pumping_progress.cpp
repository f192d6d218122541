#include "ui/mapview/pumping_progress.h"

#include <QCoreApplication>

namespace kv::ui {

void PumpingProgress::setStatus(const std::string& text) {
    if (onStatus)
        onStatus(text);
    QCoreApplication::processEvents();
}

void PumpingProgress::setProgress(std::uint64_t current, std::uint64_t total) {
    if (onProgress)
        onProgress(current, total);
    QCoreApplication::processEvents();
}

} // namespace kv::ui
