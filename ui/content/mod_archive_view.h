#pragma once
// The MODs page's lower part: the panel of the selected MOD (description, archive
// information or map information, one at a time) and its map preview (`MapPreview`) with
// the size label. Shows values the content operations produced.
#include "common/paths.h"
#include "content/mod_list.h"
#include "kdg/archive_panel.h"
#include "mapview/map_preview.h"

#include <QImage>
#include <QWidget>

#include <optional>

class QAction;
class QLabel;
class QStackedWidget;
class QTextEdit;

namespace kv::ui {

class ArchiveInfoPanel;

class ModArchiveView : public QWidget {
    Q_OBJECT
public:
    ModArchiveView(const Paths& paths, QWidget* parent = nullptr);

    // The selected MOD's description and archive record, or blanks without a selection.
    void showEntry(const content::ModEntry* entry);
    // The preview, or an empty one (previews off, no selection).
    void showPreview(const std::optional<mapview::MapPreview>& preview);
    void showPanel(kdg::LowerPanel panel);

    ArchiveInfoPanel* archivePanel() const { return archive_; }
    QLabel* preview() const { return preview_; }
    QLabel* sizeLabel() const { return size_; }
    const QImage& previewImage() const { return image_; }
    // `MNU_SAVE_MAP_PREVIEW`: the preview's picture to the clipboard.
    QAction* savePreviewAction() const { return savePreview_; }

private:
    void savePreviewToClipboard();

    QStackedWidget* pages_;
    QTextEdit* description_;
    ArchiveInfoPanel* archive_;
    QLabel* mapInfo_;
    QLabel* preview_;
    QLabel* size_;
    QAction* savePreview_;
    QImage image_;
};

} // namespace kv::ui
