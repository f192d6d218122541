#pragma once
// The statistics and check window: the map's figures, three linked object lists (name,
// position, player) and the check button.
#include <QDialog>

class QLineEdit;
class QListWidget;
class QPushButton;

namespace kv::ui {

class Form1;

class Form2 : public QDialog {
    Q_OBJECT
public:
    explicit Form2(Form1& viewer);

    void fill();                   // the statistics of the viewer's map
    void CheckForBugs_LoadedMap(); // the check button

protected:
    void hideEvent(QHideEvent* event) override;

private:
    void selectRow(int row);

    Form1& viewer_;
    QLineEdit* height_;
    QLineEdit* width_;
    QLineEdit* area_;
    QLineEdit* seaLevel_;
    QLineEdit* gateways_;
    QLineEdit* objects_;
    QListWidget* lists_[3];
    QPushButton* check_;
};

} // namespace kv::ui
