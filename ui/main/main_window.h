#pragma once
// `Main`, the launcher's main window: a view of the Launcher's state. The pages,
// toolbars and menus are their own widgets; this class places them and keeps them in
// step with the state.
#include "core/launcher_view.h"

#include <QMainWindow>

#include <functional>

class QCheckBox;
class QLabel;
class QPushButton;
class QTabWidget;

namespace kv {
class Launcher;
}

namespace kv::ui {

class AboutPage;
class AiPage;
class AuthorLinks;
class HostJoinPage;
class InstallationToolbar;
class MainLinkBar;
class MiscPage;
class ModsPage;
class NewKdgPage;
class OptionsToolbarWidget;
class ToolsButton;
class UpdateController;
class ToolWindowPlacement;

class Main : public QMainWindow, public LauncherView {
    Q_OBJECT
public:
    explicit Main(Launcher& launcher, QWidget* parent = nullptr);
    ~Main() override;

    // LauncherView
    void refresh() override;
    void resizeForm(bool compact) override;
    void fixToolbarSize() override;
    void showDebugLabel() override;
    void minimise() override;
    void restoreNormal() override;
    void bringToFront() override;
    void setOnTop(bool onTop) override;
    void startUpdateTimer() override;
    bool canCheckForUpdates() const override { return updates_ != nullptr; }
    void checkForUpdates() override;
    void cancelUpdateCheck() override;
    void stopInternetTransfers() override;
    void startLinkAnimation() override;

    // The update check this window runs; without one the Tools menu cannot check.
    void setUpdates(UpdateController* updates) { updates_ = updates; }

    QTabWidget* tabs() const { return tabs_; }
    // What ends the process when a Tools restart must end it at once (tests record it).
    void setEndProcess(std::function<void()> end) { endProcess_ = std::move(end); }
    MiscPage* miscPage() const { return misc_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // The Tools restart that saves nothing: the process ends without the closing sequence.
    void endAtOnce();
    void createPages();
    void createToolbars();
    QWidget* createEmptyState();
    QWidget* createButtonRow();
    void PlaceControls();
    void orderTabChain();
    void colourLabel(QWidget* widget, unsigned background, unsigned text);

    Launcher& launcher_;
    UpdateController* updates_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    MiscPage* misc_ = nullptr;
    ModsPage* mods_ = nullptr;
    AiPage* ai_ = nullptr;
    NewKdgPage* newKdg_ = nullptr;
    HostJoinPage* hostJoin_ = nullptr;
    AboutPage* about_ = nullptr;
    OptionsToolbarWidget* optionsToolbar_ = nullptr;
    InstallationToolbar* installationToolbar_ = nullptr;
    ToolsButton* tools_ = nullptr;
    MainLinkBar* mainLink_ = nullptr;
    AuthorLinks* authorLinks_ = nullptr;
    QLabel* debugLabel_ = nullptr;
    QLabel* globalConfigLabel_ = nullptr;
    QPushButton* apply_ = nullptr;
    QPushButton* start_ = nullptr;
    QWidget* body_ = nullptr;
    QWidget* emptyState_ = nullptr;
    QWidget* buttonRow_ = nullptr;
    ToolWindowPlacement* toolWindows_ = nullptr;
    bool closed_ = false;
    std::function<void()> endProcess_;
    QSize fullSize_; // the size before the window was made compact
};

} // namespace kv::ui
