#include "ui/main/about_page.h"

#include "launcher/links_file.h"
#include "core/options.h"
#include "ui/qt_text.h"

#include <QLabel>
#include <QVBoxLayout>

namespace kv::ui {

AboutPage::AboutPage(Launcher& launcher, QWidget* parent) : QWidget(parent) {
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
    auto* email =
        new QLabel(QStringLiteral("<a href=\"mailto\">%1</a>").arg(toQt(kContactAddress)), this);
    email->setObjectName(QStringLiteral("LblAboutEmail"));
    email->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    connect(email, &QLabel::linkActivated, this,
            [&launcher] { writeToAddress(launcher, kContactAddress); });
    layout->addWidget(email);
}

} // namespace kv::ui
