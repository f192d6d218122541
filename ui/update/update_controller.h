#pragma once
// The update check inside the launcher's window: the start-up timer, the Tools menu's
// check, the update window and the download window, all over one update session.
#include "update/update_session.h"

#include <QObject>

#include <memory>

class QTimer;
class QWidget;

namespace kv {
class Launcher;
}

namespace kv::ui {

class DownloadDialog;
class FrmUpdate;

class UpdateController : public QObject {
public:
    UpdateController(Launcher& launcher, QWidget* mainWindow);
    ~UpdateController() override;

    // `DoAutoUpdate` for the current installation.
    void check(bool silent);

    // Stops a download in progress (the launcher is closing).
    void stopTransfers();

    update::UpdateSession& session() { return *session_; }
    FrmUpdate* window() const { return window_; }
    QTimer* startupTimer() const { return timer_; }

private:
    void showWindow();

    Launcher& launcher_;
    QWidget* main_;
    std::unique_ptr<update::UpdateSession> session_;
    DownloadDialog* download_ = nullptr;
    FrmUpdate* window_ = nullptr;
    QTimer* timer_ = nullptr;
    bool checking_ = false;
    bool closing_ = false;
};

} // namespace kv::ui
