#pragma once
// `FrmUpdate`: the offered downloads with their check boxes, the news, and the download
// button. A view of one update session; every action goes to the session.
#include <QDialog>

class QCheckBox;
class QLabel;
class QListWidget;
class QTextEdit;
class QTreeWidget;
class QTreeWidgetItem;

namespace kv::update {
class UpdateSession;
}

namespace kv::ui {

class FrmUpdate : public QDialog {
public:
    FrmUpdate(update::UpdateSession& session, QWidget* parent = nullptr);
    // Shows the session's lists again.
    void reload();

private:
    void fillOffers();
    void showMessage(int row);

    update::UpdateSession& session_;
    QTreeWidget* offers_;
    QCheckBox* showAll_;
    QLabel* total_;
    QLabel* unsigned_;
    QTextEdit* description_;
    QListWidget* news_;
    QTextEdit* newsText_;
    QLabel* link_;
    bool filling_ = false;
};

} // namespace kv::ui
