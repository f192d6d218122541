#pragma once
// A progress sink that keeps every status text and byte count, and asks to stop after a
// given number of stop checks, or once a test sets `stop`.
#include "common/progress.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kv::test {

class RecordingProgress : public Progress {
public:
    void setStatus(const std::string& text) override { statuses.push_back(text); }
    void setProgress(std::uint64_t current, std::uint64_t total) override {
        reports.push_back(current);
        this->total = total;
    }
    bool stopRequested() override { return stop || (stopAfter >= 0 && ++checks > stopAfter); }

    std::vector<std::string> statuses;
    std::vector<std::uint64_t> reports;
    std::uint64_t total = 0;
    int stopAfter = -1; // checks answered "go on" before the first "stop"; < 0: never
    int checks = 0;
    bool stop = false;
};

} // namespace kv::test
