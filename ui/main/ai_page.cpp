#include "ui/main/ai_page.h"

#include "core/launcher.h"
#include "ui/qt_text.h"

#include <QComboBox>
#include <QFormLayout>
#include <QSignalBlocker>

namespace kv::ui {

namespace {

void showChoice(QComboBox* list, const std::string& name) {
    const QSignalBlocker block(list);
    const QString text = toQt(name);
    int i = list->findText(text);
    if (i < 0) {
        list->addItem(text);
        i = list->count() - 1;
    }
    list->setCurrentIndex(i);
}

} // namespace

AiPage::AiPage(Launcher& launcher, QWidget* parent) : QWidget(parent), launcher_(launcher) {
    setObjectName(QStringLiteral("AI"));
    auto* form = new QFormLayout(this);
    for (int p = 0; p < kPlayerCount; ++p) {
        auto* list = new QComboBox(this);
        list->setObjectName(QStringLiteral("CmbAI%1").arg(p));
        list->addItem(QString::fromLatin1(kDontChange));
        list->addItem(QStringLiteral("<Random>"));
        players_[size_t(p)] = list;
        form->addRow(QStringLiteral("Player %1:").arg(p), list);
    }
    rules_ = new QComboBox(this);
    rules_->setObjectName(QStringLiteral("CmbRules"));
    rules_->addItem(QString::fromLatin1(kDontChange));
    form->addRow(QStringLiteral("Rules:"), rules_);
}

void AiPage::refresh() {
    for (int p = 0; p < kPlayerCount; ++p)
        showChoice(players_[size_t(p)], launcher_.options.ai[size_t(p)]);
    showChoice(rules_, launcher_.options.rules);
}

} // namespace kv::ui
