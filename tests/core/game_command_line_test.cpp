#include "core/game_command_line.h"

#include "core/launch_buttons.h"
#include "core/options_toolbar.h"
#include "tests/core/launcher_world.h"

#include <gtest/gtest.h>

namespace kv::test {

namespace {

// The options a first run leaves, with the debug button switched off.
OptionSet singlePlayerDefaults() {
    OptionSet o;
    o.button(OptionButton::Debug).caption = "Debug off";
    return o;
}

MultiplayerSwitches lobby() {
    MultiplayerSwitches mp;
    mp.hostLabel = "10.0.0.7";
    mp.localAddress = "192.168.1.20";
    mp.gameName = "Big N's game";
    mp.nick = "BigN";
    return mp;
}

std::optional<platform::RegistryValue> gameValue(LauncherWorld& w, const std::string& name) {
    return w.registry->query(platform::RegistryRoot::LocalMachine,
                             "Software\\Bramble Studios\\KorvaneTactics", name);
}

} // namespace

TEST(GameCommandLine, DisplayMapAndMiscPartsKeepTheirBlanks) {
    OptionSet o = singlePlayerDefaults();
    EXPECT_EQ(gameCommandLine(o, {}), " -3DFX  ");

    o.renderer = Renderer::Direct3DHal;
    o.resolution = 3; // "1024x768"
    o.startWithCampaignOn = 1;
    o.campaign = "Campaign 2";
    o.button(OptionButton::Intro).caption = "Show intro";
    EXPECT_EQ(gameCommandLine(o, {}), " -D3D -1024 -game CAM_2A -intro");
    o.button(OptionButton::Intro).caption = "SHOW INTRO";
    EXPECT_EQ(miscPart(o), "-intro");

    OptionSet rgb = singlePlayerDefaults();
    rgb.renderer = Renderer::Software;
    rgb.softwareRenderType = 2; // "RGB Emulation"
    rgb.resolution = 1;         // "640 x480": the blank before "x" is trimmed away
    EXPECT_EQ(gameCommandLine(rgb, {}), " -RGB -640  ");
}

TEST(GameCommandLine, RendererAndResolutionSwitches) {
    OptionSet o;
    o.renderer = Renderer::Software;
    const std::vector<std::string> software{" -software", " -REF", " -RGB", " -MMX"};
    for (int type = 0; type < 4; ++type) {
        o.softwareRenderType = type;
        EXPECT_EQ(AddDisplayToCommandLine(o), software[size_t(type)]) << type;
    }
    o.softwareRenderType = 9; // beyond the list: not one of the named types
    EXPECT_EQ(AddDisplayToCommandLine(o), " -MMX");

    o.renderer = Renderer::ThreeDfx;
    const std::vector<std::string> resolutions{" -3DFX",       " -3DFX -640",  " -3DFX -800",
                                               " -3DFX -1024", " -3DFX -1152", " -3DFX -1280"};
    for (int r = 0; r < 6; ++r) {
        o.resolution = r;
        EXPECT_EQ(AddDisplayToCommandLine(o), resolutions[size_t(r)]) << r;
    }
    // A damaged index never produces a lone " -".
    for (int r : {-1, 6, 40}) {
        o.resolution = r;
        EXPECT_EQ(AddDisplayToCommandLine(o), " -3DFX") << r;
    }
}

TEST(GameCommandLine, CampaignMapNames) {
    OptionSet o;
    EXPECT_EQ(AddMapToCommandLine(o), ""); // the check box is off
    o.startWithCampaignOn = 1;
    const std::vector<std::pair<std::string, std::string>> maps{
        {"Demo", "-game FASTPLAY"},         {"Campaign 1", "-game CAM_1A"},
        {"Campaign 3", "-game CAM_3A"},     {"Rush_T2 ", "-game Rush_T2 "},
        {"campaign 1", "-game campaign 1"}, {"", "-game "}};
    for (const auto& [campaign, part] : maps) {
        o.campaign = campaign;
        EXPECT_EQ(AddMapToCommandLine(o), part) << campaign;
    }
}

TEST(GameCommandLine, DebugSwitchComesBeforeTheMultiplayerSwitches) {
    OptionSet o = singlePlayerDefaults();
    o.button(OptionButton::Debug).caption = "debug ON";
    o.multiplayerModeOn = 1;
    MultiplayerSwitches mp = lobby();
    EXPECT_EQ(gameCommandLine(o, mp),
              " -3DFX   -ovyrdelmkasitroquenbafp +host \"192.168.1.20\" +hostname \"Big N's "
              "game\" +name \"BigN\"");

    mp.role = LobbyRole::Join;
    o.button(OptionButton::Debug).caption = "Debug off";
    EXPECT_EQ(gameCommandLine(o, mp), " -3DFX   +connect \"10.0.0.7\" +name \"BigN\"");

    o.multiplayerModeOn = 0; // the lobby's state does not matter for a single player game
    EXPECT_EQ(gameCommandLine(o, mp), " -3DFX  ");
}

TEST(GameCommandLine, RegistryValuesFollowTheToolbar) {
    LauncherWorld w;
    Launcher& l = *w.launcher;
    SetScrollSpeed(l, 16);
    chooseOptionEntry(l, OptionButton::Bases, 3); // "Adv. bases"
    setAlliances(l, false);
    l.options.phrases[0] = "gg \"all\"";
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

    // A speed that never came through the menu is the game's default.
    l.options.scrollSpeed = 40;
    EXPECT_EQ(gameRegistryValues(l.options).scroll, 800u);
}

TEST(GameCommandLine, CancelledPhraseLeavesRegistryPhraseAsItWas) {
    LauncherWorld w;
    Launcher& l = *w.launcher;
    l.startupFinished = true;
    w.ui.answerInput("push left");
    chooseOptionEntry(l, OptionButton::Phrase, 2);
    w.ui.answerInput(std::nullopt);
    chooseOptionEntry(l, OptionButton::Phrase, 2);
    EXPECT_EQ(l.options.button(OptionButton::Phrase).entries[1], "F2: push left");
    AddMiscToCommandLine(l.options, l.registry);
    EXPECT_EQ(gameValue(w, "phrase1"), platform::RegistryValue(std::string("push left")));
    EXPECT_TRUE(w.ui.allAnswersUsed());
}

TEST(LaunchButtons, MapEditorKeyHelpAndShellQuoting) {
    EXPECT_EQ(mapEditorParameters(0), " -hardware");
    EXPECT_EQ(mapEditorParameters(1), "");
    EXPECT_EQ(mapEditorParameters(7), "");

    EXPECT_EQ(keyHelpText(), "Press 'Shift - ?' in Korvane to enter Debug mode\n"
                             "KEYS:\n"
                             "'Ctrl - -'  -  Exit Korvane (numerical keyboard)\n"
                             "'Ctrl - G' - Show Map\n"
                             "'Ctrl - O' - Show Debug Menu\n"
                             "'A'          - Enable all research");
    LauncherWorld w;
    showKeyHelp(*w.launcher);
    ASSERT_EQ(w.ui.messages().size(), 1u);
    EXPECT_EQ(w.ui.messages()[0].icon, Icon::Information);

    EXPECT_EQ(shellQuoted({"wine", "/g/korvane.exe", "-D3D", "+name", "Big N", "it's", ""}),
              "wine /g/korvane.exe -D3D +name 'Big N' 'it'\\''s' ''");
    EXPECT_EQ(shellQuoted({"$HOME", "a*b"}), "'$HOME' 'a*b'");
}

TEST(LaunchButtons, PreviewShowsTheProgramAndItsArgumentsWithoutWritingAnything) {
    LauncherWorld w;
    Launcher& l = *w.launcher;
    const std::string game = w.makeGame("My Game");
    l.installations.AddKVPath(game);
    l.options.button(OptionButton::Debug).caption = "Debug off";
    l.options.startWithCampaignOn = 1;
    l.options.campaign = "My map";
    const LaunchPreview p = launchPreview(l);
    EXPECT_EQ(p.commandLine, " -3DFX -game My map ");
#ifndef _WIN32
    // korvane.exe there begins with "MZ": a Windows program, run through Wine.
    EXPECT_EQ(p.invocation, "wine '" + game + "korvane.exe' -3DFX -game My map");
#endif
    EXPECT_FALSE(gameValue(w, "scroll"));
}

} // namespace kv::test
