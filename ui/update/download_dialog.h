#pragma once
// The download window: the file's name and size, a progress bar with the bytes received,
// the total when the server tells it, the rate, and a Cancel button that stops the
// transfer.
#include "update/update_env.h"

#include <QDialog>

class QLabel;
class QProgressBar;

namespace kv::ui {

class DownloadDialog : public QDialog, public update::DownloadWindow {
public:
    explicit DownloadDialog(QWidget* parent = nullptr);

    void begin(const std::string& title, const std::string& text) override;
    void finish() override;
    void setStatus(const std::string& text) override;
    void setProgress(std::uint64_t current, std::uint64_t total) override;
    bool stopRequested() override { return cancelled_; }
    // What Cancel does; also used when the launcher closes mid-download.
    void cancel() { cancelled_ = true; }
    // The title bar's close and Escape are Cancel.
    void reject() override {
        cancel();
        QDialog::reject();
    }

private:
    QLabel* text_;
    QProgressBar* bar_;
    QLabel* status_;
    bool cancelled_ = false;
};

} // namespace kv::ui
