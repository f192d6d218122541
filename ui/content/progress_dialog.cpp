#include "ui/content/progress_dialog.h"

#include "ui/qt_text.h"

#include <QCoreApplication>
#include <QProgressDialog>

namespace kv::ui {

ProgressDialog::ProgressDialog(const QString& title, QWidget* parent)
    : title_(title), parent_(parent) {}

ProgressDialog::~ProgressDialog() {
    delete dialog_;
}

QProgressDialog& ProgressDialog::shown() {
    if (!dialog_) {
        dialog_ = new QProgressDialog(parent_);
        dialog_->setObjectName(QStringLiteral("ProgressDialog"));
        dialog_->setWindowTitle(title_);
        dialog_->setWindowModality(Qt::WindowModal);
        dialog_->setMinimumDuration(0);
        dialog_->setAutoClose(false);
        dialog_->setAutoReset(false);
        dialog_->setRange(0, 1000);
        dialog_->setValue(0);
    }
    return *dialog_;
}

void ProgressDialog::setStatus(const std::string& text) {
    shown().setLabelText(toQt(text));
    QCoreApplication::processEvents();
}

void ProgressDialog::setProgress(std::uint64_t current, std::uint64_t total) {
    // Scaled to a fixed range: byte counts do not fit the dialog's int.
    shown().setValue(total == 0 ? 1000 : int(current * 1000 / total));
    QCoreApplication::processEvents();
}

bool ProgressDialog::stopRequested() {
    QCoreApplication::processEvents();
    return dialog_ && dialog_->wasCanceled();
}

} // namespace kv::ui
