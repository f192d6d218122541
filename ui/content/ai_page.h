#pragma once
// The "AI" page: one AI list per player, the rules list, and the buttons that make an AI
// from a script pair and delete a rules set. Installing is the main window's "Apply".
#include "content/content_state.h"
#include "ui/content/content_env_source.h"

#include <QWidget>

#include <array>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QHBoxLayout;
class QLabel;
class QPushButton;

namespace kv::ui {

class FrmScriptCustom;

class AiPage : public QWidget {
    Q_OBJECT
public:
    AiPage(content::ContentState& state, ContentEnvSource env, QWidget* parent = nullptr);

    // The settings flag behind the one-time overwrite warning; none: no warning.
    void setOverwriteWarnedFlag(int* flag) { warned_ = flag; }
    // Shows the lists as the state has them.
    void reload();
    // Locked lists and their labels are disabled; a locked rules list takes its delete
    // button with it.
    void showLocks(const std::array<bool, content::kPlayerCount>& players, bool rules);

    QComboBox* playerList(int player) const { return players_[size_t(player)]; }
    QComboBox* rulesList() const { return rules_; }
    // The customizing window, once `CmdProcess` has opened it.
    FrmScriptCustom* scriptWindow() const { return scriptWindow_; }

signals:
    void playerChoiceChanged(int player);
    void rulesChoiceChanged();
    // A customizing box or pick changed: Apply may install it.
    void customizingChanged();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void onPlayerActivated(int player, int index);
    void createCustomizingControls(QGridLayout* grid, QHBoxLayout* buttons);
    void openScriptWindow();
    void reloadScriptWindow();

    content::ContentState& state_;
    ContentEnvSource env_;
    std::array<QComboBox*, content::kPlayerCount> players_{};
    QComboBox* rules_;
    std::array<QLabel*, content::kPlayerCount> playerLabels_{};
    QLabel* rulesLabel_ = nullptr;
    QPushButton* createAi_;
    QPushButton* deleteRules_;
    std::array<QCheckBox*, content::kPlayerCount> processBoxes_{};
    QCheckBox* rulesProcessBox_ = nullptr;
    FrmScriptCustom* scriptWindow_ = nullptr;
    int* warned_ = nullptr;
    bool showing_ = false;
};

} // namespace kv::ui
