#include "tests/support/scripted_ui.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

namespace kv::test {
namespace {

TEST(ScriptedUi, RecordsEveryMessageWithIconButtonsAndTitle) {
    ScriptedUi ui;
    ui.answerMessage(Answer::No);
    EXPECT_EQ(ui.message("Notice", Icon::Information, Buttons::Ok, {}), Answer::Ok);
    EXPECT_EQ(ui.message("Remove?", Icon::Question, Buttons::YesNo, "Confirm"), Answer::No);
    ASSERT_EQ(ui.messages().size(), 2u);
    const RecordedMessage& q = ui.messages()[1];
    EXPECT_EQ(q.text, "Remove?");
    EXPECT_EQ(q.icon, Icon::Question);
    EXPECT_EQ(q.buttons, Buttons::YesNo);
    EXPECT_EQ(q.title, "Confirm");
    EXPECT_EQ(ui.messageTexts(), (std::vector<std::string>{"Notice", "Remove?"}));
    EXPECT_TRUE(ui.allAnswersUsed());
}

TEST(ScriptedUi, AnswersEachKindFromItsOwnQueue) {
    ScriptedUi ui;
    ui.answerInput("phrase");
    ui.answerInput(std::nullopt);
    ui.answerFile("/g/korvane.exe");
    ui.answerFolder("/g/");
    ui.answerChoice(2);
    Ui& port = ui; // as operations see it, default arguments included
    EXPECT_EQ(port.input("Enter your phrase for F1 button here"), "phrase");
    EXPECT_EQ(port.input("again"), std::nullopt);
    EXPECT_EQ(port.openFile("Find", "korvane.exe|korvane.exe"), "/g/korvane.exe");
    EXPECT_EQ(port.pickFolder("Folder"), "/g/");
    EXPECT_EQ(port.choose("Pick", {"a", "b", "c"}), 2);
    ui.pumpEvents();
    EXPECT_EQ(ui.pumpCount(), 1);
    EXPECT_EQ(ui.prompts(), (std::vector<std::string>{"Enter your phrase for F1 button here",
                                                      "again", "open:Find|korvane.exe|korvane.exe",
                                                      "folder:Folder", "choose:Pick"}));
    EXPECT_TRUE(ui.allAnswersUsed());
}

TEST(ScriptedUi, AnUnexpectedQuestionFailsTheTest) {
    ScriptedUi ui;
    EXPECT_NONFATAL_FAILURE(ui.message("Sure?", Icon::Question, Buttons::YesNo, {}),
                            "unexpected question: Sure?");
    Ui& port = ui;
    EXPECT_NONFATAL_FAILURE(port.saveFile("Save", "Text|*.txt"), "unexpected save dialog");
    ui.answerMessage(Answer::Yes);
    EXPECT_FALSE(ui.allAnswersUsed());
}

} // namespace
} // namespace kv::test
