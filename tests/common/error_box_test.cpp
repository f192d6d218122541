#include "common/error_box.h"
#include "tests/support/scripted_ui.h"

#include <gtest/gtest.h>

namespace kv {

TEST(ErrorBox, FormatsNumberDescriptionAndOperation) {
    EXPECT_EQ(formatErrorBox(53, "File not found", "remote_sendNick"),
              "Error:\n53: File not found\nError in: remote_sendNick()");

    test::ScriptedUi ui;
    showErrorBox(ui, 70, "Permission denied", "RenameFile");
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0].icon, Icon::Critical);
    EXPECT_EQ(ui.messages()[0].buttons, Buttons::Ok);
    EXPECT_EQ(ui.messages()[0].text, "Error:\n70: Permission denied\nError in: RenameFile()");
}

} // namespace kv
