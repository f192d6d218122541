#pragma once
// Shows, read-only, what the start button would pass to the game now: the command line
// and, where the game may run through Wine, the whole program invocation. Each can be
// copied with its own button.
#include <QGroupBox>

class QLineEdit;

namespace kv {
class Launcher;
}

namespace kv::ui {

class CommandLinePreview : public QGroupBox {
    Q_OBJECT
public:
    explicit CommandLinePreview(Launcher& launcher, QWidget* parent = nullptr);
    // Reads the option set again.
    void reload();

    QLineEdit* commandLine() const { return commandLine_; }
    QLineEdit* invocation() const { return invocation_; }

private:
    QLineEdit* addRow(const QString& label, const QString& name, const QString& copyName);

    Launcher& launcher_;
    QLineEdit* commandLine_ = nullptr;
    QLineEdit* invocation_ = nullptr;
};

} // namespace kv::ui
