#include "ui/main/tools_button.h"

#include "common/ui_port.h"
#include "content/launcher_wiring.h"
#include "content/patch_110.h"
#include "core/game_start.h"
#include "core/launcher.h"
#include "platform/files.h"
#include "ui/mapview/form1.h"

#include <QMenu>

namespace kv::ui {

namespace {

enum Entry {
    CheckForUpdates,
    Patch110,
    MapViewer,
    ScriptHelp,
    RemoveConfiguration,
    ChangeNick,
    AlwaysOnTop,
    UpdateAtStartup,
    EntryCount
};

} // namespace

ToolsButton::ToolsButton(Launcher& launcher, QWidget* parent)
    : QToolButton(parent), launcher_(launcher) {
    setObjectName(QStringLiteral("TbTools"));
    setText(QStringLiteral("Tools"));
    setPopupMode(QToolButton::InstantPopup);
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("MnuTools"));
    for (const char* text :
         {"Check for updates", "Make compatible with 1.10 Patch", "VUVozarev (beta)...",
          "KV Script Help File", "Remove current configuration", "Change Nick", "Always on top On",
          "Check for updates on Startup Off"}) {
        QAction* action = menu->addAction(QString::fromLatin1(text));
        connect(action, &QAction::triggered, this, [this, action] { run(action->text()); });
    }
    setMenu(menu);
    refresh();
}

void ToolsButton::refresh() {
    const auto actions = menu()->actions();
    // Commands whose subsystems are not wired yet stay visible but cannot be chosen.
    for (int i = 0; i < EntryCount; ++i)
        actions[i]->setEnabled(i == UpdateAtStartup || i == AlwaysOnTop || i == MapViewer);
    actions[CheckForUpdates]->setEnabled(bool(launcher_.hooks.checkForUpdates));
    actions[ScriptHelp]->setEnabled(launcher_.scriptHelpAvailable);
    actions[Patch110]->setEnabled(!patch110Done_);
    actions[AlwaysOnTop]->setText(launcher_.alwaysOnTop ? QStringLiteral("Always on top On")
                                                        : QStringLiteral("Always on top Off"));
    actions[UpdateAtStartup]->setText(launcher_.updateAtStartup
                                          ? QStringLiteral("Check for updates on Startup On")
                                          : QStringLiteral("Check for updates on Startup Off"));
}

void ToolsButton::run(const QString& entry) {
    if (entry.startsWith(QStringLiteral("Check for updates on Startup"))) {
        launcher_.updateAtStartup = !launcher_.updateAtStartup;
    } else if (entry.startsWith(QStringLiteral("Always on top"))) {
        SetOnTop(launcher_, !launcher_.alwaysOnTop);
    } else if (entry == QStringLiteral("Make compatible with 1.10 Patch")) {
        // The entry stays off once the set-up ran.
        patch110Done_ =
            content::makeCompatible110(launcher_.content, content::contentEnv(launcher_));
        content::syncChoiceOptions(launcher_);
        launcher_.view().refresh();
    } else if (entry == QStringLiteral("Check for updates")) {
        // The toolbar stays off while the check runs.
        parentWidget()->setEnabled(false);
        runHook(launcher_.hooks.checkForUpdates);
        parentWidget()->setEnabled(true);
    } else if (entry == QStringLiteral("VUVozarev (beta)...")) {
        window()->showMinimized();
        Form1::showViewer(launcher_.paths.launcherFolder);
    } else if (entry == QStringLiteral("KV Script Help File")) {
        launcher_.openInShell(platform::resolvePath(launcher_.installations.currentGameFolder() +
                                                    "\\multiplay\\skirmish\\scriptLang.rtf"));
    } else {
        launcher_.ui().message("Unknown command.", Icon::Exclamation);
    }
    refresh();
}

} // namespace kv::ui
