#pragma once
// The Tools button and its menu of maintenance commands.
#include <QToolButton>

#include <functional>
#include <string>

namespace kv {
class Launcher;
}

namespace kv::ui {

class ToolsButton : public QToolButton {
    Q_OBJECT
public:
    explicit ToolsButton(Launcher& launcher, QWidget* parent = nullptr);
    // Entry texts that show a state, and which entries can be used.
    void refresh();

    // The update check, once it exists; until then "Check for updates" stays disabled.
    void setUpdateCheck(std::function<void()> check);
    // The program a restart starts (the launcher's own executable unless a test says).
    void setRestartProgram(std::string program) { restartProgram_ = std::move(program); }

    // Runs an entry by its text, as choosing it in the menu does.
    void run(const QString& entry);

signals:
    // The launcher must end at once, without saving its settings.
    void endRequested();
    // The main window must close with its usual closing sequence.
    void closeRequested();

private:
    void openMapViewer();
    Launcher& launcher_;
    bool patch110Done_ = false;
    bool checking_ = false; // an update check runs; its entry is "Cancel update check"
    std::function<void()> updateCheck_;
    std::string restartProgram_;
};

} // namespace kv::ui
