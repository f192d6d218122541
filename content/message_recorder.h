#pragma once
// A Ui that keeps the messages an operation would show, so a plan can show them later
// at the point where they belong. Nothing is asked: the install asks no questions.
#include "common/dialogless_ui.h"
#include "content/start_plan.h"

#include <vector>

namespace kv::content {

class MessageRecorder : public DialoglessUi {
public:
    using Ui::message;
    Answer message(const std::string& text, Icon icon, Buttons buttons,
                   const std::string& title) override {
        messages.push_back({text, icon, buttons, title});
        return Answer::Ok;
    }

    std::vector<PlannedMessage> messages;
};

} // namespace kv::content
