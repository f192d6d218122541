#include "tests/support/scripted_ui.h"

#include <gtest/gtest.h>

namespace kv::test {

namespace {

template <typename T> T takeOrFail(std::deque<T>& queue, const std::string& what, T fallback) {
    if (queue.empty()) {
        ADD_FAILURE() << "unexpected " << what;
        return fallback;
    }
    T answer = std::move(queue.front());
    queue.pop_front();
    return answer;
}

} // namespace

std::vector<std::string> ScriptedUi::messageTexts() const {
    std::vector<std::string> texts;
    for (const auto& m : messages_)
        texts.push_back(m.text);
    return texts;
}

void ScriptedUi::clear() {
    messages_.clear();
    prompts_.clear();
    pumps_ = 0;
}

bool ScriptedUi::allAnswersUsed() const {
    return messageAnswers_.empty() && inputAnswers_.empty() && fileAnswers_.empty() &&
           folderAnswers_.empty() && choiceAnswers_.empty();
}

Answer ScriptedUi::message(const std::string& text, Icon icon, Buttons buttons,
                           const std::string& title) {
    return record({text, icon, buttons, title, std::nullopt});
}

Answer ScriptedUi::messageWithDefault(const std::string& text, Icon icon, Buttons buttons,
                                      const std::string& title, Answer defaultButton) {
    return record({text, icon, buttons, title, defaultButton});
}

Answer ScriptedUi::record(RecordedMessage message) {
    const Buttons buttons = message.buttons;
    const std::string text = message.text;
    messages_.push_back(std::move(message));
    // A plain notice has only one answer; it must not use up one scripted for a question.
    if (buttons == Buttons::Ok)
        return Answer::Ok;
    return takeOrFail(messageAnswers_, "question: " + text, Answer::Cancel);
}

std::optional<std::string> ScriptedUi::input(const std::string& prompt, const std::string&,
                                             const std::string&) {
    prompts_.push_back(prompt);
    return takeOrFail(inputAnswers_, "input box: " + prompt, std::optional<std::string>{});
}

std::optional<std::string> ScriptedUi::openFile(const std::string& title, const std::string& filter,
                                                const std::string&) {
    prompts_.push_back("open:" + title + "|" + filter);
    return takeOrFail(fileAnswers_, "open dialog: " + filter, std::optional<std::string>{});
}

std::optional<std::string> ScriptedUi::saveFile(const std::string& title, const std::string& filter,
                                                const std::string&, const std::string&) {
    prompts_.push_back("save:" + title + "|" + filter);
    return takeOrFail(fileAnswers_, "save dialog: " + filter, std::optional<std::string>{});
}

std::optional<std::string> ScriptedUi::pickFolder(const std::string& title, const std::string&) {
    prompts_.push_back("folder:" + title);
    return takeOrFail(folderAnswers_, "folder picker: " + title, std::optional<std::string>{});
}

std::optional<int> ScriptedUi::choose(const std::string& title, const std::vector<std::string>&,
                                      int) {
    prompts_.push_back("choose:" + title);
    return takeOrFail(choiceAnswers_, "choice list: " + title, std::optional<int>{});
}

} // namespace kv::test
