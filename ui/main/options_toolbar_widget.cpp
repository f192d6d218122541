#include "ui/main/options_toolbar_widget.h"

#include "launcher/launcher.h"
#include "launcher/options_toolbar.h"
#include "ui/qt_text.h"

#include <QMenu>
#include <QToolButton>

namespace kv::ui {

OptionsToolbarWidget::OptionsToolbarWidget(Launcher& launcher, QWidget* parent)
    : QToolBar(parent), launcher_(launcher) {
    setObjectName(QStringLiteral("TbOptions"));
    setWindowTitle(QStringLiteral("Options"));
    setToolButtonStyle(Qt::ToolButtonTextOnly);
    for (int i = 0; i < kOptionButtonCount; ++i) {
        const auto which = OptionButton(i);
        const ToolbarOption& option = launcher_.options.button(which);
        auto* b = new QToolButton(this);
        b->setObjectName(QString::fromLatin1(option.objectName.c_str()));
        b->setToolTip(toQt(option.toolTip));
        b->setPopupMode(QToolButton::MenuButtonPopup);
        auto* menu = new QMenu(b);
        for (size_t e = 0; e < option.entries.size(); ++e) {
            QAction* action = menu->addAction(toQt(option.entries[e]));
            connect(action, &QAction::triggered, this, [this, which, e] {
                chooseOptionEntry(launcher_, which, int(e) + 1);
                emit optionChosen();
            });
        }
        b->setMenu(menu);
        connect(b, &QToolButton::clicked, this, [this, which] {
            clickOptionButton(launcher_, which);
            emit optionChosen();
        });
        buttons_[size_t(i)] = b;
        addWidget(b);
        if (which == OptionButton::Alliances)
            addSeparator();
    }
    refresh();
}

void OptionsToolbarWidget::refresh() {
    for (int i = 0; i < kOptionButtonCount; ++i) {
        const ToolbarOption& option = launcher_.options.button(OptionButton(i));
        QToolButton* b = buttons_[size_t(i)];
        b->setText(toQt(option.caption));
        const auto actions = b->menu()->actions();
        for (qsizetype e = 0; e < actions.size() && size_t(e) < option.entries.size(); ++e)
            actions[e]->setText(toQt(option.entries[size_t(e)]));
    }
}

} // namespace kv::ui
