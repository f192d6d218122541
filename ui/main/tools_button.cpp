#include "ui/main/tools_button.h"

#include "common/ui_port.h"
#include "launcher/content_wiring.h"
#include "content/patch_110.h"
#include "launcher/game_start.h"
#include "launcher/launcher.h"
#include "launcher/tools_menu.h"
#include "platform/files.h"
#include "ui/mapview/form1.h"
#include "ui/window_placement.h"

#include <QMenu>

#include <vector>

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
    for (const char* text : kToolsEntries) {
        QAction* action = menu->addAction(QString::fromLatin1(text));
        connect(action, &QAction::triggered, this, [this, action] { run(action->text()); });
    }
    setMenu(menu);
    refresh();
}

void ToolsButton::refresh() {
    const auto actions = menu()->actions();
    actions[CheckForUpdates]->setEnabled(bool(updateCheck_) ||
                                         launcher_.view().canCheckForUpdates());
    actions[ScriptHelp]->setEnabled(launcher_.scriptHelpAvailable);
    actions[Patch110]->setEnabled(!patch110Done_);
    actions[AlwaysOnTop]->setText(launcher_.alwaysOnTop ? QStringLiteral("Always on top On")
                                                        : QStringLiteral("Always on top Off"));
    actions[UpdateAtStartup]->setText(launcher_.updateAtStartup
                                          ? QStringLiteral("Check for updates on Startup On")
                                          : QStringLiteral("Check for updates on Startup Off"));
    actions[CheckForUpdates]->setText(checking_ ? QStringLiteral("Cancel update check")
                                                : QString::fromLatin1(kToolsEntries[CheckForUpdates]));
    for (int i = 0; i < EntryCount; ++i)
        if (checking_)
            actions[i]->setEnabled(i == CheckForUpdates);
        else if (i != CheckForUpdates && i != ScriptHelp && i != Patch110)
            actions[i]->setEnabled(true);
}

void ToolsButton::setUpdateCheck(std::function<void()> check) {
    updateCheck_ = std::move(check);
    refresh();
}

void ToolsButton::run(const QString& entry) {
    const std::string program = restartProgram_.empty() ? ownExecutablePath() : restartProgram_;
    if (entry == QStringLiteral("Check for updates") ||
        entry == QStringLiteral("Check for new Maps/MODs")) {
        // One check serves both: the server's list offers the launcher and the downloads.
        // The rest of the toolbar and menu stay off while the check runs; this entry
        // becomes its Cancel.
        std::vector<QWidget*> off;
        for (QWidget* w : parentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (w != this && w->isEnabled()) {
                w->setEnabled(false);
                off.push_back(w);
            }
        checking_ = true;
        refresh();
        if (updateCheck_)
            updateCheck_();
        else
            launcher_.view().checkForUpdates();
        checking_ = false;
        for (QWidget* w : off)
            w->setEnabled(true);
        refresh();
    } else if (entry == QStringLiteral("Cancel update check")) {
        launcher_.view().cancelUpdateCheck();
    } else if (entry == QStringLiteral("Remove current configuration")) {
        if (removeCurrentConfiguration(launcher_, program) == ToolsEnd::EndNow) {
            emit endRequested();
            return;
        }
    } else if (entry == QStringLiteral("Change Nick")) {
        if (changeNick(launcher_, program) == ToolsEnd::CloseMain) {
            emit closeRequested();
            return;
        }
    } else if (entry.startsWith(QStringLiteral("Check for updates on Startup"))) {
        launcher_.updateAtStartup = !launcher_.updateAtStartup;
    } else if (entry.startsWith(QStringLiteral("Always on top"))) {
        SetOnTop(launcher_, !launcher_.alwaysOnTop);
    } else if (entry == QStringLiteral("Make compatible with 1.10 Patch")) {
        // The entry stays off once the set-up ran.
        patch110Done_ =
            content::makeCompatible110(launcher_.content, kv::contentEnv(launcher_));
        kv::syncChoiceOptions(launcher_);
        launcher_.view().refresh();
    } else if (entry == QStringLiteral("VUVozarev (beta)...")) {
        openMapViewer();
    } else if (entry == QStringLiteral("KV Script Help File")) {
        launcher_.openInShell(platform::resolvePath(launcher_.installations.currentGameFolder() +
                                                    "\\multiplay\\skirmish\\scriptLang.rtf"));
    } else {
        launcher_.ui().message("Unknown command.", Icon::Exclamation);
    }
    refresh();
}

// The viewer has no owner, so that minimising the launcher leaves it on screen; without
// a task bar the minimised launcher would look gone, so closing the viewer gives it back.
void ToolsButton::openMapViewer() {
    QWidget* main = window();
    main->showMinimized();
    Form1* viewer = Form1::showViewer(launcher_.paths.launcherFolder);
    placeToolWindow(*viewer, *main);
    connect(viewer, &QObject::destroyed, main, [main] {
        main->showNormal();
        main->raise();
        main->activateWindow();
    });
}

} // namespace kv::ui
