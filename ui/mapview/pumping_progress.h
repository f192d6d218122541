#pragma once
// Progress for the viewer window: every report goes to the window and lets pending events
// run, so the window repaints and the stop menu can be used while a map loads or draws.
#include "common/progress.h"

#include <functional>
#include <string>

namespace kv::ui {

class PumpingProgress : public Progress {
public:
    std::function<void(const std::string&)> onStatus;
    std::function<void(std::uint64_t current, std::uint64_t total)> onProgress;

    void setStatus(const std::string& text) override;
    void setProgress(std::uint64_t current, std::uint64_t total) override;
    bool stopRequested() override { return false; } // the viewer keeps its own stop flag
};

} // namespace kv::ui
