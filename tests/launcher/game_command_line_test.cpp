#include "core/game_command_line.h"

#include "launcher/launch_buttons.h"
#include "launcher/options_toolbar.h"
#include "tests/launcher/launcher_world.h"

#include <gtest/gtest.h>

namespace kv::test {

namespace {

// A first run's options with the debug button switched off.
OptionSet singlePlayer() {
    OptionSet o;
    o.button(OptionButton::Debug).caption = "Debug off";
    return o;
}

// The values the game reads, as " name=number" or " name='text'".
std::string gameValues(LauncherWorld& w) {
    std::string out;
    for (const char* name : {"scroll", "base", "alliance", "phrase0", "phrase5"}) {
        const auto v = w.registry->query(platform::RegistryRoot::LocalMachine,
                                         "Software\\Bramble Studios\\KorvaneTactics", name);
        out += std::string(" ") + name + "=";
        if (v)
            out += std::holds_alternative<std::uint32_t>(*v)
                       ? std::to_string(std::get<std::uint32_t>(*v))
                       : "'" + std::get<std::string>(*v) + "'";
    }
    return out;
}

} // namespace

// Display part, map part and misc part each keep their leading blank, empty or not.
TEST(GameCommandLine, DisplayPartsKeepTheirBlanks) {
    const struct {
        Renderer renderer;
        int type, resolution;
        const char* display;
    } cases[] = {
        {Renderer::ThreeDfx, 0, 0, " -3DFX"},
        {Renderer::Direct3DHal, 0, 3, " -D3D -1024"},
        {Renderer::Software, 0, 0, " -software"},
        {Renderer::Software, 1, 0, " -REF"},
        {Renderer::Software, 4, 0, " -MMX"},
        {Renderer::Software, 2, 1, " -RGB -640"}, // "640 x480": the blank before "x" goes
        // An index outside the list never leaves a lone " -".
        {Renderer::ThreeDfx, 0, -1, " -3DFX"},
        {Renderer::ThreeDfx, 0, 6, " -3DFX"},
    };
    for (const auto& c : cases) {
        OptionSet o = singlePlayer();
        o.renderer = c.renderer;
        o.softwareRenderType = c.type;
        o.resolution = c.resolution;
        EXPECT_EQ(gameCommandLine(o, {}), std::string(c.display) + "  ") << c.display;
    }
    // Captions from a hand-edited settings file count in any letter case.
    OptionSet o = singlePlayer();
    o.button(OptionButton::Intro).caption = "SHOW INTRO";
    o.button(OptionButton::Debug).caption = "debug ON";
    EXPECT_EQ(gameCommandLine(o, {}), " -3DFX  -intro -ovyrdelmkasitroquenbafp");
}

TEST(GameCommandLine, EachCampaignStartsItsOwnMap) {
    const struct {
        const char* campaign;
        const char* part;
    } cases[] = {
        {"Demo", "-game FASTPLAY"},         {"Campaign 1", "-game CAM_1A"},
        {"Campaign 2", "-game CAM_2A"},     {"Campaign 3", "-game CAM_3A"},
        {"campaign 3", "-game campaign 3"}, // typed by hand: passed as it stands
        {"Rush_T2 ", "-game Rush_T2 "},     {"", "-game "},
    };
    OptionSet o = singlePlayer();
    o.startWithCampaignOn = 1;
    for (const auto& c : cases) {
        o.campaign = c.campaign;
        EXPECT_EQ(gameCommandLine(o, {}), std::string(" -3DFX ") + c.part + " ") << c.campaign;
    }
    o.startWithCampaignOn = 0;
    EXPECT_EQ(AddMapToCommandLine(o), "");
}

// A quote would end the argument and let the rest pass as switches of their own.
TEST(GameCommandLine, AQuoteInAnAddressAddsNoSwitch) {
    OptionSet o = singlePlayer();
    o.multiplayerModeOn = 1;
    const MultiplayerSwitches mp{LobbyRole::Join, "1.2.3.4\" -game \"CAM_3A", "", "", "BigN"};
    EXPECT_EQ(gameCommandLine(o, mp), " -3DFX   +connect \"1.2.3.4 -game CAM_3A\" +name \"BigN\"");
}

TEST(GameCommandLine, RegistryValuesFollowTheToolbar) {
    LauncherWorld w;
    Launcher& l = *w.launcher;
    const ToolbarOption& scroll = l.options.button(OptionButton::ScrollSpeed);
    SetScrollSpeed(l, 16);
    SetScrollSpeed(l, 17); // not on the menu: ignored
    SetScrollSpeed(l, -1);
    EXPECT_EQ(scroll.caption + "|" + std::to_string(scroll.tag), "Scroll speed 16|16");
    clickOptionButton(l, OptionButton::Bases); // the next entry: "Adv. bases"
    setAlliances(l, false);
    // While the settings are read a phrase entry asks nothing.
    chooseOptionEntry(l, OptionButton::Phrase, 1);
    EXPECT_TRUE(w.ui.prompts().empty());
    l.startupFinished = true;
    w.ui.answerInput("gg \"all\"");
    w.ui.answerInput(std::nullopt); // cancelled: the phrase stays
    w.ui.answerInput("");           // emptied: the phrase stays too
    for (int i = 0; i < 3; ++i)
        chooseOptionEntry(l, OptionButton::Phrase, 1);
    EXPECT_EQ(l.options.button(OptionButton::Phrase).entries[0], "F1: gg \"all\"");
    chooseOptionEntry(l, OptionButton::Intro, 2); // "Show intro"
    EXPECT_EQ(AddMiscToCommandLine(l.options, l.registry), "-intro");

    EXPECT_EQ(gameValues(w), " scroll=6400 base=2 alliance=0 phrase0='gg \"all\"' phrase5=''");

    setAlliances(l, true);
    clickOptionButton(l, OptionButton::Bases); // after the last entry: the first, "No bases"
    SetScrollSpeed(l, 1);
    AddMiscToCommandLine(l.options, l.registry);
    EXPECT_EQ(gameValues(w), " scroll=400 base=0 alliance=1 phrase0='gg \"all\"' phrase5=''");
    chooseOptionEntry(l, OptionButton::Bases, 2);
    EXPECT_EQ(gameRegistryValues(l.options).base, 1u);
    l.options.scrollSpeed = 40; // never through the menu: the game's default
    EXPECT_EQ(gameRegistryValues(l.options).scroll, 800u);
}

TEST(LaunchButtons, MapEditorParametersAndShellQuoting) {
    EXPECT_EQ(mapEditorParameters(0) + "|" + mapEditorParameters(1) + mapEditorParameters(7),
              " -hardware|");
    EXPECT_EQ(shellLine({{"WINEPREFIX=/home/a b"},
                         {"wine", "/g/korvane.exe", "+name", "Big N", "it's", "", "$HOME"}}),
              "WINEPREFIX='/home/a b' wine /g/korvane.exe +name 'Big N' 'it'\\''s' '' '$HOME'");
}

} // namespace kv::test
