#pragma once
// Long work (extraction, downloads, map reading and drawing) reports through this and
// honours a stop request between its steps. The Qt layer shows any of it in one progress
// dialog and pumps events on each report, so the window stays responsive.
#include <cstdint>
#include <string>

namespace kv {

class Progress {
public:
    virtual ~Progress() = default;
    virtual void setStatus(const std::string& text) = 0;
    virtual void setProgress(std::uint64_t current, std::uint64_t total) = 0;
    // Checked between steps; the work stops cleanly when it turns true.
    virtual bool stopRequested() = 0;
};

// For callers that want neither reports nor stopping.
class NoProgress final : public Progress {
public:
    void setStatus(const std::string&) override {}
    void setProgress(std::uint64_t, std::uint64_t) override {}
    bool stopRequested() override { return false; }
};

} // namespace kv
