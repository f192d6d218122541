#include "ui/update/frm_update.h"

#include "ui/qt_text.h"
#include "update/update_session.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTextEdit>
#include <QTreeWidget>

namespace kv::ui {

FrmUpdate::FrmUpdate(update::UpdateSession& session, QWidget* parent)
    : QDialog(parent), session_(session) {
    setObjectName(QStringLiteral("FrmUpdate"));
    setWindowTitle(QStringLiteral("Korvane Starter"));
    auto* grid = new QGridLayout(this);

    grid->addWidget(new QLabel(QStringLiteral("Available Downloads"), this), 0, 0, 1, 3);
    offers_ = new QTreeWidget(this);
    offers_->setObjectName(QStringLiteral("LstUpdates"));
    offers_->setRootIsDecorated(false);
    offers_->setHeaderLabels({QStringLiteral("Name"), QStringLiteral("Type"),
                              QStringLiteral("Version"), QStringLiteral("Size")});
    // The name takes the room the other columns leave; they take what their texts need.
    offers_->header()->setStretchLastSection(false);
    offers_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    offers_->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    grid->addWidget(offers_, 1, 0, 1, 3);

    showAll_ = new QCheckBox(QStringLiteral("Show all downloads"), this);
    showAll_->setObjectName(QStringLiteral("ChkShowAll"));
    showAll_->setToolTip(QStringLiteral("This option will show already installed downloads"));
    auto* checkAll = new QPushButton(QStringLiteral("Check all"), this);
    checkAll->setObjectName(QStringLiteral("CmdCheckAll"));
    auto* uncheckAll = new QPushButton(QStringLiteral("Uncheck all"), this);
    uncheckAll->setObjectName(QStringLiteral("CmdUncheckAll"));
    grid->addWidget(showAll_, 2, 0);
    grid->addWidget(checkAll, 2, 1);
    grid->addWidget(uncheckAll, 2, 2);
    total_ = new QLabel(this);
    total_->setObjectName(QStringLiteral("LblTotalSize"));
    grid->addWidget(total_, 3, 0, 1, 3);
    description_ = new QTextEdit(this);
    description_->setObjectName(QStringLiteral("TxtDescription"));
    description_->setReadOnly(true);
    grid->addWidget(description_, 4, 0, 1, 3);
    unsigned_ = new QLabel(QStringLiteral("These offers are not signed: the server's word is "
                                          "all that vouches for them."),
                           this);
    unsigned_->setObjectName(QStringLiteral("LblUnsigned"));
    grid->addWidget(unsigned_, 5, 0, 1, 3);

    news_ = new QListWidget(this);
    news_->setObjectName(QStringLiteral("LstMsgs"));
    newsText_ = new QTextEdit(this);
    newsText_->setObjectName(QStringLiteral("TxtMsg"));
    newsText_->setReadOnly(true);
    link_ = new QLabel(this);
    link_->setObjectName(QStringLiteral("LblLink"));
    link_->setTextFormat(Qt::RichText);
    link_->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    grid->addWidget(news_, 0, 3, 2, 1);
    grid->addWidget(newsText_, 2, 3, 2, 1);
    grid->addWidget(link_, 4, 3);
    auto* download = new QPushButton(QStringLiteral("Download"), this);
    download->setObjectName(QStringLiteral("CmdDownload"));
    grid->addWidget(download, 5, 3);

    connect(offers_, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item, int) {
        if (filling_)
            return;
        session_.setChecked(size_t(offers_->indexOfTopLevelItem(item)),
                            item->checkState(0) == Qt::Checked);
        total_->setText(toQt(session_.totalSizeLabel()));
    });
    connect(offers_, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item, int) {
        description_->setPlainText(
            toQt(session_.descriptionOf(size_t(offers_->indexOfTopLevelItem(item)))));
    });
    connect(showAll_, &QCheckBox::clicked, this, [this](bool on) {
        session_.showAll = on;
        session_.buildOffers();
        fillOffers();
    });
    connect(checkAll, &QPushButton::clicked, this, [this] {
        session_.checkAll(true);
        fillOffers();
    });
    connect(uncheckAll, &QPushButton::clicked, this, [this] {
        session_.checkAll(false);
        fillOffers();
    });
    connect(news_, &QListWidget::currentRowChanged, this, &FrmUpdate::showMessage);
    connect(link_, &QLabel::linkActivated, this, [this](const QString& url) {
        const std::string address = fromQt(url);
        auto& env = session_.env();
        if (env.ui.message("Go to " + address + " ?", Icon::Question, Buttons::YesNo) ==
                Answer::Yes &&
            env.openInShell)
            env.openInShell(address);
    });
    connect(download, &QPushButton::clicked, this, [this, download] {
        download->setEnabled(false);
        if (session_.installSelected()) {
            session_.buildOffers();
            fillOffers();
            download->setEnabled(true);
        }
    });
    reload();
}

void FrmUpdate::reload() {
    unsigned_->setVisible(!session_.offersSigned());
    showAll_->setChecked(session_.showAll);
    fillOffers();
    news_->clear();
    for (const auto& line : session_.news())
        news_->addItem(toQt(line));
    if (news_->count() > 0)
        news_->setCurrentRow(0);
    else
        showMessage(-1);
}

void FrmUpdate::fillOffers() {
    filling_ = true;
    offers_->clear();
    for (const auto& o : session_.offers()) {
        auto* item = new QTreeWidgetItem(
            offers_, {toQt(o.name), toQt(o.type), toQt(o.version), toQt(o.sizeText)});
        item->setData(0, Qt::UserRole, toQt(o.key));
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(0, o.checked ? Qt::Checked : Qt::Unchecked);
    }
    filling_ = false;
    total_->setText(toQt(session_.totalSizeLabel()));
}

void FrmUpdate::showMessage(int row) {
    const auto& messages = session_.state().messages;
    if (row < 0 || size_t(row) >= messages.size()) {
        newsText_->clear();
        link_->clear();
        return;
    }
    newsText_->setPlainText(toQt(messages[size_t(row)].text));
    const QString url = toQt(messages[size_t(row)].url);
    link_->setText(url.isEmpty() ? QString()
                                 : QStringLiteral("<a href=\"%1\">%2</a>")
                                       .arg(url.toHtmlEscaped(), url.toHtmlEscaped()));
}

} // namespace kv::ui
