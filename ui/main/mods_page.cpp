#include "ui/main/mods_page.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace kv::ui {

ModsPage::ModsPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("MODs"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("KDG files of the selected installation:"), this));
    kdgList_ = new QListWidget(this);
    kdgList_->setObjectName(QStringLiteral("LstMODs"));
    layout->addWidget(kdgList_, 1);
    auto* row = new QHBoxLayout;
    delete_ = new QPushButton(QStringLiteral("No KDG's selected"), this);
    delete_->setObjectName(QStringLiteral("CmdDeleteKDG"));
    delete_->setEnabled(false);
    row->addStretch(1);
    row->addWidget(delete_);
    layout->addLayout(row);
}

} // namespace kv::ui
