#pragma once
// The start options: display, renderer, campaign, map editor and the compact toggle.
// Removed from the tab strip at creation and placed beside it, so the options stay in
// view in the compact layout too.
#include <QWidget>

class QCheckBox;
class QComboBox;
class QPushButton;
class QRadioButton;

namespace kv {
class Launcher;
}

namespace kv::ui {

class MiscPage : public QWidget {
    Q_OBJECT
public:
    explicit MiscPage(Launcher& launcher, QWidget* parent = nullptr);
    // Shows the option set.
    void refresh();

    QComboBox* resolution() const { return resolution_; }
    QCheckBox* compactToggle() const { return compact_; }

signals:
    void compactToggled(bool compact);
    void openGameFolder();
    void openSkirmishFolder();

private:
    void connectControls();

    Launcher& launcher_;
    QComboBox* resolution_;
    QRadioButton* threeDfx_;
    QRadioButton* direct3d_;
    QRadioButton* software_;
    QComboBox* softwareType_;
    QCheckBox* campaignOn_;
    QComboBox* campaign_;
    QComboBox* mapEditorMode_;
    QPushButton* mapEditor_;
    QCheckBox* compact_;
};

} // namespace kv::ui
