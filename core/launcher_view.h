#pragma once
// What the launcher's operations ask of the main window: to show the state again, and the
// few steps that live in the window's event loop (the update check, the link animation).
// The window implements it; a Launcher without a window (tests, tools) uses the silent
// default, which does nothing.
namespace kv {

class LauncherView {
public:
    virtual ~LauncherView() = default;
    // The launcher state changed: show it again.
    virtual void refresh() {}
    // Full or compact layout (`ResizeForm`).
    virtual void resizeForm(bool /*compact*/) {}
    // Fit the toolbars to their captions (`FixToolbarSize`).
    virtual void fixToolbarSize() {}
    virtual void showDebugLabel() {}
    virtual void minimise() {}
    // Back to normal size after a game; then raised above the other windows.
    virtual void restoreNormal() {}
    virtual void bringToFront() {}
    // Topmost or not, without moving or sizing; the Tools menu shows the setting.
    virtual void setOnTop(bool /*onTop*/) {}

    // The update check, which runs in the window's event loop. The start-up timer fires
    // once, 4000 ms after start-up.
    virtual void startUpdateTimer() {}
    // Whether this window can check for updates at all (the Tools menu's entry).
    virtual bool canCheckForUpdates() const { return false; }
    virtual void checkForUpdates() {}
    virtual void cancelUpdateCheck() {}
    // The launcher is closing: every download and install ends at once.
    virtual void stopInternetTransfers() {}
    virtual void startLinkAnimation() {}
};

} // namespace kv
