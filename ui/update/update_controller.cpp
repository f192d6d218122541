#include "ui/update/update_controller.h"

#include "launcher/content_wiring.h"
#include "launcher/launcher.h"
#include "core/launcher_folder.h"
#include "platform/shell.h"
#include "ui/qt_text.h"
#include "ui/update/download_dialog.h"
#include "ui/update/frm_update.h"

#include <QCoreApplication>
#include <QTimer>
#include <QWidget>

namespace kv::ui {

UpdateController::UpdateController(Launcher& launcher, QWidget* mainWindow)
    : QObject(mainWindow), launcher_(launcher), main_(mainWindow) {
    setObjectName(QStringLiteral("UpdateController"));
    download_ = new DownloadDialog(mainWindow);
    timer_ = new QTimer(this);
    timer_->setObjectName(QStringLiteral("TimerUpdate"));
    timer_->setSingleShot(true);
    timer_->setInterval(4000);
    connect(timer_, &QTimer::timeout, this, [this] { check(true); });

    update::UpdateEnv env(launcher.paths, launcher.ui(), launcher.content);
    env.downloadWindow = download_;
    env.executable = fromQt(QCoreApplication::applicationFilePath());
    env.processId = long(QCoreApplication::applicationPid());
    env.selfUpdate = shippedLauncherFiles(fromQt(QCoreApplication::applicationDirPath())).empty();
    env.setCaption = [this](const std::string& caption) { main_->setWindowTitle(toQt(caption)); };
    env.openInShell = [this](const std::string& target) { return launcher_.openInShell(target); };
    env.startHidden = [](const std::string& program, const std::string& parameters) {
        return platform::startProgram(program, parameters, {}, platform::WindowMode::Hidden).ok;
    };
    env.refreshModList = [this] { kv::refillKdgList(launcher_); };
    env.reloadCatalogues = [this] {
        kv::fillCatalogues(launcher_);
        launcher_.view().refresh();
    };
    env.quit = [this] {
        // The launcher closes the usual way, so its installed files are cleaned up.
        main_->close();
        QCoreApplication::quit();
    };
    env.showWindow = [this] { showWindow(); };
    session_ = std::make_unique<update::UpdateSession>(std::move(env));
}

UpdateController::~UpdateController() = default;

void UpdateController::check(bool silent) {
    // The start-up timer may fire while a check from the menu still runs; nothing starts
    // once the launcher is closing.
    if (checking_ || closing_)
        return;
    checking_ = true;
    auto& env = session_->env();
    env.gameFolder = launcher_.installations.currentGameFolder();
    env.serverSetting = launcher_.updateServer;
    env.publicKeys = update::knownUpdateKeys(launcher_.updateKey);
    env.registryStore = launcher_.launch.registryStore;
    session_->DoAutoUpdate(silent);
    checking_ = false;
}

void UpdateController::stopTransfers() {
    // The launcher is closing: every transfer and install ends at once and no window of
    // the update stays open to keep the process alive.
    closing_ = true;
    timer_->stop();
    session_->cancel();
    download_->cancel();
    download_->hide();
    if (window_)
        window_->close();
}

void UpdateController::showWindow() {
    if (!window_)
        window_ = new FrmUpdate(*session_, main_);
    window_->reload();
    window_->show();
    window_->raise();
}

} // namespace kv::ui
