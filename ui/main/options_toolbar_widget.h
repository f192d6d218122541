#pragma once
// The options toolbar: one drop-down button per toolbar option. Each button shows the
// caption of the option set and runs the option handler on a click or a menu choice.
#include "core/options.h"

#include <QToolBar>
#include <array>

class QToolButton;

namespace kv {
class Launcher;
}

namespace kv::ui {

class OptionsToolbarWidget : public QToolBar {
    Q_OBJECT
public:
    explicit OptionsToolbarWidget(Launcher& launcher, QWidget* parent = nullptr);
    void refresh();
    QToolButton* button(OptionButton b) const { return buttons_[size_t(b)]; }

signals:
    void optionChosen();

private:
    Launcher& launcher_;
    std::array<QToolButton*, kOptionButtonCount> buttons_{};
};

} // namespace kv::ui
