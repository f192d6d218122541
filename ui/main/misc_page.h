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

class CommandLinePreview;

class MiscPage : public QWidget {
    Q_OBJECT
public:
    explicit MiscPage(Launcher& launcher, QWidget* parent = nullptr);
    // Shows the option set.
    void refresh();

    QComboBox* resolution() const { return resolution_; }
    QCheckBox* compactToggle() const { return compact_; }
    QPushButton* mapEditorButton() const { return mapEditor_; }
    CommandLinePreview* preview() const { return preview_; }

signals:
    void compactToggled(bool compact);
    void openGameFolder();
    void openSkirmishFolder();
    void startMapEditor();

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
    CommandLinePreview* preview_;
};

} // namespace kv::ui
