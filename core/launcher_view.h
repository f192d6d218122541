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
};

} // namespace kv
