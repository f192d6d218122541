#include "tools/standin-game/win32/win32_game_window.h"

#include <cstdio>

namespace kv::standin {

namespace {

constexpr UINT_PTR kTickTimer = 1;
constexpr UINT_PTR kQuitTimer = 2;
// Child control ids; the debug label is looked up by other processes (tests).
constexpr int kGameText = 100;
constexpr int kFiguresText = 101;
constexpr int kDebugText = 102;

struct WindowState {
    Win32MemoryTable* memory = nullptr;
    unsigned second = 0;
};

std::string joined(const std::vector<std::string>& lines, const std::string& none) {
    if (lines.empty())
        return "  " + none + "\r\n";
    std::string out;
    for (const auto& line : lines)
        out += "  " + line + "\r\n";
    return out;
}

std::string describeGame(const Win32GameSetup& setup) {
    std::vector<std::string> shown;
    for (size_t i = 0; i < setup.arguments.size(); ++i)
        shown.push_back(std::to_string(i + 1) + ": [" + setup.arguments[i] + "]");
    std::string text = "Command line (" + std::to_string(setup.arguments.size()) +
                       " arguments)\r\n" + joined(shown, "(none)");
    text += "Registry\r\n" + joined(setup.world.registry, "(none)");
    text += "multiplay/skirmish\r\n" + joined(setup.world.scripts, "(no scripts)");
    text += "Active archives\r\n" + joined(setup.world.archives, "(no .kdg archives)");
    text += setup.memoryError.empty() ? "Figures mapped at the game's fixed addresses"
                                      : "Figures not mapped: " + setup.memoryError;
    return text;
}

std::string describeFigures(const Win32MemoryTable& memory) {
    std::string text = "Player  Colour  Power  Trucks  Units  Derricks\r\n";
    for (int i = 0; i < kPlayers; ++i) {
        const PlayerFigures f = memory.player(i);
        char line[96];
        std::snprintf(line, sizeof line, "%d       %u       %u   %u       %u     %u\r\n", i,
                      unsigned(f.colour), unsigned(f.power), unsigned(f.trucks), unsigned(f.units),
                      unsigned(f.derricks));
        text += line;
    }
    return text;
}

void refresh(HWND window, const WindowState& state) {
    ::SetDlgItemTextA(window, kFiguresText, describeFigures(*state.memory).c_str());
    ::SetDlgItemTextA(window, kDebugText,
                      state.memory->debugFlag() ? "Debug mode on" : "Debug mode off");
}

HWND addText(HWND parent, int id, const std::string& text, int y, int height) {
    return ::CreateWindowExA(0, "STATIC", text.c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT, 10, y, 780,
                             height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                             ::GetModuleHandleA(nullptr), nullptr);
}

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* state = reinterpret_cast<WindowState*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
    switch (message) {
    case WM_TIMER:
        if (wParam == kQuitTimer) {
            ::DestroyWindow(window);
        } else if (state) {
            state->memory->tick(++state->second);
            refresh(window, *state);
        }
        return 0;
    case WM_CLOSE:
        ::DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

int runGameWindow(const Win32GameSetup& setup, Win32MemoryTable& memory) {
    const HINSTANCE instance = ::GetModuleHandleA(nullptr);
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = "KorvaneStandIn";
    if (!::RegisterClassA(&windowClass))
        return 1;
    HWND window = ::CreateWindowExA(0, windowClass.lpszClassName, "Korvane Tactics",
                                    WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 820, 700,
                                    nullptr, nullptr, instance, nullptr);
    if (!window)
        return 1;
    WindowState state{&memory, 0};
    ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&state));
    addText(window, kGameText, describeGame(setup), 10, 420);
    addText(window, kFiguresText, "", 440, 180);
    addText(window, kDebugText, "", 630, 20);
    refresh(window, state);
    ::ShowWindow(window, SW_SHOWNORMAL);
    ::UpdateWindow(window);
    ::SetTimer(window, kTickTimer, 1000, nullptr);
    if (setup.quitAfterMs > 0)
        ::SetTimer(window, kQuitTimer, setup.quitAfterMs, nullptr);

    MSG message;
    while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
    return 0;
}

} // namespace kv::standin
