#pragma once
// The archive information panel of the main window: internal ID, internal name and the
// KRF section list (`ListKRFs`). A double click on a section opens its document from
// "Mods\KRFs\" when the launcher has one.
#include "common/paths.h"
#include "kdg/archive_info.h"

#include <QWidget>

#include <functional>

class QLineEdit;
class QListWidget;
class QListWidgetItem;

namespace kv::ui {

class ArchiveInfoPanel : public QWidget {
    Q_OBJECT
public:
    explicit ArchiveInfoPanel(Paths paths, QWidget* parent = nullptr);

    // Clears the panel and shows the archive's values.
    void ShowArchiveInfo(const kdg::KdgArchiveInfo& info);

    QLineEdit* internalIdField() const { return internalId_; }
    QLineEdit* internalNameField() const { return internalName_; }
    QListWidget* krfList() const { return krfs_; }

    // How a section document is opened; the desktop's handler unless replaced.
    void setOpener(std::function<void(const QString&)> opener) { opener_ = std::move(opener); }

private:
    void openKrf(QListWidgetItem* item);

    Paths paths_;
    QLineEdit* internalId_;
    QLineEdit* internalName_;
    QListWidget* krfs_;
    std::function<void(const QString&)> opener_;
};

} // namespace kv::ui
