#include "ui/main/user_details_dialog.h"

#include "lobby/lobby_state.h"
#include "ui/qt_text.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace kv::ui {

UserDetailsDialog::UserDetailsDialog(const lobby::UserRecord& user, const QString& shownName,
                                     QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("ShowInfo"));
    setWindowTitle(QStringLiteral("User details"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    auto add = [&](const QString& caption, const std::string& value, const char* name) {
        auto* label = new QLabel(toQt(value), this);
        label->setObjectName(QString::fromLatin1(name));
        label->setTextFormat(Qt::PlainText); // a peer's words, never markup
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        form->addRow(caption, label);
    };
    add(QStringLiteral("User:"), user.nick.empty() ? fromQt(shownName) : user.nick, "LblNick");
    add(QStringLiteral("IP:"), user.ip, "LblIP");
    add(QStringLiteral("Game folder:"), user.gameFolder, "LblGameFolder");
    add(QStringLiteral("Launcher folder:"), user.launcherFolder, "LblLauncherFolder");
    for (size_t i = 0; i < user.ais.size(); ++i)
        add(QStringLiteral("Player %1 AI:").arg(i), user.ais[i], "LblAI");
    add(QStringLiteral("Rules:"), user.rules, "LblRules");
    std::string mods;
    for (int i = 0; i < user.modCount && size_t(i) < user.mods.size(); ++i)
        mods += (i ? ", " : "") + user.mods[size_t(i)];
    add(QStringLiteral("Active MODs:"), mods, "LblMods");
    add(QStringLiteral("Not ready:"), user.notReady, "LblNotReady");
    layout->addLayout(form);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

} // namespace kv::ui
