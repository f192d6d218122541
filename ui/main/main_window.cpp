#include "ui/main/main_window.h"

#include "common/ui_port.h"
#include "launcher/content_wiring.h"
#include "content/mod_activation.h"
#include "launcher/game_start.h"
#include "launcher/installation_actions.h"
#include "launcher/launch_buttons.h"
#include "launcher/launch_plan.h"
#include "launcher/launcher.h"
#include "launcher/settings_file.h"
#include "launcher/startup.h"
#include "lobby/lobby.h"
#include "ui/automation/global_config_window.h"
#include "ui/content/ai_page.h"
#include "ui/content/frm_mods.h"
#include "ui/content/mods_page.h"
#include "ui/debugmon/kv_debug.h"
#include "ui/main/about_page.h"
#include "ui/main/author_links.h"
#include "ui/main/command_line_preview.h"
#include "ui/main/host_join_page.h"
#include "ui/main/installation_toolbar.h"
#include "ui/main/main_link_bar.h"
#include "ui/main/misc_page.h"
#include "ui/main/new_kdg_page.h"
#include "ui/main/options_toolbar_widget.h"
#include "ui/main/start_plan_dialog.h"
#include "ui/main/tools_button.h"
#include "ui/qt_text.h"
#include "ui/update/update_controller.h"
#include "ui/window_placement.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>
#include <QWindow>

#include <algorithm>

namespace kv::ui {

Main::Main(Launcher& launcher, QWidget* parent) : QMainWindow(parent), launcher_(launcher) {
    setObjectName(QStringLiteral("Main"));
    setWindowTitle(QStringLiteral("Korvane Starter"));
    createToolbars();
    createPages();

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    mainLink_ = new MainLinkBar(launcher_, central);
    layout->addWidget(mainLink_);
    layout->addWidget(createEmptyState());
    body_ = new QWidget(central);
    layout->addWidget(body_, 1);
    buttonRow_ = createButtonRow();
    layout->addWidget(buttonRow_);
    setCentralWidget(central);
    PlaceControls();
    orderTabChain();

    launcher_.setView(this);
    refresh();
    resizeForm(launcher_.options.compact());
    restorePlacement(*this);
    // The settings file sets the compact mode again; the place the user left stays.
    if (!launcher_.options.compact())
        fullSize_ = size();
    toolWindows_ = new ToolWindowPlacement(*this);
}

Main::~Main() {
    launcher_.setView(nullptr);
}

void Main::createToolbars() {
    optionsToolbar_ = new OptionsToolbarWidget(launcher_, this);
    addToolBar(optionsToolbar_);
    installationToolbar_ = new InstallationToolbar(launcher_, this);
    addToolBar(installationToolbar_);
    auto* toolsBar = new QToolBar(QStringLiteral("Tools"), this);
    toolsBar->setObjectName(QStringLiteral("TbToolsBar"));
    tools_ = new ToolsButton(launcher_, toolsBar);
    toolsBar->addWidget(tools_);
    addToolBar(toolsBar);
    connect(tools_, &ToolsButton::closeRequested, this, &QWidget::close);
    connect(tools_, &ToolsButton::endRequested, this, &Main::endAtOnce);
    connect(optionsToolbar_, &OptionsToolbarWidget::optionChosen, this, &Main::refresh);
    connect(installationToolbar_, &InstallationToolbar::installationsChanged, this, &Main::refresh);
}

void Main::createPages() {
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("TabMain"));
    misc_ = new MiscPage(launcher_, tabs_);
    const auto env = [this] { return kv::contentEnv(launcher_); };
    mods_ = new ModsPage(launcher_.content, env, tabs_);
    ai_ = new AiPage(launcher_.content, env, tabs_);
    ai_->setOverwriteWarnedFlag(&launcher_.aiOverwriteWarned);
    mods_->setNameTables(&launcher_.content.nameTables);
    mods_->setMapPreviewFlag(&launcher_.mapPreview);
    mods_->setShellOpener([this](const std::string& file) { return launcher_.openInShell(file); });
    newKdg_ = new NewKdgPage(launcher_, tabs_);
    hostJoin_ = new HostJoinPage(launcher_, tabs_);
    about_ = new AboutPage(launcher_, tabs_);
    tabs_->addTab(misc_, QStringLiteral("MISC"));
    tabs_->addTab(mods_, QStringLiteral("M&ODs"));
    tabs_->addTab(ai_, QStringLiteral("&AI"));
    tabs_->addTab(newKdg_, QStringLiteral("New &KDG"));
    tabs_->addTab(hostJoin_, QStringLiteral("&Host/Join Game"));
    tabs_->addTab(about_, QStringLiteral("About"));
    // The options and the about panel leave the tab strip; PlaceControls puts them
    // beside it so that the compact layout still shows them.
    tabs_->removeTab(tabs_->indexOf(about_));
    tabs_->removeTab(tabs_->indexOf(misc_));

    connect(tabs_, &QTabWidget::currentChanged, this,
            [this](int index) { launcher_.options.selectedTab = index + 1; });
    connect(misc_, &MiscPage::compactToggled, this, &Main::resizeForm);
    connect(misc_, &MiscPage::openGameFolder, this,
            [this] { openKVFolder(launcher_, launcher_.installations.selected()); });
    connect(misc_, &MiscPage::openSkirmishFolder, this,
            [this] { openSkirmishFolder(launcher_, launcher_.installations.selected()); });
    connect(misc_, &MiscPage::startMapEditor, this, [this] { kv::startMapEditor(launcher_); });
    // The multiplayer switches belong to the command line too.
    if (auto* multiplayer = hostJoin_->findChild<QCheckBox*>(QStringLiteral("Check6")))
        connect(multiplayer, &QCheckBox::toggled, this, [this] { misc_->preview()->reload(); });
    // So do the mode and the host label, whichever way the lobby changes them.
    if (lobby::Lobby* session = launcher_.lobby.session.get())
        connect(session, &lobby::Lobby::changed, this, [this] { misc_->preview()->reload(); });
    misc_->resolution()->installEventFilter(this);
    // The settings file keeps the lists' texts; a new choice may be applied.
    const auto choiceChanged = [this] {
        kv::syncChoiceOptions(launcher_);
        apply_->setEnabled(launcher_.content.choices.applyEnabled);
    };
    connect(ai_, &AiPage::playerChoiceChanged, this, choiceChanged);
    connect(ai_, &AiPage::rulesChoiceChanged, this, choiceChanged);
    connect(ai_, &AiPage::customizingChanged, this, choiceChanged);
}

// Until the game is located the window says so and offers the one step that helps.
QWidget* Main::createEmptyState() {
    auto* frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("FraNoInstallation"));
    frame->setFrameShape(QFrame::StyledPanel);
    emptyState_ = frame;
    auto* layout = new QHBoxLayout(frame);
    auto* text = new QLabel(QStringLiteral("No game installation yet"), emptyState_);
    text->setObjectName(QStringLiteral("LblNoInstallation"));
    auto* add = new QPushButton(QStringLiteral("A&dd\u2026"), emptyState_);
    add->setObjectName(QStringLiteral("CmdAddInstallation"));
    add->setToolTip(QStringLiteral("Locate Korvane.exe"));
    layout->addWidget(text, 1);
    layout->addWidget(add);
    connect(add, &QPushButton::clicked, this, [this] {
        installationMenuAction(launcher_, "Add...");
        refresh();
    });
    return emptyState_;
}

QWidget* Main::createButtonRow() {
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    debugLabel_ = new QLabel(QStringLiteral("DEBUG"), row);
    debugLabel_->setObjectName(QStringLiteral("LblDebug"));
    debugLabel_->hide();
    globalConfigLabel_ = new QLabel(row);
    globalConfigLabel_->setTextFormat(Qt::PlainText); // named by a command file
    globalConfigLabel_->setObjectName(QStringLiteral("LblGlobalConfig"));
    layout->addWidget(debugLabel_);
    layout->addWidget(globalConfigLabel_, 1);
    authorLinks_ = new AuthorLinks(launcher_, row);
    layout->addWidget(authorLinks_);
    if (auto* modList = mods_->findChild<QListWidget*>(QStringLiteral("List1")))
        connect(modList, &QListWidget::currentRowChanged, authorLinks_, &AuthorLinks::refresh);

    auto* manager = new QPushButton(QStringLiteral("&Manager..."), row);
    manager->setObjectName(QStringLiteral("CmdManager"));
    manager->setToolTip(QStringLiteral("MODs and AI manager"));
    layout->addWidget(manager);
    connect(manager, &QPushButton::clicked, this, [this] {
        auto* manager = findChild<FrmMODs*>(QStringLiteral("FrmMODs"));
        if (!manager)
            manager = new FrmMODs(launcher_, this);
        manager->reload();
        manager->show();
        manager->raise();
    });
    auto* debugMonitor = new QPushButton(QStringLiteral("De&bugger..."), row);
    debugMonitor->setObjectName(QStringLiteral("CmdKVDebug"));
    layout->addWidget(debugMonitor);
    connect(debugMonitor, &QPushButton::clicked, this, [this] { openDebugMonitor(this); });
    auto* info = new QPushButton(QStringLiteral("I&nfo"), row);
    info->setObjectName(QStringLiteral("CmdInfo"));
    apply_ = new QPushButton(QStringLiteral("A&pply"), row);
    apply_->setObjectName(QStringLiteral("CmdApply"));
    apply_->setToolTip(QStringLiteral(
        "Apply changes,  NOTE: you don't have to apply changes everytime, because when you "
        "clisk 'Start KV' button, all changes are applied automatically"));
    start_ = new QPushButton(QStringLiteral("&Start KV"), row);
    start_->setObjectName(QStringLiteral("CmdStart"));
    start_->setMinimumWidth(120);
    auto* configurations = new QPushButton(QStringLiteral("&Configurations..."), row);
    configurations->setObjectName(QStringLiteral("CmdGlobalConfig"));
    auto* preview = new QPushButton(QStringLiteral("Pre&view start\u2026"), row);
    preview->setObjectName(QStringLiteral("CmdPreviewStart"));
    for (QPushButton* b : {configurations, info, apply_, preview, start_})
        layout->addWidget(b);
    connect(preview, &QPushButton::clicked, this, [this] {
        FrmStartPlan dialog(makeStartPlan(launcher_), this);
        dialog.exec();
    });
    connect(configurations, &QPushButton::clicked, this, [this] {
        FrmGlobalConfigLoad window(launcher_, this);
        window.exec();
        refresh();
    });
    connect(info, &QPushButton::clicked, this, [this] { showKeyHelp(launcher_); });
    // Apply installs as the start does; a refusal leaves it on.
    connect(apply_, &QPushButton::clicked, this, [this] {
        if (!applyChanges(launcher_))
            launcher_.content.choices.applyEnabled = true;
        refresh();
    });
    connect(start_, &QPushButton::clicked, this, [this] {
        startGame(launcher_);
        refresh();
    });
    return row;
}

void Main::PlaceControls() {
    auto* layout = new QHBoxLayout(body_);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* left = new QVBoxLayout;
    left->addWidget(misc_, 1);
    left->addWidget(about_);
    layout->addLayout(left);
    layout->addWidget(tabs_, 1);
    misc_->show();
    about_->show();
}

namespace {

// The widgets inside `area` that Tab stops at, in the window's present chain order.
QList<QWidget*> tabStopsIn(QWidget* area) {
    QList<QWidget*> stops;
    for (QWidget* w = area->nextInFocusChain(); w != area; w = w->nextInFocusChain())
        if (area->isAncestorOf(w) && (w->focusPolicy() & Qt::TabFocus))
            stops << w;
    return stops;
}

} // namespace

// Tab follows the screen: the toolbars, the link bar, the empty state, the options on the
// left, the pages, the button row. The pages were made before the rows around them.
void Main::orderTabChain() {
    QList<QWidget*> areas;
    for (QToolBar* bar : findChildren<QToolBar*>(QString(), Qt::FindDirectChildrenOnly))
        areas << bar;
    areas << mainLink_ << emptyState_ << misc_ << about_ << tabs_ << buttonRow_;
    QWidget* previous = nullptr;
    for (QWidget* area : areas) {
        QList<QWidget*> stops = tabStopsIn(area);
        // The button row was filled in another order than it was made.
        if (area == buttonRow_) {
            const auto place = [this](QWidget* w) {
                while (w->parentWidget() != buttonRow_)
                    w = w->parentWidget();
                return buttonRow_->layout()->indexOf(w);
            };
            std::stable_sort(stops.begin(), stops.end(),
                             [&place](QWidget* a, QWidget* b) { return place(a) < place(b); });
        }
        for (QWidget* stop : stops) {
            if (previous)
                setTabOrder(previous, stop);
            previous = stop;
        }
    }
}

void Main::colourLabel(QWidget* widget, unsigned background, unsigned text) {
    widget->setStyleSheet(QStringLiteral("background-color: %1; color: %2;")
                              .arg(cssColour(background), cssColour(text)));
}

void Main::refresh() {
    emptyState_->setVisible(!hasGameInstallation(launcher_));
    misc_->refresh();
    mods_->reload();
    ai_->reload();
    ai_->showLocks(launcher_.automation.aiLocked, launcher_.automation.rulesLocked);
    globalConfigLabel_->setVisible(launcher_.automation.labelVisible);
    globalConfigLabel_->setText(toQt(launcher_.automation.label));
    hostJoin_->refresh();
    // Apply is off while an install runs and after the 1.10 set-up.
    apply_->setEnabled(launcher_.content.choices.applyEnabled && !launcher_.content.installing);
    optionsToolbar_->refresh();
    installationToolbar_->refresh();
    tools_->refresh();
    authorLinks_->refresh();
    const MainLinkSettings& link = launcher_.mainLink;
    mainLink_->refresh(launcher_.options.compact());
    colourLabel(debugLabel_, link.background, link.textColor);
    colourLabel(globalConfigLabel_, link.background, link.textColor);
    colourLabel(start_, link.startButtonBack, link.startButtonText);
}

void Main::resizeForm(bool compact) {
    // The full size the user had comes back when the window grows again.
    if (compact && !tabs_->isHidden() && isVisible())
        fullSize_ = size();
    tabs_->setVisible(!compact);
    misc_->refresh();
    mainLink_->refresh(compact);
    // Hiding the tabs only posts a layout request; settle the layouts now, so that the
    // size hints and the window's minimum size already describe the new content.
    for (QWidget* w : {body_, centralWidget(), static_cast<QWidget*>(this)}) {
        if (w && w->layout()) {
            w->layout()->invalidate();
            w->layout()->activate();
        }
    }
    // A maximised window keeps the screen; the size it had before comes back with it.
    if (isMaximized() || (windowState() & Qt::WindowMaximized))
        return;
    const QSize wanted =
        compact || !fullSize_.isValid() ? sizeHint() : fullSize_.expandedTo(minimumSizeHint());
    resize(withinScreen(*this, wanted));
}

void Main::fixToolbarSize() {
    for (QToolBar* bar : findChildren<QToolBar*>())
        bar->adjustSize();
}

void Main::showDebugLabel() {
    debugLabel_->show();
}

void Main::minimise() {
    showMinimized();
}

void Main::restoreNormal() {
    showNormal();
}

void Main::bringToFront() {
    raise();
    activateWindow();
}

void Main::setOnTop(bool onTop) {
    tools_->refresh();
    // On the native window, not the widget: the widget's flag would hide and show the
    // window again; the window's flag only changes its stacking, as SetWindowPos does.
    if (QWindow* native = windowHandle())
        native->setFlag(Qt::WindowStaysOnTopHint, onTop);
    else
        setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
}

void Main::startUpdateTimer() {
    if (updates_)
        updates_->startupTimer()->start();
}

void Main::checkForUpdates() {
    if (updates_)
        updates_->check(false);
}

void Main::cancelUpdateCheck() {
    if (updates_)
        updates_->session().cancel();
}

void Main::stopInternetTransfers() {
    if (updates_)
        updates_->stopTransfers();
}

void Main::startLinkAnimation() {
    mainLink_->startAnimation();
}

void Main::changeEvent(QEvent* event) {
    if (event->type() == QEvent::WindowStateChange) {
        if (isMinimized())
            launcher_.wasMinimised = true;
        else if (refreshOnRestore(launcher_))
            refresh();
    }
    QMainWindow::changeEvent(event);
}

void Main::closeEvent(QCloseEvent* event) {
    if (!closed_) {
        closed_ = true;
        savePlacement(*this);
        closeMainWindow(launcher_); // renames the MODs' archives on its way
    }
    event->accept();
}

void Main::endAtOnce() {
    closed_ = true;
    content::RenameKDGs(launcher_.content, kv::contentEnv(launcher_));
    hide();
    if (endProcess_)
        endProcess_();
    else
        QCoreApplication::exit(0);
}

bool Main::eventFilter(QObject* watched, QEvent* event) {
    if (watched == misc_->resolution() && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_F2) {
        if (launcher_.ui().message("Delete configuration file?", Icon::Exclamation,
                                   Buttons::OkCancel) == Answer::Ok)
            deleteConfigINI(launcher_);
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace kv::ui
