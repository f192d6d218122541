#pragma once
// The "MODs" page: the check-box list of the game's archives, the delete button and the
// MOD context menu. A view over the MOD list; every change goes through the operations.
#include "content/content_state.h"
#include "kdg/name_tables.h"
#include "ui/content/content_env_source.h"

#include <QWidget>

#include <functional>
#include <string>

class QAction;
class QListWidget;
class QListWidgetItem;
class QMenu;
class QPushButton;

namespace kv::ui {

class ArchiveFileListView;
class ModArchiveView;
class ModConflictsView;

class ModsPage : public QWidget {
    Q_OBJECT
public:
    ModsPage(content::ContentState& state, ContentEnvSource env, QWidget* parent = nullptr);

    // The archive name tables, when the launcher keeps them loaded; otherwise
    // "Disable unsafe MODs" reads them from the launcher folder when it runs.
    void setNameTables(const kdg::NameTables* tables) { tables_ = tables; }
    // The launcher's map preview flag (previews are shown when there is none).
    void setMapPreviewFlag(const bool* flag) { previewFlag_ = flag; }
    // How a KRF section document is opened (the launcher's shell opener).
    void setShellOpener(std::function<bool(const std::string&)> opener);

    // Rebuilds the MOD list from the game folder and shows it.
    void refresh();
    // Shows the list as it stands.
    void reload();

    QListWidget* list() const { return list_; }
    QMenu* contextMenu() const { return menu_; }
    // The "MODs" menu: disable all, disable unsafe.
    QMenu* modsMenu() const { return modsMenu_; }
    ModArchiveView* archiveView() const { return archiveView_; }
    ArchiveFileListView* archiveFiles() const { return archiveFiles_; }
    ModConflictsView* conflictsView() const { return conflicts_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Reading every archive for the conflicts waits until the page is in sight, and at
    // start-up until the window has painted.
    void lookForConflicts();
    void onItemChanged(QListWidgetItem* item);
    void onCurrentRowChanged(int row);
    void onContextMenu(const QPoint& pos);
    void onDelete();
    // The selected MOD's archive information and map preview.
    void showSelection();
    void showLowerPanel(const char* which);
    void extract();

    content::ContentState& state_;
    ContentEnvSource env_;
    QListWidget* list_;
    QPushButton* delete_;
    QMenu* menu_;
    QMenu* modsMenu_;
    ModArchiveView* archiveView_;
    ArchiveFileListView* archiveFiles_;
    ModConflictsView* conflicts_;
    bool listRebuilt_ = false;      // the next look for conflicts reads the archives again
    bool conflictsWaiting_ = false; // the list changed while the page was out of sight
    QAction* panelEntries_[3] = {};
    const kdg::NameTables* tables_ = nullptr;
    const bool* previewFlag_ = nullptr;
    bool showing_ = false;
    std::function<bool(const std::string&)> opener_;
};

} // namespace kv::ui
