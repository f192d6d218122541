#pragma once
// Top-level window services: find a window by its exact title, its owning process, and
// always-on-top. X11 on POSIX, the Win32 window functions on Windows.
#include <cstdint>
#include <string>
#include <string_view>

namespace kv::platform {

// A top-level window; values below 1 mean "no window", as the game lookup expects.
using WindowHandle = std::int64_t;

struct WindowSearch {
    WindowHandle handle = 0;  // >= 1 when found
    bool windowSystem = true; // false: no display to search ("no window system")
    long processId = 0;       // the found window's owner, 0 when unknown
};

// Every top-level window is searched; the title must match exactly (WM_NAME or
// _NET_WM_NAME on X11). The owner of a found window is looked up in the same pass: on
// X11 that saves a second connection to the display.
WindowSearch findWindowByTitle(std::string_view title);

// The process that owns the window, 0 when unknown.
long windowProcessId(WindowHandle window);

// Makes the window topmost or not, without moving or sizing it.
bool setWindowAlwaysOnTop(WindowHandle window, bool onTop);

} // namespace kv::platform
