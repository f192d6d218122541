#pragma once
// Progress of long work in a modal progress dialog. Every report lets pending events run,
// so the window repaints and the dialog's Cancel button stops the work between steps.
// The dialog appears with the first report, not before: dialogs the work opens first
// (the folder to extract to) must get the input.
#include "common/progress.h"

#include <QPointer>
#include <QString>

class QProgressDialog;
class QWidget;

namespace kv::ui {

class ProgressDialog : public Progress {
public:
    ProgressDialog(const QString& title, QWidget* parent);
    ~ProgressDialog() override;
    ProgressDialog(const ProgressDialog&) = delete;
    ProgressDialog& operator=(const ProgressDialog&) = delete;

    void setStatus(const std::string& text) override;
    void setProgress(std::uint64_t current, std::uint64_t total) override;
    bool stopRequested() override;

    // Null until the work has reported.
    QProgressDialog* dialog() const { return dialog_; }

private:
    QProgressDialog& shown();

    QString title_;
    QPointer<QWidget> parent_;
    QProgressDialog* dialog_ = nullptr;
};

} // namespace kv::ui
