#pragma once
// The "AI" page: an AI choice list for each of the eight players and the rules list.
#include "core/options.h"

#include <QWidget>
#include <array>

class QComboBox;

namespace kv {
class Launcher;
}

namespace kv::ui {

class AiPage : public QWidget {
    Q_OBJECT
public:
    explicit AiPage(Launcher& launcher, QWidget* parent = nullptr);
    // Shows each player's and the rules' current choice.
    void refresh();
    QComboBox* playerList(int player) const { return players_[size_t(player)]; }
    QComboBox* rulesList() const { return rules_; }

private:
    Launcher& launcher_;
    std::array<QComboBox*, kPlayerCount> players_{};
    QComboBox* rules_;
};

} // namespace kv::ui
