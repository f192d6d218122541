#include "ui/main/author_links.h"

#include "launcher/launcher.h"
#include "launcher/links_file.h"
#include "ui/qt_text.h"

#include <QHBoxLayout>
#include <QLabel>

namespace kv::ui {

AuthorLinks::AuthorLinks(Launcher& launcher, QWidget* parent)
    : QWidget(parent), launcher_(launcher) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    homepage_ = new QLabel(this);
    homepage_->setObjectName(QStringLiteral("LblAuthorHomepage"));
    email_ = new QLabel(this);
    email_->setObjectName(QStringLiteral("LblAuthorEmail"));
    for (QLabel* l : {homepage_, email_}) {
        l->setTextFormat(Qt::RichText);
        l->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
        layout->addWidget(l);
    }
    connect(homepage_, &QLabel::linkActivated, this, [this] {
        if (const content::ModEntry* e = launcher_.content.mods.selectedEntry())
            followAuthorHomepage(launcher_, e->authorName, e->authorHomepage);
    });
    connect(email_, &QLabel::linkActivated, this, [this] {
        if (const content::ModEntry* e = launcher_.content.mods.selectedEntry())
            writeToAuthor(launcher_, e->authorName, e->authorEmail);
    });
    refresh();
}

void AuthorLinks::refresh() {
    const content::ModEntry* e = launcher_.content.mods.selectedEntry();
    const std::string author = e && !e->authorName.empty() ? e->authorName : "unknown";
    const bool homepage = e && !e->authorHomepage.empty();
    const bool email = e && !e->authorEmail.empty();
    homepage_->setVisible(homepage);
    email_->setVisible(email);
    homepage_->setText(
        homepage ? QStringLiteral("<a href=\"x\">%1's Homepage</a>").arg(toQt(author)) : QString());
    email_->setText(email ? QStringLiteral("<a href=\"x\">E-mail</a>") : QString());
}

} // namespace kv::ui
