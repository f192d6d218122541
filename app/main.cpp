#include "app/screenshot.h"
#include "core/launcher_folder.h"
#include "launcher/automation_wiring.h"
#include "launcher/launcher.h"
#include "launcher/lobby_wiring.h"
#include "launcher/startup.h"
#include "lobby/lobby.h"
#include "platform/atomic_file.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "ui/first_paint.h"
#include "ui/main/main_window.h"
#include "ui/qt_text.h"
#include "ui/qt_ui.h"
#include "ui/update/update_controller.h"

#include <QApplication>
#include <QStringList>
#include <QTimer>

namespace {

// The launcher's switches as one text, the way they were typed after the program name;
// Qt has already taken its own options out.
std::string commandLineText(const QStringList& arguments) {
    return kv::ui::fromQt(arguments.mid(1).join(QLatin1Char(' ')));
}

// The Renamer starts the old launcher again with this switch and its reason when the new
// one could not be started; the switch is taken out before the launcher's own switches.
QString takeRolledBackReason(QStringList& arguments) {
    const qsizetype at = arguments.indexOf(QStringLiteral("--update-rolled-back"));
    if (at < 1)
        return {};
    const QString reason = at + 1 < arguments.size() ? arguments[at + 1] : QString();
    arguments.remove(at, at + 1 < arguments.size() ? 2 : 1);
    return reason.isEmpty() ? QStringLiteral("no reason given") : reason;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Korvane Starter"));
    QApplication::setApplicationDisplayName(QString()); // the title stays exactly as set

    kv::ui::QtUi ui;
    QStringList arguments = QApplication::arguments();
    const QString rolledBack = takeRolledBackReason(arguments);
    const kv::LauncherFolderChoice folder =
        kv::chooseLauncherFolder(kv::ui::fromQt(QApplication::applicationDirPath()));
    // A download killed half way leaves its temporary until the next download into the
    // same folder; the launcher folder is swept now.
    (void)kv::platform::sweepStaleTemporaries(folder.folder);
    if (!folder.error.empty())
        static_cast<kv::Ui&>(ui).message("Korvane Starter could not prepare its folder " +
                                             folder.folder + ":\n" + folder.error,
                                         kv::Icon::Exclamation);
    const std::string registryStore = kv::platform::defaultRegistryStorePath();
    auto registry = kv::platform::makeRegistryBackend(registryStore);
    kv::Launcher launcher(folder.folder, ui, *registry, [](const std::string& target) {
        return kv::platform::shellOpen(target);
    });
    launcher.launch.registryStore = registryStore;

    kv::wireLobby(launcher);
    kv::wireAutomation(launcher);
    kv::ui::Main window(launcher);
    kv::ui::exitAfterFirstPaintIfAsked(window);
    ui.setParent(&window);
    window.setUpdates(new kv::ui::UpdateController(launcher, &window)); // a child of the window
    if (!kv::runStartup(launcher, commandLineText(arguments)))
        return 0;
    window.show();
    if (!rolledBack.isEmpty())
        QTimer::singleShot(0, &window, [&ui, rolledBack] {
            static_cast<kv::Ui&>(ui).message(
                "The new version of Korvane Starter could not be started; this version was "
                "put back.\n" +
                    kv::ui::fromQt(rolledBack),
                kv::Icon::Exclamation);
        });

    kv::app::scheduleScreenshotIfAsked(window);
    return app.exec();
}
