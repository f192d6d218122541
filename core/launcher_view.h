#pragma once
// What the launcher's operations ask of the main window. The window implements it; a
// Launcher without a window (tests, tools) uses the silent default.
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
};

} // namespace kv
