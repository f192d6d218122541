#pragma once
// The user details window: one lobby user record, read-only.
#include <QDialog>

namespace kv::lobby {
struct UserRecord;
}

namespace kv::ui {

class UserDetailsDialog : public QDialog {
    Q_OBJECT
public:
    UserDetailsDialog(const lobby::UserRecord& user, const QString& shownName, QWidget* parent);
};

} // namespace kv::ui
