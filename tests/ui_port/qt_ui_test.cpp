#include "tests/support/qt_application.h"
#include "ui/qt_ui.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

namespace kv::ui {
namespace {

class QtUiTest : public ::testing::Test {
protected:
    void SetUp() override { test::application(); }
};

TEST_F(QtUiTest, EveryIconAndButtonSetHasItsMessageBoxCounterpart) {
    using B = QMessageBox;
    struct Case {
        Icon icon;
        QMessageBox::Icon expectedIcon;
        Buttons buttons;
        QMessageBox::StandardButtons expected;
        QMessageBox::StandardButton escape;
    };
    const Case cases[] = {
        {Icon::None, B::NoIcon, Buttons::Ok, B::Ok, B::Ok},
        {Icon::Critical, B::Critical, Buttons::OkCancel, B::Ok | B::Cancel, B::Cancel},
        {Icon::Question, B::Question, Buttons::AbortRetryIgnore, B::Abort | B::Retry | B::Ignore,
         B::Abort},
        {Icon::Exclamation, B::Warning, Buttons::YesNoCancel, B::Yes | B::No | B::Cancel,
         B::Cancel},
        {Icon::Information, B::Information, Buttons::YesNo, B::Yes | B::No, B::No},
        {Icon::Question, B::Question, Buttons::RetryCancel, B::Retry | B::Cancel, B::Cancel},
    };
    for (const auto& c : cases) {
        const auto box = makeMessageBox("t", c.icon, c.buttons, {});
        EXPECT_EQ(box->icon(), c.expectedIcon) << int(c.icon);
        EXPECT_EQ(box->standardButtons(), c.expected) << int(c.buttons);
        EXPECT_EQ(box->escapeButton(), box->button(c.escape)) << int(c.buttons);
    }
}

TEST_F(QtUiTest, TitleAndTextAreShownAsGiven) {
    const struct {
        const char *text, *title, *shown;
    } cases[] = {
        // An empty title is the program's name.
        {"Error:\n53: File not found", "", "Korvane Starter|Error:\n53: File not found"},
        // Legacy Windows-1252 bytes are shown as the characters they stand for.
        {"Caf\xE9", "Ma\xEEtre", "Ma\xC3\xAEtre|Caf\xC3\xA9"},
        // Line breaks written as CR LF or CR show as plain breaks.
        {"Couldn't create:\r\nx\r\rNext", "", "Korvane Starter|Couldn't create:\nx\n\nNext"},
    };
    for (const auto& c : cases) {
        const auto box = makeMessageBox(c.text, Icon::None, Buttons::Ok, c.title);
        EXPECT_EQ(box->windowTitle() + "|" + box->text(), QString::fromUtf8(c.shown));
    }
    // A chat message with markup shows the markup as characters.
    const QString chat = QStringLiteral("<h2>Free</h2><a href=\"http://x.example\">click</a>");
    const auto box =
        makeMessageBox(chat.toStdString(), Icon::Information, Buttons::Ok, "Message from Zed");
    const auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->textFormat(), Qt::PlainText);
    EXPECT_EQ(label->text(), chat);
}

// Enter presses the named default, or without one the box's first button; the answer is
// the button pressed.
TEST_F(QtUiTest, EnterPressesTheDefaultButton) {
    const struct {
        Buttons buttons;
        std::optional<Answer> defaultButton;
        Answer expected;
    } cases[] = {
        {Buttons::YesNo, Answer::No, Answer::No},
        {Buttons::YesNo, std::nullopt, Answer::Yes},
        {Buttons::YesNoCancel, Answer::Cancel, Answer::Cancel},
        {Buttons::AbortRetryIgnore, Answer::Ignore, Answer::Ignore},
        {Buttons::OkCancel, Answer::Yes, Answer::Ok}, // not a button of the box
    };
    QtUi ui;
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.expected));
        bool shown = false;
        QTimer::singleShot(0, [&shown] {
            if (QWidget* box = QApplication::activeModalWidget()) {
                shown = true;
                QTest::keyClick(box, Qt::Key_Return);
            }
        });
        const Answer answer =
            c.defaultButton
                ? ui.message("Fix error?", Icon::Question, c.buttons, {}, *c.defaultButton)
                : ui.message("Fix error?", Icon::Question, c.buttons, {});
        EXPECT_TRUE(shown);
        EXPECT_EQ(answer, c.expected);
    }
}

TEST_F(QtUiTest, FilterStringsBecomeQtFilters) {
    EXPECT_EQ(toQtFilter("korvane.exe|korvane.exe"), "korvane.exe (korvane.exe)");
    EXPECT_EQ(toQtFilter("Maps (*.lnd, *.gam)|*.lnd;*.gam|All files|*.*"),
              "Maps (*.lnd, *.gam) (*.lnd *.gam);;All files (*.*)");
    EXPECT_EQ(toQtFilter("Text|*.txt|dangling"), "Text (*.txt)");
    EXPECT_EQ(toQtFilter(""), "");
}

} // namespace
} // namespace kv::ui
