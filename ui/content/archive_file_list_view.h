#pragma once
// The MODs page's archive file list: one item per stored file of the last extracted
// archive, its text the file's name and its key ("item" + row index) kept as item data.
#include "kdg/extraction.h"

#include <QListWidget>

#include <vector>

namespace kv::ui {

class ArchiveFileListView : public QListWidget {
    Q_OBJECT
public:
    // The role under which each item keeps its key.
    static constexpr int kKeyRole = Qt::UserRole;

    explicit ArchiveFileListView(QWidget* parent = nullptr);

    void showItems(const std::vector<kdg::ArchiveFileListItem>& items);
    // The item with this key, or null.
    QListWidgetItem* itemWithKey(const QString& key) const;
};

} // namespace kv::ui
