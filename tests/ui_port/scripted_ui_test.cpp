#include "tests/support/scripted_ui.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

namespace kv::test {
namespace {

// Every other test leans on the recording and the answer queues; what none of them can
// show is that a dialog nobody scripted fails the test instead of passing unseen.
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
