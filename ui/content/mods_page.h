#pragma once
// The "MODs" page: the check-box list of the game's archives, the delete button and the
// MOD context menu. A view over the MOD list; every change goes through the operations.
#include "content/content_state.h"
#include "kdg/name_tables.h"
#include "ui/content/content_env_source.h"

#include <QWidget>

class QAction;
class QListWidget;
class QListWidgetItem;
class QMenu;
class QPushButton;

namespace kv::ui {

class ModsPage : public QWidget {
    Q_OBJECT
public:
    ModsPage(content::ContentState& state, ContentEnvSource env, QWidget* parent = nullptr);

    // The archive name tables; "Disable unsafe MODs" needs them to read archives.
    void setNameTables(const kdg::NameTables* tables);

    // Rebuilds the MOD list from the game folder and shows it.
    void refresh();
    // Shows the list as it stands.
    void reload();

    QListWidget* list() const { return list_; }
    QMenu* contextMenu() const { return menu_; }
    // For the main window's menus.
    QAction* disableAllAction() const { return disableAll_; }
    QAction* disableUnsafeAction() const { return disableUnsafe_; }
    QAction* patch110Action() const { return patch110_; }

signals:
    // The 1.10 set-up reset the AI choices.
    void choicesReset();

private:
    void onItemChanged(QListWidgetItem* item);
    void onCurrentRowChanged(int row);
    void onContextMenu(const QPoint& pos);
    void onDelete();

    content::ContentState& state_;
    ContentEnvSource env_;
    QListWidget* list_;
    QPushButton* delete_;
    QMenu* menu_;
    QAction* disableAll_;
    QAction* disableUnsafe_;
    QAction* patch110_;
    const kdg::NameTables* tables_ = nullptr;
    bool showing_ = false;
};

} // namespace kv::ui
