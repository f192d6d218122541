#pragma once
// The "MODs" page: the KDG archives of the selected installation, switched on and off.
#include <QWidget>

class QListWidget;
class QPushButton;

namespace kv::ui {

class ModsPage : public QWidget {
    Q_OBJECT
public:
    explicit ModsPage(QWidget* parent = nullptr);
    QListWidget* kdgList() const { return kdgList_; }
    QPushButton* deleteButton() const { return delete_; }

private:
    QListWidget* kdgList_;
    QPushButton* delete_;
};

} // namespace kv::ui
