#include "ui/main/host_join_page.h"

#include "core/launcher.h"
#include "ui/qt_text.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>

namespace kv::ui {

namespace {

QToolButton* menuButton(const QString& caption, const QString& toolTip, const QStringList& entries,
                        const QString& name, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setText(caption);
    button->setToolTip(toolTip);
    button->setPopupMode(QToolButton::InstantPopup);
    auto* menu = new QMenu(button);
    for (const QString& e : entries)
        menu->addAction(e)->setEnabled(false); // the lobby's commands come with the lobby
    button->setMenu(menu);
    return button;
}

} // namespace

HostJoinPage::HostJoinPage(Launcher& launcher, QWidget* parent)
    : QWidget(parent), launcher_(launcher) {
    setObjectName(QStringLiteral("HostJoinGame"));
    auto* grid = new QGridLayout(this);

    auto* host = new QRadioButton(QStringLiteral("Host"), this);
    host->setObjectName(QStringLiteral("Option6"));
    auto* join = new QRadioButton(QStringLiteral("Join"), this);
    join->setObjectName(QStringLiteral("Option7"));
    multiplayer_ = new QCheckBox(QStringLiteral("Multiplayer game"), this);
    multiplayer_->setObjectName(QStringLiteral("Check6"));
    auto* modes = new QHBoxLayout;
    modes->addWidget(host);
    modes->addWidget(join);
    modes->addStretch(1);
    modes->addWidget(multiplayer_);
    grid->addLayout(modes, 0, 0, 1, 3);

    ownName_ = new QLabel(this);
    ownName_->setObjectName(QStringLiteral("LblOwnName"));
    grid->addWidget(ownName_, 1, 0, 1, 3);

    auto* yourIp = new QLineEdit(this);
    yourIp->setObjectName(QStringLiteral("Text2"));
    yourIp->setReadOnly(true);
    grid->addWidget(new QLabel(QStringLiteral("Your IP:"), this), 2, 0);
    grid->addWidget(yourIp, 2, 1, 1, 2);

    auto* hostIp = new QLineEdit(this);
    hostIp->setObjectName(QStringLiteral("Text1"));
    auto* add = new QPushButton(QStringLiteral("Add"), this);
    add->setObjectName(QStringLiteral("Command19"));
    auto* history = new QPushButton(QStringLiteral("History  >"), this);
    history->setObjectName(QStringLiteral("Command20"));
    grid->addWidget(hostIp, 3, 0);
    grid->addWidget(add, 3, 1);
    grid->addWidget(history, 3, 2);

    auto* hostLabel = new QLabel(this);
    hostLabel->setObjectName(QStringLiteral("Label17"));
    grid->addWidget(new QLabel(QStringLiteral("Host:"), this), 4, 0);
    grid->addWidget(hostLabel, 4, 1, 1, 2);

    gameName_ = new QLineEdit(this);
    gameName_->setObjectName(QStringLiteral("Text4"));
    gameName_->setReadOnly(true); // editable in Host mode only
    grid->addWidget(new QLabel(QStringLiteral("Game name:"), this), 5, 0);
    grid->addWidget(gameName_, 5, 1, 1, 2);

    auto* users = new QTreeWidget(this);
    users->setObjectName(QStringLiteral("ListView1"));
    users->setHeaderLabels(
        {QStringLiteral("IP"), QStringLiteral("User"), QStringLiteral("Configuration")});
    users->setRootIsDecorated(false);
    grid->addWidget(users, 6, 0, 1, 3);

    auto* commands = new QToolBar(this);
    commands->setObjectName(QStringLiteral("TbLobby"));
    QToolButton* user =
        menuButton(QStringLiteral("User"), QStringLiteral("Main commands"),
                   {QStringLiteral("Connect"), QStringLiteral("Disconnect"),
                    QStringLiteral("Get current user status"), QStringLiteral("Set User as host"),
                    QStringLiteral("Send message"), QStringLiteral("Update my status"),
                    QStringLiteral("User details")},
                   QStringLiteral("TbLobbyUser"), commands);
    commands->addWidget(user);
    commands->addWidget(
        menuButton(QStringLiteral("Other"), QStringLiteral("Other commands"),
                   {QStringLiteral("Synchronize AIs"), QStringLiteral("Synchronize MODs"),
                    QStringLiteral("Disable all MODs")},
                   QStringLiteral("TbLobbyOther"), commands));
    commands->addWidget(menuButton(QStringLiteral("Send to"), QString(), {},
                                   QStringLiteral("TbLobbySendTo"), commands));
    grid->addWidget(commands, 7, 0, 1, 3);

    connect(multiplayer_, &QCheckBox::toggled, this,
            [this](bool on) { launcher_.options.multiplayerModeOn = on ? 1 : 0; });
}

void HostJoinPage::refresh() {
    const QSignalBlocker block(multiplayer_);
    multiplayer_->setChecked(launcher_.options.multiplayerModeOn == 1);
    ownName_->setText(toQt(launcher_.ownNameLabel));
    gameName_->setText(toQt(launcher_.gameName));
}

} // namespace kv::ui
