// The window and process-memory twins against the Windows stand-in game, a real second
// Win32 process under the same Wine.
#include "platform/process_memory.h"
#include "platform/windows.h"
#include "tests/win32/win32_test_folder.h"
#include "tools/standin-game/memory_table.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <optional>

namespace kv::platform {
namespace {

using namespace kv::standin;
constexpr const char* kTitle = "Korvane Tactics";

// korvane.exe from beside the test program, closed (or killed) when the object goes.
class StandInGame {
public:
    explicit StandInGame(const std::string& parameters = {}) {
        const std::string exe = test::testProgramFolder() + "korvane.exe";
        std::string commandLine = "\"" + exe + "\" " + parameters;
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        // Under a loaded Wine a start right after the previous game ended can fail at once;
        // the start is tried again for a few seconds, as a player would.
        for (int attempt = 0; attempt < 10; ++attempt) {
            if (::CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                                 nullptr, nullptr, &startup, &info_)) {
                ::CloseHandle(info_.hThread);
                break;
            }
            ::Sleep(500);
        }
    }
    ~StandInGame() {
        if (!info_.hProcess)
            return;
        const WindowHandle window = findWindowByTitle(kTitle).handle;
        if (window > 0)
            ::PostMessageA(reinterpret_cast<HWND>(window), WM_CLOSE, 0, 0);
        if (::WaitForSingleObject(info_.hProcess, 5000) != WAIT_OBJECT_0)
            ::TerminateProcess(info_.hProcess, 1);
        ::CloseHandle(info_.hProcess);
    }
    StandInGame(const StandInGame&) = delete;
    StandInGame& operator=(const StandInGame&) = delete;

    bool started() const { return info_.hProcess != nullptr; }
    long pid() const { return long(info_.dwProcessId); }
    // The exit code once the game ended within the time, nothing otherwise.
    std::optional<DWORD> waitForExit(DWORD ms) const {
        DWORD code = 0;
        if (::WaitForSingleObject(info_.hProcess, ms) != WAIT_OBJECT_0 ||
            !::GetExitCodeProcess(info_.hProcess, &code))
            return std::nullopt;
        return code;
    }

private:
    PROCESS_INFORMATION info_{};
};

WindowHandle waitForWindow(DWORD ms = 15000) {
    for (DWORD waited = 0; waited < ms; waited += 50) {
        if (const WindowHandle w = findWindowByTitle(kTitle).handle; w > 0)
            return w;
        ::Sleep(50);
    }
    return 0;
}

std::string debugLabel(WindowHandle window) {
    char text[64] = {};
    ::GetWindowTextA(::GetDlgItem(reinterpret_cast<HWND>(window), 102), text, sizeof text);
    return text;
}

bool topmost(WindowHandle window) {
    return (::GetWindowLongA(reinterpret_cast<HWND>(window), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

// The second of play all 40 figures belong to, if they are one consistent table.
std::optional<unsigned> tableSecond(long pid) {
    for (unsigned second = 0; second < 600; ++second) {
        bool all = true;
        for (int i = 0; i < kPlayers && all; ++i) {
            const PlayerFigures want = figuresAt(i, second);
            all = readMemory4(pid, powerAddress(i)) == want.power &&
                  readMemory1(pid, colourAddress(i)) == want.colour &&
                  readMemory4(pid, trucksAddress(i)) == want.trucks &&
                  readMemory4(pid, unitsAddress(i)) == want.units &&
                  readMemory1(pid, derricksAddress(i)) == want.derricks;
        }
        if (all)
            return second;
    }
    return std::nullopt;
}

TEST(Win32Game, TheWindowIsFoundByExactTitleWithItsProcess) {
    EXPECT_LT(findWindowByTitle(kTitle).handle, 1);
    StandInGame game;
    ASSERT_TRUE(game.started());
    const WindowHandle window = waitForWindow();
    ASSERT_GT(window, 0);
    EXPECT_TRUE(findWindowByTitle(kTitle).windowSystem);
    EXPECT_EQ(windowProcessId(window), game.pid());
    EXPECT_EQ(findWindowByTitle(kTitle).processId, game.pid());
    for (const char* other : {"korvane tactics", "Korvane Tactics ", "Korvane", ""})
        EXPECT_LT(findWindowByTitle(other).handle, 1) << '"' << other << '"';
    EXPECT_EQ(windowProcessId(0), 0);

    ASSERT_TRUE(setWindowAlwaysOnTop(window, true));
    EXPECT_TRUE(topmost(window));
    ASSERT_TRUE(setWindowAlwaysOnTop(window, false));
    EXPECT_FALSE(topmost(window));
    EXPECT_FALSE(setWindowAlwaysOnTop(0, true));

    ::PostMessageA(reinterpret_cast<HWND>(window), WM_CLOSE, 0, 0);
    EXPECT_EQ(game.waitForExit(10000), DWORD(0));
    EXPECT_LT(findWindowByTitle(kTitle).handle, 1); // gone with its process
}

TEST(Win32Game, FiguresAreReadAndTheFlagWrittenAtTheFixedAddresses) {
    StandInGame game;
    ASSERT_TRUE(game.started());
    const WindowHandle window = waitForWindow();
    ASSERT_GT(window, 0);
    const long pid = windowProcessId(window);
    ASSERT_EQ(pid, game.pid());

    // A tick may land between two reads; one of three tries sees a whole table.
    std::optional<unsigned> second;
    for (int attempt = 0; attempt < 3 && !second; ++attempt)
        second = tableSecond(pid);
    EXPECT_TRUE(second.has_value()) << "the figures are not the stand-in's table";
    // Narrow reads take the low bytes of the little-endian values.
    EXPECT_EQ(readMemory2(pid, colourAddress(4)), 4 | (5 << 8));

    EXPECT_EQ(readMemory2(pid, kDebugFlagAddress), 0);
    EXPECT_EQ(debugLabel(window), "Debug mode off");
    ASSERT_TRUE(writeMemory2(pid, kDebugFlagAddress, 1));
    EXPECT_EQ(readMemory2(pid, kDebugFlagAddress), 1);
    std::string label;
    for (int waited = 0; waited < 3000 && label != "Debug mode on"; waited += 100) {
        ::Sleep(100);
        label = debugLabel(window);
    }
    EXPECT_EQ(label, "Debug mode on"); // the game saw it at its next tick

    // Failures read as 0 and write nothing: a null address, unmapped memory, a range
    // running off the end of an allocation, a process that does not exist.
    EXPECT_EQ(readMemory4(pid, 0), 0u);
    EXPECT_FALSE(writeMemory2(pid, 0, 5));
    // Under Wine every address of the process is backed by the Linux process, free
    // regions included, so only an address outside user space shows a failed transfer.
    constexpr std::uint64_t kOutside = 0x8000000000000000;
    EXPECT_EQ(readMemory4(pid, kOutside), 0u);
    EXPECT_FALSE(writeMemory1(pid, kOutside, 5));
    EXPECT_EQ(readMemory4(0, trucksAddress(0)), 0u);
    EXPECT_FALSE(writeMemory1(-1, trucksAddress(0), 1));
    ::PostMessageA(reinterpret_cast<HWND>(window), WM_CLOSE, 0, 0);
    ASSERT_TRUE(game.waitForExit(10000).has_value());
    EXPECT_EQ(readMemory4(pid, trucksAddress(0)), 0u);
}

TEST(Win32Game, TheGameReportsItsArgumentsAndQuitsWhenAsked) {
    test::Win32TestFolder tmp;
    ::SetEnvironmentVariableA("KV_STANDIN_REPORT", (tmp / "args.txt").c_str());
    ::SetEnvironmentVariableA("KV_STANDIN_QUIT_AFTER_MS", "1500");
    StandInGame game("-name \"Player One\" -debug");
    ::SetEnvironmentVariableA("KV_STANDIN_REPORT", nullptr);
    ::SetEnvironmentVariableA("KV_STANDIN_QUIT_AFTER_MS", nullptr);
    ASSERT_TRUE(game.started());
    EXPECT_GT(waitForWindow(), 0);
    EXPECT_EQ(game.waitForExit(15000), DWORD(0));
    EXPECT_EQ(tmp.read("args.txt"), "-name\nPlayer One\n-debug\n");
}

} // namespace
} // namespace kv::platform
