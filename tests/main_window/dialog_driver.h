#pragma once
#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace kv::test {

// Answers the modal dialogs of one flow in order, the way a user does: with keys typed
// into the dialog that is on top. Also notes when a progress dialog appears, so a test
// can tell whether it came before or after the dialogs that ask.
class DialogDriver : public QObject {
public:
    // A step acts on the dialog on top and says whether it was the dialog it expected.
    using Step = std::function<bool(QWidget* modal)>;

    DialogDriver() {
        qApp->installEventFilter(this);
        connect(&timer_, &QTimer::timeout, this, &DialogDriver::tick);
        timer_.start(10);
    }
    ~DialogDriver() override { qApp->removeEventFilter(this); }

    void then(const char* what, Step step) { steps_.push_back({what, std::move(step)}); }
    std::vector<std::string> log; // the steps done and "progress shown", in order
    bool done() const { return steps_.empty(); }

private:
    void tick() {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || qobject_cast<QProgressDialog*>(modal))
            return;
        if (steps_.empty()) {
            ADD_FAILURE() << "unexpected dialog: " << describe(modal);
            if (auto* dialog = qobject_cast<QDialog*>(modal))
                dialog->reject();
            return;
        }
        if (modal != unmatched_) {
            unmatched_ = modal;
            unmatchedFor_.start();
        }
        if (modal->isVisible() && steps_.front().step(modal)) {
            log.push_back(steps_.front().what);
            steps_.pop_front();
            unmatched_ = nullptr;
            return;
        }
        // A dialog the next step does not take would otherwise wait for ever: the test
        // fails at once and the flow goes on without it.
        if (unmatchedFor_.elapsed() > 3000) {
            ADD_FAILURE() << "waiting for \"" << steps_.front().what << "\", found: "
                          << describe(modal);
            if (auto* dialog = qobject_cast<QDialog*>(modal))
                dialog->reject();
            unmatched_ = nullptr;
        }
    }
    static std::string describe(QWidget* modal) {
        const auto* box = qobject_cast<QMessageBox*>(modal);
        return modal->windowTitle().toStdString() + ": " +
               (box ? box->text().toStdString() : std::string());
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && qobject_cast<QProgressDialog*>(watched))
            log.push_back("progress shown");
        return false;
    }

    struct Named {
        std::string what;
        Step step;
    };
    std::deque<Named> steps_;
    QTimer timer_;
    QWidget* unmatched_ = nullptr; // the dialog on top that the next step has not taken
    QElapsedTimer unmatchedFor_;
};

// The file dialog on top, sent to `folder`: `name` typed into its name field, then
// Enter. Only a name is typed: a typed "/" would send the dialog to the root folder.
// `opensIn`, when given, is where the dialog must have opened.
inline DialogDriver::Step typeIntoFileDialog(std::string folder, std::string name,
                                             std::string opensIn = {}) {
    return [folder = std::move(folder), name = std::move(name),
            opensIn = std::move(opensIn)](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        if (!dialog)
            return false;
        if (!opensIn.empty()) {
            EXPECT_EQ(QDir::cleanPath(dialog->directory().absolutePath()).toStdString(),
                      QDir::cleanPath(QString::fromStdString(opensIn)).toStdString());
        }
        auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        EXPECT_NE(edit, nullptr);
        if (!edit)
            return false;
        dialog->setDirectory(QString::fromStdString(folder));
        edit->clear();
        QTest::keyClicks(edit, QString::fromStdString(name));
        // Never let a flow write anywhere but where the test meant.
        const QStringList chosen = dialog->selectedFiles();
        const QString expected =
            QDir(QString::fromStdString(folder)).absoluteFilePath(QString::fromStdString(name));
        if (chosen.size() != 1 || QDir::cleanPath(chosen[0]) != QDir::cleanPath(expected)) {
            ADD_FAILURE() << "the dialog would choose " << chosen.join(',').toStdString();
            dialog->reject();
            return true;
        }
        QTest::keyClick(edit, Qt::Key_Return);
        return true;
    };
}

// A message box with this text: Enter presses its default button.
inline DialogDriver::Step pressEnterOn(std::string text, std::string* seenDefault = nullptr) {
    return [text = std::move(text), seenDefault](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (!box || box->text().toStdString() != text)
            return false;
        if (seenDefault && box->defaultButton())
            *seenDefault = box->defaultButton()->text().remove('&').toStdString();
        QTest::keyClick(box, Qt::Key_Return);
        return true;
    };
}

inline DialogDriver::Step clickButton(std::string text, QMessageBox::StandardButton button) {
    return [text = std::move(text), button](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (!box || box->text().toStdString() != text)
            return false;
        QTest::mouseClick(box->button(button), Qt::LeftButton);
        return true;
    };
}

// Runs `flow` while the driver answers its dialogs; the flow must end with every step used.
inline void runFlow(DialogDriver& driver, const std::function<void()>& flow) {
    flow();
    EXPECT_TRUE(driver.done()) << "dialogs not shown after "
                               << (driver.log.empty() ? "" : driver.log.back());
}

} // namespace kv::test
