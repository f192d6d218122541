// The window, process-memory and start twins against the Windows stand-in game, a real
// second Win32 process under the same Wine.
#include "platform/process_memory.h"
#include "platform/shell.h"
#include "platform/windows.h"
#include "tests/win32/win32_test_folder.h"
#include "tools/standin-game/memory_table.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace kv::platform {
namespace {

using namespace kv::standin;
constexpr const char* kTitle = "Korvane Tactics";

bool topmost(WindowHandle window) {
    return (::GetWindowLongA(reinterpret_cast<HWND>(window), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

// One run of the game: started with its arguments, its window found by exact title, its
// figures read and its debug flag written at the fixed addresses, and its end when asked.
TEST(Win32Game, WindowMemoryArgumentsAndClose) {
    EXPECT_LT(findWindowByTitle(kTitle).handle, 1);
    test::Win32TestFolder tmp;
    ::SetEnvironmentVariableA("KV_STANDIN_REPORT", (tmp / "args.txt").c_str());
    // korvane.exe from beside this program. Under a loaded Wine a start right after the
    // previous game ended can fail at once; it is tried again for a few seconds.
    char self[MAX_PATH];
    const std::string exe(self, ::GetModuleFileNameA(nullptr, self, MAX_PATH));
    StartResult started;
    for (int attempt = 0; attempt < 10 && !started.ok; ++attempt, ::Sleep(500))
        started = startProgram(exe.substr(0, exe.find_last_of('\\') + 1) + "KORVANE.EXE",
                               "-name \"Player One\" -debug", tmp.path());
    ::SetEnvironmentVariableA("KV_STANDIN_REPORT", nullptr);
    ASSERT_TRUE(started.ok) << started.error;
    const long pid = started.processId;
    const HANDLE game =
        ::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, DWORD(pid));
    WindowHandle window = 0;
    for (int waited = 0; waited < 15000 && window < 1; waited += 50, ::Sleep(50))
        window = findWindowByTitle(kTitle).handle;
    ASSERT_GT(window, 0);
    const WindowSearch found = findWindowByTitle(kTitle);
    EXPECT_TRUE(found.windowSystem && found.processId == pid);
    EXPECT_TRUE(windowProcessId(window) == pid && windowProcessId(0) == 0);
    for (const char* other : {"korvane tactics", "Korvane Tactics ", "Korvane", ""})
        EXPECT_LT(findWindowByTitle(other).handle, 1) << '"' << other << '"';
    ASSERT_TRUE(setWindowAlwaysOnTop(window, true));
    EXPECT_TRUE(topmost(window));
    ASSERT_TRUE(setWindowAlwaysOnTop(window, false));
    EXPECT_FALSE(topmost(window) || setWindowAlwaysOnTop(0, true));

    // The colours are the players' numbers, a byte each; narrow reads take the low bytes.
    EXPECT_EQ(readMemory4(pid, colourAddress(0)), 0x03020100u);
    EXPECT_EQ(readMemory2(pid, colourAddress(4)), 4 | (5 << 8));
    EXPECT_EQ(readMemory1(pid, colourAddress(7)), 7);
    for (int i = 0; i < kPlayers; ++i) // 10 + i, and up to 4 more as the game goes on
        EXPECT_LE(readMemory4(pid, unitsAddress(i)) - 10 - unsigned(i), 4u) << i;
    EXPECT_TRUE(readMemory2(pid, kDebugFlagAddress) == 0 &&
                writeMemory2(pid, kDebugFlagAddress, 1) &&
                readMemory2(pid, kDebugFlagAddress) == 1);

    // Failures read as 0: a null address, one outside user space (under Wine every address
    // inside is backed by the Linux process), a process that does not exist.
    constexpr std::uint64_t kOutside = 0x8000000000000000;
    EXPECT_EQ(readMemory4(pid, 0) + readMemory4(pid, kOutside) + readMemory4(0, trucksAddress(0)),
              0u);
    EXPECT_FALSE(writeMemory2(pid, 0, 5) || writeMemory1(pid, kOutside, 5) ||
                 writeMemory1(-1, trucksAddress(0), 1));

    ::PostMessageA(reinterpret_cast<HWND>(window), WM_CLOSE, 0, 0);
    DWORD code = 1;
    EXPECT_EQ(::WaitForSingleObject(game, 10000), WAIT_OBJECT_0);
    EXPECT_TRUE(::GetExitCodeProcess(game, &code) && code == 0);
    ::CloseHandle(game);
    EXPECT_LT(findWindowByTitle(kTitle).handle, 1); // gone with its process
    EXPECT_EQ(readMemory4(pid, trucksAddress(0)), 0u);
    EXPECT_EQ(tmp.read("args.txt"), "-name\nPlayer One\n-debug\n");
}

} // namespace
} // namespace kv::platform
