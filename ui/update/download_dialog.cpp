#include "ui/update/download_dialog.h"

#include "ui/qt_text.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace kv::ui {

DownloadDialog::DownloadDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FrmDownload"));
    auto* layout = new QVBoxLayout(this);
    text_ = new QLabel(this);
    text_->setObjectName(QStringLiteral("LblDownload"));
    text_->setTextFormat(Qt::PlainText); // names from the update server
    bar_ = new QProgressBar(this);
    bar_->setObjectName(QStringLiteral("PrgDownload"));
    bar_->setMinimumWidth(360);
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("LblProgress"));
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("CmdCancel"));
    layout->addWidget(text_);
    layout->addWidget(bar_);
    layout->addWidget(status_);
    layout->addWidget(cancel, 0, Qt::AlignRight);
    connect(cancel, &QPushButton::clicked, this, [this] { this->cancel(); });
}

void DownloadDialog::begin(const std::string& title, const std::string& text) {
    cancelled_ = false;
    setWindowTitle(toQt(title));
    text_->setText(toQt(text));
    status_->clear();
    bar_->setRange(0, 0); // busy until the size is known
    show();
}

void DownloadDialog::finish() {
    hide();
}

void DownloadDialog::setStatus(const std::string& text) {
    status_->setText(toQt(text));
}

void DownloadDialog::setProgress(std::uint64_t current, std::uint64_t total) {
    if (total == 0) {
        bar_->setRange(0, 0);
        return;
    }
    // Kilobytes keep a 4 GB file inside the bar's int range.
    bar_->setRange(0, int(total / 1024));
    bar_->setValue(int(current / 1024));
}

} // namespace kv::ui
