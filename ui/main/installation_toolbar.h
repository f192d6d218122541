#pragma once
// The "KV Path" button with one menu entry per installation, and the actions button
// ("Change...", "Add...", "Remove...", "Open").
#include <QToolBar>

class QMenu;
class QToolButton;

namespace kv {
class Launcher;
}

namespace kv::ui {

class InstallationToolbar : public QToolBar {
    Q_OBJECT
public:
    explicit InstallationToolbar(Launcher& launcher, QWidget* parent = nullptr);
    // Rebuilds the installation menu from the launcher's menu texts.
    void refresh();
    QMenu* installationMenu() const { return installations_; }
    QMenu* actionsMenu() const { return actions_; }

signals:
    void installationsChanged();

private:
    Launcher& launcher_;
    QMenu* installations_;
    QMenu* actions_;
};

} // namespace kv::ui
