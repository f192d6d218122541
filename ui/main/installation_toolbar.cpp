#include "ui/main/installation_toolbar.h"

#include "launcher/installation_actions.h"
#include "launcher/launcher.h"
#include "ui/qt_text.h"

#include <QMenu>
#include <QToolButton>

namespace kv::ui {

InstallationToolbar::InstallationToolbar(Launcher& launcher, QWidget* parent)
    : QToolBar(parent), launcher_(launcher) {
    setObjectName(QStringLiteral("TbInstallations"));
    setWindowTitle(QStringLiteral("Installations"));
    setToolButtonStyle(Qt::ToolButtonTextOnly);

    auto* path = new QToolButton(this);
    path->setObjectName(QStringLiteral("TbKVPath"));
    path->setText(QStringLiteral("KV Path"));
    path->setPopupMode(QToolButton::InstantPopup);
    installations_ = new QMenu(path);
    installations_->setObjectName(QStringLiteral("MnuKVPaths"));
    path->setMenu(installations_);
    addWidget(path);

    auto* actionsButton = new QToolButton(this);
    actionsButton->setObjectName(QStringLiteral("TbKVPathActions"));
    actionsButton->setText(QStringLiteral("Open"));
    actionsButton->setToolTip(QStringLiteral("Open the game folder"));
    actionsButton->setPopupMode(QToolButton::MenuButtonPopup);
    actions_ = new QMenu(actionsButton);
    actions_->setObjectName(QStringLiteral("MnuKVPathActions"));
    for (const char* entry : {"Change...", "Add...", "Remove...", "Open"}) {
        const std::string text = entry;
        connect(actions_->addAction(QString::fromLatin1(entry)), &QAction::triggered, this,
                [this, text] {
                    installationMenuAction(launcher_, text);
                    emit installationsChanged();
                });
    }
    actionsButton->setMenu(actions_);
    connect(actionsButton, &QToolButton::clicked, this, [this] {
        installationMenuAction(launcher_, "Open");
        emit installationsChanged();
    });
    addWidget(actionsButton);
    refresh();
}

void InstallationToolbar::refresh() {
    // Choosing an entry refreshes the menu from inside that entry's own signal, so the old
    // entries go later rather than at once.
    for (QAction* old : installations_->actions()) {
        installations_->removeAction(old);
        old->deleteLater();
    }
    const auto& menu = launcher_.installations.menu();
    for (size_t i = 0; i < menu.size(); ++i) {
        connect(installations_->addAction(toQt(menu[i])), &QAction::triggered, this, [this, i] {
            chooseInstallation(launcher_, int(i) + 1);
            emit installationsChanged();
        });
    }
}

} // namespace kv::ui
