#include "ui/content/ai_page.h"

#include "content/catalogue_scan.h"
#include "content/create_ai.h"
#include "content/player_selection.h"
#include "ui/qt_text.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kv::ui {

AiPage::AiPage(content::ContentState& state, ContentEnvSource env, QWidget* parent)
    : QWidget(parent), state_(state), env_(std::move(env)) {
    setObjectName(QStringLiteral("AIPage"));
    auto* grid = new QGridLayout;
    for (int p = 0; p < content::kPlayerCount; ++p) {
        auto* combo = new QComboBox(this);
        combo->setObjectName(QStringLiteral("ComboAI%1").arg(p));
        grid->addWidget(new QLabel(QStringLiteral("Player %1:").arg(p), this), p, 0);
        grid->addWidget(combo, p, 1);
        players_[size_t(p)] = combo;
        connect(combo, &QComboBox::activated, this,
                [this, p](int index) { onPlayerActivated(p, index); });
    }
    rules_ = new QComboBox(this);
    rules_->setObjectName(QStringLiteral("ComboRules"));
    rules_->setToolTip(QStringLiteral("Rules"));
    grid->addWidget(new QLabel(QStringLiteral("Rules:"), this), content::kPlayerCount, 0);
    grid->addWidget(rules_, content::kPlayerCount, 1);
    connect(rules_, &QComboBox::activated, this, [this](int index) {
        if (showing_)
            return;
        content::chooseRules(state_, index);
        reload();
        emit rulesChoiceChanged();
    });

    createAi_ = new QPushButton(QStringLiteral("Create AI file..."), this);
    createAi_->setObjectName(QStringLiteral("CmdCreateAI"));
    deleteRules_ = new QPushButton(QStringLiteral("Delete rules"), this);
    deleteRules_->setObjectName(QStringLiteral("CmdDeleteRules"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(createAi_);
    buttons->addWidget(deleteRules_);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addStretch();
    layout->addLayout(buttons);

    connect(createAi_, &QPushButton::clicked, this, [this] {
        content::createAiFile(state_, env_());
        reload();
    });
    connect(deleteRules_, &QPushButton::clicked, this, [this] {
        content::deleteRulesSet(state_, env_());
        reload();
        emit rulesChoiceChanged();
    });
    reload();
}

void AiPage::reload() {
    showing_ = true;
    auto fill = [](QComboBox* combo, const content::ChoiceList& list) {
        combo->clear();
        for (const auto& item : list.items)
            combo->addItem(toQt(item));
        combo->setCurrentIndex(list.selected);
    };
    for (int p = 0; p < content::kPlayerCount; ++p) {
        fill(players_[size_t(p)], state_.choices.players[size_t(p)]);
        players_[size_t(p)]->setToolTip(toQt(state_.choices.toolTip(p)));
    }
    fill(rules_, state_.choices.rules);
    showing_ = false;
}

void AiPage::onPlayerActivated(int player, int index) {
    if (showing_)
        return;
    content::choosePlayerAI(state_, env_(), player, index);
    reload();
    emit playerChoiceChanged(player);
}

void AiPage::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (warned_)
        content::showAiOverwriteWarning(*warned_, env_().ui);
}

} // namespace kv::ui
