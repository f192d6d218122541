#pragma once
// Progress of long work in a modal progress dialog. Every report lets pending events run,
// so the window repaints and the dialog's Cancel button stops the work between steps.
#include "common/progress.h"

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

    QProgressDialog* dialog() const { return dialog_; }

private:
    QProgressDialog* dialog_;
};

} // namespace kv::ui
