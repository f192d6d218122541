#include "platform/windows.h"

#include <windows.h>

#include <string>

namespace kv::platform {

namespace {

HWND toHwnd(WindowHandle window) {
    return reinterpret_cast<HWND>(static_cast<INT_PTR>(window));
}

struct TitleMatch {
    std::string_view title;
    HWND found = nullptr;
};

// FindWindowA compares titles without regard to case and takes "" for any untitled
// window; the game's title must match exactly, so every top-level window is compared.
BOOL CALLBACK matchTitle(HWND window, LPARAM param) {
    auto* match = reinterpret_cast<TitleMatch*>(param);
    const int length = ::GetWindowTextLengthA(window);
    if (length != int(match->title.size()))
        return TRUE;
    std::string text(std::size_t(length) + 1, '\0');
    text.resize(std::size_t(::GetWindowTextA(window, text.data(), length + 1)));
    if (text != match->title)
        return TRUE;
    match->found = window;
    return FALSE;
}

} // namespace

WindowSearch findWindowByTitle(std::string_view title) {
    WindowSearch result;
    if (title.empty())
        return result;
    TitleMatch match{title};
    ::EnumWindows(matchTitle, reinterpret_cast<LPARAM>(&match));
    result.handle = WindowHandle(reinterpret_cast<INT_PTR>(match.found));
    result.processId = windowProcessId(result.handle);
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
