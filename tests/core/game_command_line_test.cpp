#include "core/game_command_line.h"

#include "core/launch_buttons.h"
#include "core/options_toolbar.h"
#include "tests/core/launcher_world.h"

#include <gtest/gtest.h>

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
    EXPECT_EQ(shellQuoted({"wine", "/g/korvane.exe", "+name", "Big N", "it's", "", "$HOME"}),
              "wine /g/korvane.exe +name 'Big N' 'it'\\''s' '' '$HOME'");
}

} // namespace kv::test
