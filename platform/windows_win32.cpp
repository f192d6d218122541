#include "platform/windows.h"

#include <windows.h>

namespace kv::platform {

namespace {

HWND toHwnd(WindowHandle window) {
    return reinterpret_cast<HWND>(static_cast<INT_PTR>(window));
}

} // namespace

WindowSearch findWindowByTitle(std::string_view title) {
    const std::string text(title);
    WindowSearch result;
    result.handle = WindowHandle(reinterpret_cast<INT_PTR>(::FindWindowA(nullptr, text.c_str())));
    return result;
}

long windowProcessId(WindowHandle window) {
    if (window < 1)
        return 0;
    DWORD pid = 0;
    ::GetWindowThreadProcessId(toHwnd(window), &pid);
    return long(pid);
}

bool setWindowAlwaysOnTop(WindowHandle window, bool onTop) {
    if (window < 1)
        return false;
    return ::SetWindowPos(toHwnd(window), onTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                          SWP_NOMOVE | SWP_NOSIZE) != FALSE;
}

} // namespace kv::platform
