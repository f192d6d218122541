#include "ui/main/host_join_page.h"

#include "launcher/launcher.h"
#include "lobby/lobby.h"
#include "ui/main/user_details_dialog.h"
#include "ui/qt_text.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>

namespace kv::ui {

namespace {

QToolButton* menuButton(const QString& caption, const QString& toolTip, const QString& name,
                        QMenu*& menu, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setText(caption);
    button->setToolTip(toolTip);
    button->setPopupMode(QToolButton::InstantPopup);
    menu = new QMenu(button);
    menu->setObjectName(name + QStringLiteral("Menu"));
    button->setMenu(menu);
    return button;
}

const QStringList kUserEntries = {QStringLiteral("Connect"),
                                  QStringLiteral("Disconnect"),
                                  QStringLiteral("Get current user status"),
                                  QStringLiteral("Set User as host"),
                                  QStringLiteral("Send message"),
                                  QStringLiteral("Update my status"),
                                  QStringLiteral("User details")};
const QStringList kOtherEntries = {QStringLiteral("Synchronize AIs"),
                                   QStringLiteral("Synchronize MODs"),
                                   QStringLiteral("Disable all MODs")};

} // namespace

HostJoinPage::HostJoinPage(Launcher& launcher, QWidget* parent)
    : QWidget(parent), launcher_(launcher) {
    setObjectName(QStringLiteral("HostJoinGame"));
    auto* grid = new QGridLayout(this);

    host_ = new QRadioButton(QStringLiteral("Host"), this);
    host_->setObjectName(QStringLiteral("Option6"));
    join_ = new QRadioButton(QStringLiteral("Join"), this);
    join_->setObjectName(QStringLiteral("Option7"));
    multiplayer_ = new QCheckBox(QStringLiteral("Multiplayer game"), this);
    multiplayer_->setObjectName(QStringLiteral("Check6"));
    auto* modes = new QHBoxLayout;
    modes->addWidget(host_);
    modes->addWidget(join_);
    modes->addStretch(1);
    modes->addWidget(multiplayer_);
    grid->addLayout(modes, 0, 0, 1, 3);

    ownName_ = new QLabel(this);
    ownName_->setObjectName(QStringLiteral("LblOwnName"));
    ownName_->setTextFormat(Qt::PlainText); // a nick is whatever the user typed
    grid->addWidget(ownName_, 1, 0, 1, 3);

    yourIp_ = new QLineEdit(this);
    yourIp_->setObjectName(QStringLiteral("Text2"));
    yourIp_->setReadOnly(true);
    yourIp_->installEventFilter(this);
    auto* yourIpLabel = new QLabel(QStringLiteral("&Your IP:"), this);
    yourIpLabel->setBuddy(yourIp_);
    grid->addWidget(yourIpLabel, 2, 0);
    grid->addWidget(yourIp_, 2, 1, 1, 2);

    ipEntry_ = new QLineEdit(this);
    ipEntry_->setObjectName(QStringLiteral("Text1"));
    add_ = new QPushButton(QStringLiteral("Add"), this);
    add_->setObjectName(QStringLiteral("Command19"));
    history_ = new QPushButton(QStringLiteral("History  >"), this);
    history_->setObjectName(QStringLiteral("Command20"));
    grid->addWidget(ipEntry_, 3, 0);
    grid->addWidget(add_, 3, 1);
    grid->addWidget(history_, 3, 2);

    hostLabel_ = new QLabel(this);
    hostLabel_->setObjectName(QStringLiteral("Label17"));
    hostLabel_->setTextFormat(Qt::PlainText); // a peer's nick
    grid->addWidget(new QLabel(QStringLiteral("Host:"), this), 4, 0);
    grid->addWidget(hostLabel_, 4, 1, 1, 2);

    gameName_ = new QLineEdit(this);
    gameName_->setObjectName(QStringLiteral("Text4"));
    gameName_->setReadOnly(true); // editable in Host mode only
    auto* gameNameLabel = new QLabel(QStringLiteral("&Game name:"), this);
    gameNameLabel->setBuddy(gameName_);
    grid->addWidget(gameNameLabel, 5, 0);
    grid->addWidget(gameName_, 5, 1, 1, 2);

    users_ = new QTreeWidget(this);
    users_->setObjectName(QStringLiteral("ListView1"));
    users_->setHeaderLabels(
        {QStringLiteral("IP"), QStringLiteral("User"), QStringLiteral("Configuration")});
    users_->setRootIsDecorated(false);
    grid->addWidget(users_, 6, 0, 1, 3);

    auto* commands = new QToolBar(this);
    commands->setObjectName(QStringLiteral("TbLobby"));
    commands->addWidget(menuButton(QStringLiteral("User"), QStringLiteral("Main commands"),
                                   QStringLiteral("TbLobbyUser"), userMenu_, commands));
    commands->addWidget(menuButton(QStringLiteral("Other"), QStringLiteral("Other commands"),
                                   QStringLiteral("TbLobbyOther"), otherMenu_, commands));
    commands->addWidget(menuButton(QStringLiteral("Send to"), QString(),
                                   QStringLiteral("TbLobbySendTo"), sendToMenu_, commands));
    grid->addWidget(commands, 7, 0, 1, 3);
    for (const QString& e : kUserEntries)
        userMenu_->addAction(e)->setEnabled(false);
    for (const QString& e : kOtherEntries)
        otherMenu_->addAction(e)->setEnabled(false);
    for (QMenu* menu : {userMenu_, otherMenu_})
        connect(menu, &QMenu::triggered, this, [this](QAction* action) {
            if (lobby::Lobby* l = lobby()) {
                l->runCommand(fromQt(action->text()));
                refresh();
            }
        });
    // Choosing a nick selects that user's row.
    connect(sendToMenu_, &QMenu::triggered, this, [this](QAction* action) {
        const auto found = users_->findItems(action->text(), Qt::MatchExactly, 1);
        if (!found.isEmpty())
            users_->setCurrentItem(found.front());
    });

    connect(multiplayer_, &QCheckBox::toggled, this,
            [this](bool on) { launcher_.options.multiplayerModeOn = on ? 1 : 0; });
    connect(host_, &QRadioButton::clicked, this, [this] {
        if (lobby::Lobby* l = lobby())
            l->chooseHost();
        refresh();
    });
    connect(join_, &QRadioButton::clicked, this, [this] {
        if (lobby::Lobby* l = lobby())
            l->chooseJoin();
        refresh();
    });
    connect(ipEntry_, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (!refreshing_)
            launcher_.lobby.ipEntry = fromQt(text);
    });
    const auto addAddress = [this] {
        if (lobby::Lobby* l = lobby())
            l->addHostIp();
        refresh();
    };
    connect(ipEntry_, &QLineEdit::returnPressed, this, addAddress);
    connect(add_, &QPushButton::clicked, this, addAddress);
    connect(history_, &QPushButton::clicked, this, [this] { showHistory(); });
    connect(gameName_, &QLineEdit::textEdited, this,
            [this](const QString& text) { launcher_.gameName = fromQt(text); });
    connect(users_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (!refreshing_)
            launcher_.lobby.selectedRow = item ? users_->indexOfTopLevelItem(item) : -1;
    });
    connectLobby();
}

lobby::Lobby* HostJoinPage::lobby() const {
    return launcher_.lobby.session.get();
}

void HostJoinPage::connectLobby() {
    lobby::Lobby* l = lobby();
    if (!l)
        return;
    connect(l, &lobby::Lobby::changed, this, [this] { refresh(); });
    connect(l, &lobby::Lobby::rowChanged, this, [this] { refreshRows(); });
    connect(l, &lobby::Lobby::rowsRemoved, this, [this] { refreshRows(); });
    l->showUserDetails = [this](const lobby::UserRecord& user) {
        const auto* row = users_->currentItem();
        UserDetailsDialog dialog(user, row ? row->text(1) : QString(), this);
        dialog.exec();
    };
}

bool HostJoinPage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == yourIp_) {
        if (event->type() == QEvent::FocusIn)
            // After the focus change is done, or the click that gave it would deselect.
            QTimer::singleShot(0, yourIp_, [this] { yourIp_->selectAll(); });
        else if (event->type() == QEvent::KeyPress) {
            launcher_.ui().message("Right mouseclick and select 'copy'", Icon::Information);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void HostJoinPage::showHistory() {
    lobby::Lobby* l = lobby();
    if (!l)
        return;
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("IP_History"));
    const auto entries = l->historyMenu();
    for (size_t i = 0; i < entries.size(); ++i) {
        QAction* action = menu.addAction(toQt(entries[i].first));
        action->setEnabled(entries[i].second);
        action->setData(int(i));
    }
    QAction* chosen = menu.exec(history_->mapToGlobal(QPoint(history_->width(), 0)));
    if (chosen) {
        l->chooseHistoryEntry(chosen->data().toInt());
        refresh();
    }
}

void HostJoinPage::refreshRows() {
    const lobby::LobbyState& s = launcher_.lobby;
    refreshing_ = true;
    while (users_->topLevelItemCount() > int(s.rows.size()))
        delete users_->takeTopLevelItem(users_->topLevelItemCount() - 1);
    for (size_t i = 0; i < s.rows.size(); ++i) {
        QTreeWidgetItem* item = users_->topLevelItem(int(i));
        if (!item)
            item = new QTreeWidgetItem(users_);
        item->setText(0, toQt(s.rows[i].ip));
        item->setText(1, toQt(s.rows[i].user));
        item->setText(2, toQt(s.rows[i].configuration));
    }
    if (s.selectedRow >= 0 && s.selectedRow < users_->topLevelItemCount())
        users_->setCurrentItem(users_->topLevelItem(s.selectedRow));
    refreshing_ = false;
}

void HostJoinPage::refresh() {
    const lobby::LobbyState& s = launcher_.lobby;
    const lobby::LobbyControls& c = s.controls;
    refreshing_ = true;
    {
        const QSignalBlocker block(multiplayer_);
        multiplayer_->setChecked(launcher_.options.multiplayerModeOn == 1);
    }
    {
        const QSignalBlocker blockHost(host_);
        const QSignalBlocker blockJoin(join_);
        host_->setChecked(s.mode == lobby::LobbyMode::Host);
        join_->setChecked(s.mode == lobby::LobbyMode::Join);
    }
    host_->setEnabled(c.modeOptions);
    join_->setEnabled(c.modeOptions);
    ownName_->setText(toQt(launcher_.ownNameLabel));
    gameName_->setText(toQt(launcher_.gameName));
    gameName_->setReadOnly(!c.gameNameEditable);
    yourIp_->setText(toQt(s.localAddress));
    hostLabel_->setText(toQt(s.hostLabel));
    if (ipEntry_->text() != toQt(s.ipEntry))
        ipEntry_->setText(toQt(s.ipEntry));
    add_->setEnabled(c.add);
    refreshing_ = false;
    refreshRows();

    const bool enabled[] = {c.connect,
                            c.disconnect,
                            c.getStatus,
                            c.setHost,
                            c.sendMessage,
                            c.updateStatus,
                            c.userDetails || c.disconnect};
    const auto userActions = userMenu_->actions();
    for (int i = 0; i < userActions.size() && i < int(std::size(enabled)); ++i)
        userActions[i]->setEnabled(lobby() && enabled[i]);
    for (QAction* a : otherMenu_->actions())
        a->setEnabled(lobby() && !s.rows.empty());
    sendToMenu_->clear();
    for (const std::string& nick : s.sendTo)
        sendToMenu_->addAction(toQt(nick));
}

} // namespace kv::ui
