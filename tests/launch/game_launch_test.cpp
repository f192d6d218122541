// The start button's whole road with real processes and real windows: the stand-in game
// is started, its own report of its arguments is read, its window is watched, and the
// launcher comes back when the window has gone.
#include "launcher/game_start.h"
#include "launcher/launch_buttons.h"
#include "launcher/launcher.h"
#include "launcher/lobby_wiring.h"
#include "lobby/lobby.h"
#include "platform/files.h"
#include "platform/registry.h"
#include "platform/text.h"
#include "platform/windows.h"
#include "tests/launch/launch_events.h"
#include "tests/support/scripted_ui.h"
#include "tests/support/temp_folder.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <sys/stat.h>

namespace kv::test {

namespace {

using Clock = std::chrono::steady_clock;
using Texts = std::vector<std::string>;
constexpr int kTickMs = 800;

QCoreApplication& application() {
    static int argc = 1;
    static char name[] = "launch_tests";
    static char* argv[] = {name, nullptr};
    static auto* app = new QCoreApplication(argc, argv);
    return *app;
}

bool gameWindowShown() {
    return platform::findWindowByTitle(kGameWindowTitle).handle >= 1;
}

long msSince(Clock::time_point t) {
    return long(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - t).count());
}

// A launcher on a temporary folder whose one installation is tmp/game/.
struct LaunchWorld {
    LaunchWorld() {
        application();
        tmp.write("kvs/Mods/.keep", "");
        tmp.write("game/multiplay/skirmish/.keep", "");
        registry = platform::makeRegistryBackend(tmp / "registry.reg");
        launcher = std::make_unique<Launcher>(tmp / "kvs/", ui, *registry,
                                              [](const std::string&) { return true; });
        launcher->setView(&view);
        launcher->launch.closeWatch.setInterval(kTickMs);
        launcher->launch.registryStore = tmp / "registry.reg";
        launcher->installations.AddKVPath(gameFolder());
        launcher->options.button(OptionButton::Debug).caption = "Debug off";
    }
    ~LaunchWorld() {
        launcher->launch.closeWatch.stop();
        (void)platform::setCurrentDirectory(startFolder);
    }
    std::string gameFolder() const { return tmp / "game/"; }
    void writeGame(const std::string& text, mode_t mode) const {
        const std::string exe = tmp.write("game/korvane.exe", text);
        ::chmod(exe.c_str(), mode);
    }
    bool restored() const { return !launcher->wasMinimised; }

    std::string startFolder = platform::currentDirectory();
    TempFolder tmp;
    ScriptedUi ui;
    WindowStateLog view;
    std::unique_ptr<platform::RegistryBackend> registry;
    std::unique_ptr<Launcher> launcher;
};

} // namespace

TEST(GameLaunch, StandInGetsTheCommandLineAndTheLauncherReturnsWhenItsWindowHasGone) {
    if (!std::getenv("DISPLAY"))
        GTEST_SKIP() << "needs an X display (./test starts Xvfb)";
    ASSERT_FALSE(gameWindowShown()) << "another game window is open";
    LaunchWorld w;
    Launcher& l = *w.launcher;
    ASSERT_TRUE(platform::copyFile(KV_STANDIN_GAME, w.gameFolder() + "korvane.exe"));
    l.options.multiplayerModeOn = 1;
    l.gameName = "Big N's game";
    l.nickParsed = "BigN";
    l.lobby.localAddress = "127.0.0.1";

    const std::pair<const char*, std::string> env[] = {
        {"KV_STANDIN_REPORT", w.tmp / "argv.txt"},
        {"KV_STANDIN_QUIT_AFTER_MS", "4000"},
        {"KV_STANDIN_REGISTRY", w.tmp / "registry.reg"}};
    for (const auto& [name, value] : env)
        ::setenv(name, value.c_str(), 1);
    const bool started = startGame(l);
    for (const auto& [name, value] : env)
        ::unsetenv(name);
    ASSERT_TRUE(started);
    EXPECT_TRUE(l.launch.started) << l.launch.startError;
    EXPECT_EQ(w.view.log, Texts{"minimise"});
    EXPECT_TRUE(l.wasMinimised && l.launch.closeWatch.isActive());
    EXPECT_EQ(platform::currentDirectory(), w.gameFolder());

    // The first tick must find the window, so no event runs before it is there.
    ASSERT_TRUE(waitFor(gameWindowShown, 30000)) << "the stand-in game showed no window";
    Texts argv;
    ASSERT_TRUE(platform::readTextLines(w.tmp / "argv.txt", argv));
    EXPECT_EQ(argv,
              (Texts{"-3DFX", "+host", "127.0.0.1", "+hostname", "Big N's game", "+name", "BigN"}));

    // The watch ticks while the game runs; once its window has gone, one tick at most.
    std::optional<Clock::time_point> gone;
    ASSERT_TRUE(pumpUntil(
        [&] {
            if (!gone && !gameWindowShown())
                gone = Clock::now();
            return w.restored();
        },
        30000));
    ASSERT_TRUE(gone.has_value());
    EXPECT_LE(msSince(*gone), kTickMs + 1000);
    EXPECT_FALSE(l.launch.closeWatch.isActive());
    EXPECT_EQ(w.view.log,
              (Texts{"minimise", "restoreNormal", "onTop on", "onTop off", "bringToFront"}));
    EXPECT_FALSE(l.alwaysOnTop);
    EXPECT_TRUE(w.ui.messages().empty());
}

// Nothing that goes wrong after the installation leaves the launcher minimised: the
// first tick finds no game window and brings it back, raised and still on top. None of it
// is a message box; a start that failed keeps its reason.
TEST(GameLaunch, AStartWithoutAGameWindowEndsRestoredAtTheFirstTick) {
    const char* const sleeper = "#!/bin/sh\nsleep 3\n";
    enum Twist { None, VanishedFolder, NoDisplay, NoWine };
    const struct {
        const char* what;
        const char* game; // korvane.exe's text, none when missing
        mode_t mode;
        Twist twist;
        const char* error; // part of the start's error; none when the process starts
    } cases[] = {{"missing korvane.exe", nullptr, 0, None, "was not found"},
                 {"not executable", sleeper, 0644, None, "could not be started"},
                 {"vanished game folder", sleeper, 0755, VanishedFolder, "was not found"},
                 {"Windows program without Wine", "MZ\x90", 0755, NoWine, "Wine is not installed"},
                 {"a game that shows no window", sleeper, 0755, None, nullptr},
                 {"no window system", sleeper, 0755, NoDisplay, nullptr}};
    const char* display = std::getenv("DISPLAY");
    const std::string savedDisplay = display ? display : "";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        LaunchWorld w;
        if (c.game)
            w.writeGame(c.game, c.mode);
        if (c.twist == VanishedFolder)
            w.launcher->installations.setCurrentGameFolder(w.tmp / "gone/");
        if (c.twist == NoWine)
            w.launcher->wineCommand = w.tmp / "no-wine/wine";
        if (c.twist == NoDisplay)
            ::unsetenv("DISPLAY");
        w.launcher->alwaysOnTop = true;
        const auto started = Clock::now();
        ASSERT_TRUE(startGame(*w.launcher));
        EXPECT_EQ(w.launcher->launch.started, !c.error) << w.launcher->launch.startError;
        EXPECT_NE(w.launcher->launch.startError.find(c.error ? c.error : ""), std::string::npos)
            << w.launcher->launch.startError;
        EXPECT_TRUE(w.launcher->wasMinimised);
        ASSERT_TRUE(pumpUntil([&] { return w.restored(); }, 10000));
        const long ms = msSince(started);
        EXPECT_GE(ms, kTickMs - 50);
        EXPECT_LT(ms, 2 * kTickMs - 100); // before a second tick could have come
        EXPECT_FALSE(w.launcher->launch.closeWatch.isActive());
        // Always-on-top flipped twice raises the window and leaves the setting as it was.
        EXPECT_EQ(w.view.log,
                  (Texts{"minimise", "restoreNormal", "onTop off", "onTop on", "bringToFront"}));
        EXPECT_TRUE(w.launcher->alwaysOnTop);
        EXPECT_TRUE(w.ui.messages().empty());
        if (display)
            ::setenv("DISPLAY", savedDisplay.c_str(), 1);
    }
}

// Only the host of a multiplayer game tells its peers to start, and only once the install
// went through; the values the game reads are written before it starts. A refused install
// stops before anything is written or started.
TEST(GameLaunch, OnlyAHostWhoseInstallWentThroughTellsThePeers) {
    const struct {
        const char* what;
        int multiplayer;
        lobby::LobbyMode mode;
        bool refused, tells;
    } cases[] = {
        {"host", 1, lobby::LobbyMode::Host, false, true},
        {"guest", 1, lobby::LobbyMode::Join, false, false},
        {"single player", 0, lobby::LobbyMode::Host, false, false},
        {"install refused", 1, lobby::LobbyMode::Host, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        LaunchWorld w;
        Launcher& l = *w.launcher;
        w.writeGame("#!/bin/sh\nexit 0\n", 0755);
        l.options.multiplayerModeOn = c.multiplayer;
        l.lobby.mode = c.mode;
        wireLobby(l);
        // One peer whose line is kept busy, so that what the start queues for it stays there.
        l.lobby.rows.resize(1);
        lobby::Outbox& outbox = l.lobby.session->outbox();
        outbox.setSpacing(600000);
        outbox.queue(0, [] {});
        if (c.refused)
            for (int p = 0; p < 4; ++p) // one WaterAI more than the game loads
                l.content.choices.players[size_t(p)] = {{"<don't change>", "Water AI"}, 1};
        EXPECT_EQ(startGame(l), !c.refused);
        EXPECT_EQ(outbox.pending(), c.tells ? 1u : 0u);
        EXPECT_EQ(applyChanges(l), !c.refused);
        EXPECT_EQ(bool(w.registry->query(platform::RegistryRoot::LocalMachine,
                                         "Software\\Bramble Studios\\KorvaneTactics", "scroll")),
                  !c.refused);
        if (!c.refused)
            continue;
        EXPECT_EQ(w.ui.messageTexts(),
                  Texts(2, "You can't select more than 3 WaterAIs, because WaterAI is too big for "
                           "Korvane to load more than 3 copies"));
        EXPECT_TRUE(w.view.log.empty());
        EXPECT_FALSE(l.wasMinimised || l.launch.closeWatch.isActive() || l.launch.started);
        EXPECT_EQ(platform::currentDirectory(), w.startFolder);
    }
}

} // namespace kv::test
