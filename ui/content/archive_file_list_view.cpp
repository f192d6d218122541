#include "ui/content/archive_file_list_view.h"

#include "ui/qt_text.h"

namespace kv::ui {

ArchiveFileListView::ArchiveFileListView(QWidget* parent) : QListWidget(parent) {
    setObjectName(QStringLiteral("LstArchiveFiles"));
    setToolTip(QStringLiteral("Files of the last extracted archive"));
    setUniformItemSizes(true); // archives hold thousands of files
}

void ArchiveFileListView::showItems(const std::vector<kdg::ArchiveFileListItem>& items) {
    setUpdatesEnabled(false);
    clear();
    for (const kdg::ArchiveFileListItem& entry : items) {
        auto* item = new QListWidgetItem(toQt(entry.text), this);
        item->setData(kKeyRole, toQt(entry.key));
    }
    setUpdatesEnabled(true);
}

QListWidgetItem* ArchiveFileListView::itemWithKey(const QString& key) const {
    for (int i = 0; i < count(); ++i)
        if (item(i)->data(kKeyRole).toString() == key)
            return item(i);
    return nullptr;
}

} // namespace kv::ui
