#pragma once
// A Ui for places without a window (command-line tools, benchmarks, fuzzing): every
// dialog is cancelled and there are no events to pump. Subclasses decide what a message
// box shows and answers.
#include "common/ui_port.h"

namespace kv {

class DialoglessUi : public Ui {
public:
    std::optional<std::string> input(const std::string&, const std::string&,
                                     const std::string&) override {
        return std::nullopt;
    }
    std::optional<std::string> openFile(const std::string&, const std::string&,
                                        const std::string&) override {
        return std::nullopt;
    }
    std::optional<std::string> saveFile(const std::string&, const std::string&, const std::string&,
                                        const std::string&) override {
        return std::nullopt;
    }
    std::optional<std::string> pickFolder(const std::string&, const std::string&) override {
        return std::nullopt;
    }
    std::optional<int> choose(const std::string&, const std::vector<std::string>&, int) override {
        return std::nullopt;
    }
    void pumpEvents() override {}
};

} // namespace kv
