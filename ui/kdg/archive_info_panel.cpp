#include "ui/kdg/archive_info_panel.h"

#include "kdg/archive_panel.h"
#include "ui/qt_text.h"

#include <QDesktopServices>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QUrl>
#include <QVBoxLayout>

namespace kv::ui {

ArchiveInfoPanel::ArchiveInfoPanel(Paths paths, QWidget* parent)
    : QWidget(parent), paths_(std::move(paths)), internalId_(new QLineEdit(this)),
      internalName_(new QLineEdit(this)), krfs_(new QListWidget(this)),
      opener_([](const QString& file) { QDesktopServices::openUrl(QUrl::fromLocalFile(file)); }) {
    setObjectName("ModCompilationInfo");
    internalId_->setObjectName("TxtInternalId");
    internalName_->setObjectName("TxtInternalName");
    krfs_->setObjectName("ListKRFs");
    internalId_->setReadOnly(true);
    internalName_->setReadOnly(true);

    auto* form = new QFormLayout;
    form->addRow(tr("Internal ID:"), internalId_);
    form->addRow(tr("Internal name:"), internalName_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(form);
    layout->addWidget(new QLabel(tr("KRF sections:"), this));
    layout->addWidget(krfs_, 1);

    connect(krfs_, &QListWidget::itemDoubleClicked, this, &ArchiveInfoPanel::openKrf);
}

void ArchiveInfoPanel::ShowArchiveInfo(const kdg::KdgArchiveInfo& info) {
    const kdg::ArchivePanelData data = kdg::archivePanelData(info);
    internalId_->clear();
    internalName_->clear();
    krfs_->clear();
    internalId_->setText(toQt(data.internalId));
    internalName_->setText(toQt(data.internalName));
    for (const std::string& section : data.sections) {
        auto* item = new QListWidgetItem(toQt(section), krfs_);
        item->setData(Qt::UserRole, QByteArray::fromStdString(section));
    }
}

void ArchiveInfoPanel::openKrf(QListWidgetItem* item) {
    const std::string section = item->data(Qt::UserRole).toByteArray().toStdString();
    if (const auto path = kdg::krfDocumentToOpen(paths_, section)) {
        opener_(toQt(*path));
    }
}

} // namespace kv::ui
