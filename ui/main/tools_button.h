#pragma once
// The Tools button and its menu of maintenance commands.
#include <QToolButton>

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

private:
    void run(const QString& entry);

    Launcher& launcher_;
    bool patch110Done_ = false;
};

} // namespace kv::ui
