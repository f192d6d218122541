#include "ui/main/new_kdg_page.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace kv::ui {

NewKdgPage::NewKdgPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("NewKDG"));
    auto* layout = new QVBoxLayout(this);
    auto* create = new QPushButton(QStringLiteral("Create project folder..."), this);
    create->setObjectName(QStringLiteral("CmdCreateProject"));
    create->setEnabled(false);
    layout->addWidget(create);
    layout->addWidget(new QLabel(QStringLiteral("Project files:"), this));
    auto* files = new QListWidget(this);
    files->setObjectName(QStringLiteral("LstProjectFiles"));
    layout->addWidget(files, 1);
    auto* krfs = new QListWidget(this);
    krfs->setObjectName(QStringLiteral("LstKRFs"));
    layout->addWidget(new QLabel(QStringLiteral("Resource lists:"), this));
    layout->addWidget(krfs);
}

} // namespace kv::ui
