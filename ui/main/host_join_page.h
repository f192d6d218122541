#pragma once
// The "Host/Join Game" page: the lobby's mode, addresses, user list and commands.
#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;

namespace kv {
class Launcher;
}

namespace kv::ui {

class HostJoinPage : public QWidget {
    Q_OBJECT
public:
    explicit HostJoinPage(Launcher& launcher, QWidget* parent = nullptr);
    void refresh();

private:
    Launcher& launcher_;
    QCheckBox* multiplayer_;
    QLabel* ownName_;
    QLineEdit* gameName_;
};

} // namespace kv::ui
