#include "core/game_command_line.h"

#include "launcher/installation_actions.h"
#include "launcher/launch_buttons.h"
#include "launcher/options_toolbar.h"
#include "platform/text.h"
#include "tests/launcher/launcher_world.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>
#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace kv::test {

namespace {

// A first run's options with the debug button switched off.
OptionSet singlePlayer() {
    OptionSet o;
    o.button(OptionButton::Debug).caption = "Debug off";
    return o;
}

std::optional<platform::RegistryValue> gameValue(LauncherWorld& w, const std::string& name) {
    return w.registry->query(platform::RegistryRoot::LocalMachine,
                             "Software\\Bramble Studios\\KorvaneTactics", name);
}

// Started programs are not waited for; what they write shows up a little later.
bool waitForFile(const std::string& path) {
    for (int i = 0; i < 500; ++i) {
        if (std::filesystem::exists(path))
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

} // namespace

TEST(GameCommandLine, PartsKeepTheirBlanks) {
    OptionSet o = singlePlayer();
    EXPECT_EQ(gameCommandLine(o, {}), " -3DFX  ");

    o.renderer = Renderer::Direct3DHal;
    o.resolution = 3; // "1024x768"
    o.startWithCampaignOn = 1;
    o.campaign = "Campaign 2";
    o.button(OptionButton::Intro).caption = "SHOW INTRO";
    EXPECT_EQ(gameCommandLine(o, {}), " -D3D -1024 -game CAM_2A -intro");
    o.campaign = "Rush_T2 "; // typed by hand
    EXPECT_EQ(AddMapToCommandLine(o), "-game Rush_T2 ");

    OptionSet rgb = singlePlayer();
    rgb.renderer = Renderer::Software;
    rgb.softwareRenderType = 2; // "RGB Emulation"
    rgb.resolution = 1;         // "640 x480": the blank before "x" is trimmed away
    EXPECT_EQ(gameCommandLine(rgb, {}), " -RGB -640  ");
}

TEST(GameCommandLine, EachCampaignStartsItsOwnMap) {
    const struct {
        const char* campaign;
        const char* part;
    } cases[] = {
        {"Demo", "-game FASTPLAY"},         {"Campaign 1", "-game CAM_1A"},
        {"Campaign 2", "-game CAM_2A"},     {"Campaign 3", "-game CAM_3A"},
        {"campaign 3", "-game campaign 3"}, // typed by hand: passed as it stands
        {"Campaign 4", "-game Campaign 4"}, {"", "-game "},
    };
    OptionSet o = singlePlayer();
    o.startWithCampaignOn = 1;
    for (const auto& c : cases) {
        o.campaign = c.campaign;
        EXPECT_EQ(AddMapToCommandLine(o), c.part) << c.campaign;
        EXPECT_EQ(gameCommandLine(o, {}), std::string(" -3DFX ") + c.part + " ") << c.campaign;
    }
    o.startWithCampaignOn = 0;
    o.campaign = "Campaign 3";
    EXPECT_EQ(AddMapToCommandLine(o), "");
}

TEST(GameCommandLine, SoftwareTypesAndDamagedIndices) {
    OptionSet o;
    o.renderer = Renderer::Software;
    const std::vector<std::string> expected{" -software", " -REF", " -RGB", " -MMX", " -MMX"};
    for (int type = 0; type < 5; ++type) {
        o.softwareRenderType = type;
        EXPECT_EQ(AddDisplayToCommandLine(o), expected[size_t(type)]) << type;
    }
    o.renderer = Renderer::ThreeDfx;
    o.resolution = 5;
    EXPECT_EQ(AddDisplayToCommandLine(o), " -3DFX -1280");
    // An index outside the list never leaves a lone " -".
    for (int r : {-1, 6}) {
        o.resolution = r;
        EXPECT_EQ(AddDisplayToCommandLine(o), " -3DFX") << r;
    }
}

TEST(GameCommandLine, DebugSwitchComesBeforeTheMultiplayerSwitches) {
    OptionSet o = singlePlayer();
    o.button(OptionButton::Debug).caption = "debug ON";
    o.multiplayerModeOn = 1;
    MultiplayerSwitches mp{LobbyRole::Host, "10.0.0.7", "192.168.1.20", "Big N's game", "BigN"};
    EXPECT_EQ(gameCommandLine(o, mp), " -3DFX   -ovyrdelmkasitroquenbafp +host \"192.168.1.20\" "
                                      "+hostname \"Big N's game\" +name \"BigN\"");

    mp.role = LobbyRole::Join;
    o.button(OptionButton::Debug).caption = "Debug off";
    EXPECT_EQ(gameCommandLine(o, mp), " -3DFX   +connect \"10.0.0.7\" +name \"BigN\"");
    // A quote would end the argument and let the rest pass as switches of their own.
    mp.hostLabel = "1.2.3.4\" -game \"CAM_3A";
    EXPECT_EQ(gameCommandLine(o, mp), " -3DFX   +connect \"1.2.3.4 -game CAM_3A\" +name \"BigN\"");
    o.multiplayerModeOn = 0;
    EXPECT_EQ(gameCommandLine(o, mp), " -3DFX  ");
}

TEST(GameCommandLine, RegistryValuesFollowTheToolbar) {
    LauncherWorld w;
    Launcher& l = *w.launcher;
    SetScrollSpeed(l, 16);
    chooseOptionEntry(l, OptionButton::Bases, 3); // "Adv. bases"
    setAlliances(l, false);
    l.startupFinished = true;
    w.ui.answerInput("gg \"all\"");
    chooseOptionEntry(l, OptionButton::Phrase, 1);
    w.ui.answerInput(std::nullopt); // cancelled: the phrase stays
    chooseOptionEntry(l, OptionButton::Phrase, 1);
    chooseOptionEntry(l, OptionButton::Intro, 2); // "Show intro"
    EXPECT_EQ(AddMiscToCommandLine(l.options, l.registry), "-intro");

    using V = platform::RegistryValue;
    EXPECT_EQ(gameValue(w, "scroll"), V(std::uint32_t(6400)));
    EXPECT_EQ(gameValue(w, "base"), V(std::uint32_t(2)));
    EXPECT_EQ(gameValue(w, "alliance"), V(std::uint32_t(0)));
    EXPECT_EQ(gameValue(w, "phrase0"), V(std::string("gg \"all\"")));
    EXPECT_EQ(gameValue(w, "phrase5"), V(std::string()));

    setAlliances(l, true);
    chooseOptionEntry(l, OptionButton::Bases, 1);
    SetScrollSpeed(l, 1);
    AddMiscToCommandLine(l.options, l.registry);
    EXPECT_EQ(gameValue(w, "alliance"), V(std::uint32_t(1)));
    EXPECT_EQ(gameValue(w, "base"), V(std::uint32_t(0)));
    EXPECT_EQ(gameValue(w, "scroll"), V(std::uint32_t(400)));
    chooseOptionEntry(l, OptionButton::Bases, 2);
    EXPECT_EQ(gameRegistryValues(l.options).base, 1u);
    l.options.scrollSpeed = 40; // never through the menu: the game's default
    EXPECT_EQ(gameRegistryValues(l.options).scroll, 800u);
}

TEST(LaunchButtons, MapEditorParametersAndShellQuoting) {
    EXPECT_EQ(mapEditorParameters(0), " -hardware");
    EXPECT_EQ(mapEditorParameters(1), "");
    EXPECT_EQ(mapEditorParameters(7), "");
    EXPECT_EQ(shellLine({{"WINEPREFIX=/home/a b"},
                         {"wine", "/g/korvane.exe", "+name", "Big N", "it's", "", "$HOME"}}),
              "WINEPREFIX='/home/a b' wine /g/korvane.exe +name 'Big N' 'it'\\''s' '' '$HOME'");
}

#ifndef _WIN32
// The map editor runs for real: a stand-in script records where it ran and with what.
TEST(LaunchButtons, MapEditorStartsInTheGameFolderAndAFailedStartIsReported) {
    LauncherWorld w;
    Launcher& l = *w.launcher;
    const std::string game = w.makeGame("game");
    AddKVPath(l, game);
    const std::string report = w.tmp / "editor.txt";
    const std::string editor =
        w.tmp.write("game/TerraForge.exe", "#!/bin/sh\n{ pwd; echo \"[$*]\"; } >'" + report +
                                               ".part'\n"
                                               "mv '" +
                                               report + ".part' '" + report + "'\n");
    ASSERT_EQ(::chmod(editor.c_str(), 0755), 0);
    // The launcher's own current folder is elsewhere; the editor must not run there.
    ASSERT_NE(std::filesystem::current_path(), std::filesystem::path(game).parent_path());
    for (const auto& [mode, expected] : {std::pair{0, "[-hardware]"}, std::pair{1, "[]"}}) {
        l.options.mapEditorMode = mode;
        ASSERT_TRUE(startMapEditor(l));
        ASSERT_TRUE(waitForFile(report)) << mode;
        const auto lines = platform::splitLines(w.tmp.read("editor.txt"));
        ASSERT_EQ(lines.size(), 2u);
        EXPECT_TRUE(std::filesystem::equivalent(lines[0], game)) << lines[0];
        EXPECT_EQ(lines[1], expected);
        std::filesystem::remove(report);
    }
    EXPECT_TRUE(w.ui.messages().empty());

    // A script with CR LF line ends names the interpreter "/bin/sh\r": it cannot run.
    w.tmp.write("game/TerraForge.exe", "#!/bin/sh\r\necho TerraForge\r\n");
    ASSERT_EQ(::chmod(editor.c_str(), 0755), 0);
    EXPECT_FALSE(startMapEditor(l));
    std::filesystem::remove(editor);
    EXPECT_FALSE(startMapEditor(l));
    ASSERT_EQ(w.ui.messages().size(), 2u);
    for (const auto& m : w.ui.messages()) {
        EXPECT_EQ(m.text.rfind("The map editor could not be started.\n", 0), 0u) << m.text;
        EXPECT_NE(m.text.find("TerraForge.exe"), std::string::npos) << m.text;
        EXPECT_EQ(m.icon, Icon::Critical);
    }
}
#endif

} // namespace kv::test
