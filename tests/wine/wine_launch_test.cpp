// A Linux player's road to a Windows game in a Wine prefix of its own, as Lutris keeps it:
// found there, started through Wine in that prefix with its registry values, its memory
// read and written, and the launcher back when the game has quit.
#include "core/game_launch.h"
#include "debugmon/debug_monitor.h"
#include "launcher/game_start.h"
#include "launcher/installation_actions.h"
#include "launcher/launcher.h"
#include "platform/files.h"
#include "platform/process_memory.h"
#include "platform/registry.h"
#include "platform/text.h"
#include "platform/windows.h"
#include "tests/launch/launch_events.h"
#include "tests/support/scripted_ui.h"
#include "tests/support/temp_folder.h"
#include "tests/wine/wine_prefix.h"
#include "tools/standin-game/memory_table.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

#include <cstdlib>

namespace kv::test {

using Texts = std::vector<std::string>;

TEST(WineLaunch, TheLauncherStartsTheWindowsGameInItsOwnPrefixAndReadsItsMemory) {
    if (!wineInstalled() || !std::getenv("DISPLAY") || !platform::fileExists(KV_STANDIN_WIN32))
        GTEST_SKIP() << "needs Wine, an X display and the Windows stand-in game (MinGW-w64)";
    ASSERT_LT(platform::findWindowByTitle(kGameWindowTitle).handle, 1)
        << "another game window is open";
    TempFolder tmp;
    const std::string home = tmp / "home";
    const std::string realHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    ::setenv("HOME", home.c_str(), 1);
    WinePrefix prefix(KV_WINE_PREFIX_SCRIPT, KV_WINE_TEMPLATE, home + "/Games/korvane");
    ASSERT_TRUE(prefix.ready()) << prefix.error();

    int argc = 1;
    char program[] = "wine_launch_tests", *argv[] = {program, nullptr};
    QCoreApplication application(argc, argv);
    const std::string startFolder = platform::currentDirectory();
    tmp.write("kvs/Mods/.keep", "");
    const std::string game = home + "/Games/korvane/drive_c/KV/game/";
    tmp.write("home/Games/korvane/drive_c/KV/game/multiplay/skirmish/player0.slo",
              "// Player 0\r\n");
    tmp.write("home/Games/korvane/drive_c/KV/game/Classic.kdg", "");
    ASSERT_TRUE(platform::copyFile(KV_STANDIN_WIN32, game + "korvane.exe"));
    auto registry = platform::makeRegistryBackend(tmp / "registry.reg");
    ScriptedUi ui;
    WindowStateLog view;
    Launcher l(tmp / "kvs/", ui, *registry, [](const std::string&) { return true; });
    l.setView(&view);
    l.launch.closeWatch.setInterval(800);
    l.launch.registryStore = tmp / "registry.reg";
    ui.answerChoice(0); // the game found in its prefix
    ASSERT_EQ(SetKVPath(l), game);
    l.installations.AddKVPath(game);
    OptionSet& o = l.options;
    o.resolution = 3;
    o.button(OptionButton::Alliances).caption = "Alliances on";
    o.button(OptionButton::Bases).caption = "Adv. bases";
    o.button(OptionButton::Debug).caption = "Debug on";
    o.scrollSpeed = 5;
    o.phrases[0] = "gg \"wp\"";
    o.phrases[2] = "Caf\xE9 C:\\x";

    const std::pair<const char*, std::string> report[] = {
        {"KV_STANDIN_REPORT", tmp / "argv.txt"},
        {"KV_STANDIN_WORLD_REPORT", tmp / "registry.txt"},
        {"KV_STANDIN_QUIT_AFTER_MS", "6000"}};
    for (const auto& [name, value] : report)
        ::setenv(name, value.c_str(), 1);
    const bool started = startGame(l);
    for (const auto& [name, value] : report)
        ::unsetenv(name);
    ASSERT_TRUE(started && l.launch.started) << l.launch.startError;
    EXPECT_TRUE(l.wasMinimised);

    // Wine takes a while to show the window; the close watch must not tick before.
    ASSERT_TRUE(
        waitFor([] { return platform::findWindowByTitle(kGameWindowTitle).handle >= 1; }, 60000))
        << "the Windows stand-in showed no window";
    const platform::WindowHandle window = platform::findWindowByTitle(kGameWindowTitle).handle;
    // Wine's windows carry _NET_WM_PID: the Linux process that holds the game's memory.
    const long pid = platform::windowProcessId(window);
    ASSERT_GT(pid, 0);

    Texts lines;
    ASSERT_TRUE(platform::readTextLines(tmp / "argv.txt", lines));
    EXPECT_EQ(lines, (Texts{"-3DFX", "-1024", "-ovyrdelmkasitroquenbafp"}));
    ASSERT_TRUE(platform::readTextLines(tmp / "registry.txt", lines));
    EXPECT_EQ(lines, (Texts{"alliance = 1", "phrase0 = \"gg \"wp\"\"", "phrase1 = \"\"",
                            "phrase2 = \"Caf\xE9 C:\\x\"", "phrase3 = \"\"", "phrase4 = \"\"",
                            "phrase5 = \"\"", "scroll = 2000", "base = 2"}));

    // The debug monitor on the game under Wine: found and switched, in the game's memory.
    debugmon::PlatformGameAccess access;
    debugmon::DebugMonitor monitor(access);
    ASSERT_TRUE(monitor.search() && monitor.enableDebug());
    EXPECT_EQ(monitor.processId(), pid);
    EXPECT_EQ(platform::readMemory2(pid, standin::kDebugFlagAddress), 1);

    // The game quits by itself; the watch sees its window gone and restores the launcher.
    ASSERT_TRUE(pumpUntil([&] { return !l.wasMinimised; }, 30000));
    EXPECT_TRUE(ui.messages().empty());

    // The values are in the game's prefix (HKEY_LOCAL_MACHINE: its system.reg), and Wine
    // never made a prefix of its own in the home folder.
    ASSERT_EQ(std::system(("WINEPREFIX='" + prefix.path() + "' wineserver -w").c_str()), 0);
    std::string systemReg;
    ASSERT_TRUE(platform::readFile(prefix.path() + "/system.reg", systemReg));
    EXPECT_NE(systemReg.find("[Software\\\\Bramble Studios\\\\KorvaneTactics]"), std::string::npos);
    EXPECT_NE(systemReg.find("\"scroll\"=dword:000007d0"), std::string::npos);
    EXPECT_FALSE(platform::pathExists(home + "/.wine"));
    (void)platform::setCurrentDirectory(startFolder);
    ::setenv("HOME", realHome.c_str(), 1);
}

} // namespace kv::test
