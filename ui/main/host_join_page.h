#pragma once
// The "Host/Join Game" page: the lobby's mode, addresses, user list and commands. It
// mirrors the launcher's lobby state and hands every action to the lobby.
#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QToolButton;
class QTreeWidget;

namespace kv {
class Launcher;
namespace lobby {
class Lobby;
}
} // namespace kv

namespace kv::ui {

class HostJoinPage : public QWidget {
    Q_OBJECT
public:
    explicit HostJoinPage(Launcher& launcher, QWidget* parent = nullptr);
    void refresh();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    lobby::Lobby* lobby() const;
    void connectLobby();
    void refreshRows();
    void showHistory();

    Launcher& launcher_;
    QRadioButton* host_;
    QRadioButton* join_;
    QCheckBox* multiplayer_;
    QLabel* ownName_;
    QLabel* hostLabel_;
    QLineEdit* yourIp_;
    QLineEdit* ipEntry_;
    QPushButton* add_;
    QPushButton* history_;
    QLineEdit* gameName_;
    QTreeWidget* users_;
    QMenu* userMenu_;
    QMenu* otherMenu_;
    QMenu* sendToMenu_;
    bool refreshing_ = false;
};

} // namespace kv::ui
