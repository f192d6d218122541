#include "app/screenshot.h"
#include "automation/automation_wiring.h"
#include "content/launcher_wiring.h"
#include "core/launcher.h"
#include "core/launcher_folder.h"
#include "core/links_file.h"
#include "core/startup.h"
#include "lobby/lobby.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "ui/main/main_window.h"
#include "ui/qt_text.h"
#include "ui/qt_ui.h"
#include "ui/update/update_controller.h"

#include <QApplication>
#include <QStringList>

namespace {

// The launcher's switches as one text, the way they were typed after the program name;
// Qt has already taken its own options out.
std::string commandLineText(const QStringList& arguments) {
    return kv::ui::fromQt(arguments.mid(1).join(QLatin1Char(' ')));
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Korvane Starter"));
    QApplication::setApplicationDisplayName(QString()); // the title stays exactly as set

    kv::ui::QtUi ui;
    const kv::LauncherFolderChoice folder =
        kv::chooseLauncherFolder(kv::ui::fromQt(QApplication::applicationDirPath()));
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

    kv::content::wireContent(launcher);
    kv::lobby::wireLobby(launcher);
    kv::automation::wireAutomation(launcher);
    kv::wireMainLink(launcher);
    kv::ui::Main window(launcher);
    ui.setParent(&window);
    kv::ui::wireUpdates(launcher, &window);
    if (!kv::runStartup(launcher, commandLineText(QApplication::arguments())))
        return 0;
    window.show();

    kv::app::scheduleScreenshotIfAsked(window);
    return app.exec();
}
