#include "ui/content/ai_page.h"

#include "content/catalogue_scan.h"
#include "content/create_ai.h"
#include "content/player_selection.h"
#include "content/script_customizing.h"
#include "content/script_slots.h"
#include "ui/content/script_custom_window.h"
#include "ui/qt_text.h"

#include <QCheckBox>
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
        playerLabels_[size_t(p)] = new QLabel(QStringLiteral("Player %1:").arg(p), this);
        grid->addWidget(playerLabels_[size_t(p)], p, 0);
        grid->addWidget(combo, p, 1);
        players_[size_t(p)] = combo;
        connect(combo, &QComboBox::activated, this,
                [this, p](int index) { onPlayerActivated(p, index); });
    }
    rules_ = new QComboBox(this);
    rules_->setObjectName(QStringLiteral("ComboRules"));
    rules_->setToolTip(QStringLiteral("Rules"));
    rulesLabel_ = new QLabel(QStringLiteral("Rules:"), this);
    grid->addWidget(rulesLabel_, content::kPlayerCount, 0);
    grid->addWidget(rules_, content::kPlayerCount, 1);
    connect(rules_, &QComboBox::activated, this, [this](int index) {
        if (showing_)
            return;
        content::chooseRules(state_, index);
        content::syncScriptSlots(state_, env_());
        reload();
        reloadScriptWindow();
        emit rulesChoiceChanged();
    });

    createAi_ = new QPushButton(QStringLiteral("Create AI file..."), this);
    createAi_->setObjectName(QStringLiteral("CmdCreateAI"));
    deleteRules_ = new QPushButton(QStringLiteral("Delete rules"), this);
    deleteRules_->setObjectName(QStringLiteral("CmdDeleteRules"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(createAi_);
    buttons->addWidget(deleteRules_);
    createCustomizingControls(grid, buttons);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addStretch();
    layout->addLayout(buttons);

    connect(createAi_, &QPushButton::clicked, this, [this] {
        content::createAiFile(state_, env_());
        content::syncScriptSlots(state_, env_());
        reload();
        reloadScriptWindow();
    });
    connect(deleteRules_, &QPushButton::clicked, this, [this] {
        content::deleteRulesSet(state_, env_());
        content::syncScriptSlots(state_, env_());
        reload();
        reloadScriptWindow();
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
    const auto showSlot = [](QCheckBox* box, const content::ScriptSlot& slot) {
        box->setChecked(slot.enabled);
        box->setEnabled(slot.available);
    };
    for (int p = 0; p < content::kPlayerCount; ++p)
        showSlot(processBoxes_[size_t(p)], state_.scripts.players[size_t(p)]);
    showSlot(rulesProcessBox_, state_.scripts.rules);
    showing_ = false;
}

void AiPage::showLocks(const std::array<bool, content::kPlayerCount>& players, bool rules) {
    for (int p = 0; p < content::kPlayerCount; ++p) {
        players_[size_t(p)]->setEnabled(!players[size_t(p)]);
        playerLabels_[size_t(p)]->setEnabled(!players[size_t(p)]);
    }
    for (QWidget* w : {static_cast<QWidget*>(rules_), static_cast<QWidget*>(rulesLabel_),
                       static_cast<QWidget*>(deleteRules_)})
        w->setEnabled(!rules);
}

void AiPage::onPlayerActivated(int player, int index) {
    if (showing_)
        return;
    content::choosePlayerAI(state_, env_(), player, index);
    content::syncScriptSlots(state_, env_());
    reload();
    reloadScriptWindow();
    emit playerChoiceChanged(player);
}

void AiPage::createCustomizingControls(QGridLayout* grid, QHBoxLayout* buttons) {
    const auto makeBox = [this, grid](int row, const QString& name, int slot) {
        auto* box = new QCheckBox(QStringLiteral("Customize"), this);
        box->setObjectName(name);
        box->setToolTip(QStringLiteral("Put the customized values into the installed script"));
        grid->addWidget(box, row, 2);
        connect(box, &QCheckBox::clicked, this, [this, slot](bool on) {
            content::setScriptSlotEnabled(state_, slot, on);
            emit customizingChanged();
        });
        return box;
    };
    for (int p = 0; p < content::kPlayerCount; ++p)
        processBoxes_[size_t(p)] = makeBox(p, QStringLiteral("ChkProc%1").arg(p), p);
    rulesProcessBox_ =
        makeBox(content::kPlayerCount, QStringLiteral("ChkRulesProc"), content::kRulesSlot);
    auto* process = new QPushButton(QStringLiteral("Customize scripts..."), this);
    process->setObjectName(QStringLiteral("CmdProcess"));
    buttons->insertWidget(0, process);
    connect(process, &QPushButton::clicked, this, &AiPage::openScriptWindow);
}

void AiPage::openScriptWindow() {
    if (!content::anyScriptCustomizing(state_)) {
        env_().ui.message("There are no scripts supporting this function available.",
                          Icon::Information);
        return;
    }
    if (!scriptWindow_) {
        scriptWindow_ = new FrmScriptCustom(state_, env_, this);
        connect(scriptWindow_, &FrmScriptCustom::valueStored, this, [this] {
            reload();
            emit customizingChanged();
        });
    }
    state_.choices.applyEnabled = true;
    scriptWindow_->open();
    emit customizingChanged();
}

void AiPage::reloadScriptWindow() {
    if (scriptWindow_ && scriptWindow_->isVisible())
        scriptWindow_->reloadEntries();
}

void AiPage::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (warned_)
        content::showAiOverwriteWarning(*warned_, env_().ui);
}

} // namespace kv::ui
