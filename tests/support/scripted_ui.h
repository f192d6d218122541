#pragma once
// A Ui that records every message and answers from a script. A question the script does
// not expect fails the test, so a test states every dialog it lets the code show.
#include "common/ui_port.h"

#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace kv::test {

struct RecordedMessage {
    std::string text;
    Icon icon;
    Buttons buttons;
    std::string title;
    std::optional<Answer> defaultButton; // when the caller named one
};

class ScriptedUi : public Ui {
public:
    // Answers for the coming calls, in order, each kind in its own queue.
    void answerMessage(Answer a) { messageAnswers_.push_back(a); }
    void answerInput(std::optional<std::string> a) { inputAnswers_.push_back(std::move(a)); }
    void answerFile(std::optional<std::string> a) { fileAnswers_.push_back(std::move(a)); }
    void answerFolder(std::optional<std::string> a) { folderAnswers_.push_back(std::move(a)); }
    void answerChoice(std::optional<int> a) { choiceAnswers_.push_back(a); }

    const std::vector<RecordedMessage>& messages() const { return messages_; }
    std::vector<std::string> messageTexts() const;
    const std::vector<std::string>& prompts() const { return prompts_; } // input + dialogs
    int pumpCount() const { return pumps_; }
    void clear();
    // True when every scripted answer was used.
    bool allAnswersUsed() const;

    using Ui::message;
    Answer message(const std::string& text, Icon icon, Buttons buttons,
                   const std::string& title) override;
    std::optional<std::string> input(const std::string& prompt, const std::string& title,
                                     const std::string& defaultText) override;
    std::optional<std::string> openFile(const std::string& title, const std::string& filter,
                                        const std::string& initialFolder) override;
    std::optional<std::string> saveFile(const std::string& title, const std::string& filter,
                                        const std::string& initialFolder,
                                        const std::string& defaultName) override;
    std::optional<std::string> pickFolder(const std::string& title,
                                          const std::string& initialFolder) override;
    std::optional<int> choose(const std::string& title, const std::vector<std::string>& items,
                              int current) override;
    void pumpEvents() override { ++pumps_; }

protected:
    Answer messageWithDefault(const std::string& text, Icon icon, Buttons buttons,
                              const std::string& title, Answer defaultButton) override;

private:
    Answer record(RecordedMessage message);

    std::deque<Answer> messageAnswers_;
    std::deque<std::optional<std::string>> inputAnswers_;
    std::deque<std::optional<std::string>> fileAnswers_;
    std::deque<std::optional<std::string>> folderAnswers_;
    std::deque<std::optional<int>> choiceAnswers_;
    std::vector<RecordedMessage> messages_;
    std::vector<std::string> prompts_;
    int pumps_ = 0;
};

} // namespace kv::test
