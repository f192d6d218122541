#include "ui/content/mod_archive_view.h"

#include "ui/kdg/archive_info_panel.h"
#include "ui/mapview/map_picture_widget.h"
#include "ui/qt_text.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QStackedWidget>
#include <QTextEdit>
#include <QVBoxLayout>

namespace kv::ui {

ModArchiveView::ModArchiveView(const Paths& paths, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("ModLowerPanel"));
    pages_ = new QStackedWidget(this);
    description_ = new QTextEdit(pages_);
    description_->setObjectName(QStringLiteral("ModDescription"));
    description_->setReadOnly(true);
    archive_ = new ArchiveInfoPanel(paths, pages_);
    mapInfo_ = new QLabel(pages_);
    mapInfo_->setObjectName(QStringLiteral("MapInfo"));
    mapInfo_->setTextFormat(Qt::PlainText); // read from the archive
    mapInfo_->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    // Same order as kdg::LowerPanel.
    pages_->addWidget(description_);
    pages_->addWidget(archive_);
    pages_->addWidget(mapInfo_);

    preview_ = new QLabel(this);
    preview_->setObjectName(QStringLiteral("MapPreview"));
    preview_->setTextFormat(Qt::PlainText);
    preview_->setFixedSize(mapview::kPreviewSide, mapview::kPreviewSide);
    preview_->setAlignment(Qt::AlignCenter);
    preview_->setContextMenuPolicy(Qt::ActionsContextMenu);
    savePreview_ = new QAction(QStringLiteral("Copy Map Preview"), preview_);
    savePreview_->setObjectName(QStringLiteral("MNU_SAVE_MAP_PREVIEW"));
    preview_->addAction(savePreview_);
    size_ = new QLabel(this);
    size_->setObjectName(QStringLiteral("LblMapSize"));
    size_->setAlignment(Qt::AlignCenter);

    auto* previewColumn = new QVBoxLayout;
    previewColumn->addWidget(preview_);
    previewColumn->addWidget(size_);
    previewColumn->addStretch(1);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(pages_, 1);
    layout->addLayout(previewColumn);

    connect(savePreview_, &QAction::triggered, this, &ModArchiveView::savePreviewToClipboard);
    showPreview(std::nullopt);
}

void ModArchiveView::showEntry(const content::ModEntry* entry) {
    const kdg::KdgArchiveInfo blank;
    description_->setPlainText(entry ? toQt(entry->description) : QString());
    archive_->ShowArchiveInfo(entry ? entry->archive : blank);
}

void ModArchiveView::showPreview(const std::optional<mapview::MapPreview>& preview) {
    image_ = QImage();
    preview_->clear();
    size_->clear();
    mapInfo_->clear();
    if (!preview)
        return;
    if (preview->result == mapview::MapPreview::Result::Ok) {
        image_ = toQImage(preview->image);
        preview_->setPixmap(QPixmap::fromImage(image_));
        size_->setText(toQt(preview->sizeLabel()));
        mapInfo_->setText(QStringLiteral("Map size: ") + toQt(preview->sizeLabel()));
    } else if (preview->result == mapview::MapPreview::Result::NoMaps) {
        // Wrong dimensions were reported in a message box; the preview then stays empty.
        preview_->setText(toQt(preview->message()));
        mapInfo_->setText(toQt(preview->message()));
    }
}

void ModArchiveView::showPanel(kdg::LowerPanel panel) {
    pages_->setCurrentIndex(int(panel));
}

void ModArchiveView::savePreviewToClipboard() {
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setImage(image_);
}

} // namespace kv::ui
