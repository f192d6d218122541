#include "ui/main/about_page.h"

#include "core/options.h"

#include <QLabel>
#include <QVBoxLayout>

namespace kv::ui {

AboutPage::AboutPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("About"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* name = new QLabel(QStringLiteral("Korvane Starter"), this);
    QFont bold = name->font();
    bold.setBold(true);
    name->setFont(bold);
    layout->addWidget(name);
    version_ = new QLabel(QStringLiteral("Version: ") + QString::fromLatin1(kVersionNumber), this);
    version_->setObjectName(QStringLiteral("LblVersion"));
    layout->addWidget(version_);
}

} // namespace kv::ui
