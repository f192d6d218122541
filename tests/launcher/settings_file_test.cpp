#include "launcher/settings_file.h"

#include "launcher/content_wiring.h"
#include "launcher/options_toolbar.h"
#include "tests/launcher/launcher_world.h"

#include <gtest/gtest.h>

namespace kv::test {

using namespace std::string_literals;

namespace {

// The lists hold the names the file chooses, as catalogues read from disk would.
void listEveryName(Launcher& l) {
    for (int n = 0; n < 8; ++n)
        l.content.choices.players[size_t(n)].items = {"<don't change>", "Bot" + std::to_string(n)};
    l.content.choices.rules.items = {"<don't change>", "Hardcore"};
}

// Every key away from its default, as a user would leave it.
std::vector<std::string> everyKey(const std::string& gameA, const std::string& gameB) {
    std::vector<std::string> lines{"KVPath=" + gameA,
                                   "KVPath=" + gameB,
                                   "SelectedKVPath=" + gameB,
                                   "Ver=2.144",
                                   "KVResolution=4",
                                   "Use3dfxOn=0",
                                   "Used3dOn=0",
                                   "UseSoftwareRenderOn=-1",
                                   "SoftwareRenderType=2",
                                   "StartWithCampaignOn=1",
                                   "StartWithCampaign=MY_MAP",
                                   "DebugOn=Debug off",
                                   "Bases=Adv. bases",
                                   "AlliancesOn=Alliances off",
                                   "ShowIntroOn=Show intro",
                                   "MiniModeOn=1",
                                   "TerraForgeGFXmode=1",
                                   "SelectedTabIndex=1",
                                   "MultiplayerModeOn=1"};
    for (int n = 0; n < 8; ++n) {
        lines.push_back("AI" + std::to_string(n) + "=Bot" + std::to_string(n));
        lines.push_back("AICustomizingOn" + std::to_string(n) + "=0");
    }
    for (const char* l :
         {"RulesFile=Hardcore", "RulesCustomizingOn=0", "AIOverwriteWarned=-1", "Nickname=Zed",
          "LastAudoDownloadMessageIndex=7", "AlwaysOnTopOn=-1", "ShowMapPreviewOn=0",
          "ScrollSpeed=16", "HotPhrase0=gl hf", "HotPhrase1=rush!", "HotPhrase2=", "HotPhrase3=",
          "HotPhrase4=gg", "IPHistory0=10.0.0.1", "IPHistory1=10.0.0.2",
          "CheckForUpdatesOnSturtUpOn=-1", "UpdateServer=http://mirror.example/kvs/Config.ini",
          "UpdateKey=0123456789abcdef0123456789abcdef0123456789abcdef0123456789abcdef",
          "WineCommand=/opt/runner/bin/wine"})
        lines.emplace_back(l);
    return lines;
}

} // namespace

TEST(SettingsFile, EveryKeySurvivesARoundTripInItsFixedOrder) {
    LauncherWorld w;
    const std::string a = w.makeGame("gameA"), b = w.makeGame("gameB");
    const auto expected = everyKey(a, b);
    w.writeSettings(expected);
    listEveryName(*w.launcher);
    GetDefaultValues(*w.launcher);
    EXPECT_TRUE(w.ui.messages().empty());

    SaveDefaultValues(*w.launcher);
    EXPECT_EQ(w.settingsLines(), expected);
    EXPECT_NE(w.tmp.read("kvs/Settings/starter.ini").find("KVPath=" + a + "\r\n"),
              std::string::npos);

    const Launcher& l = *w.launcher;
    EXPECT_EQ(l.installations.currentGameFolder(), b);
    EXPECT_EQ(l.options.renderer, Renderer::Software);
    EXPECT_EQ(l.options.resolutionText(), "1152x864");
    EXPECT_EQ(l.options.button(OptionButton::Alliances).tag, 2);
    EXPECT_EQ(l.options.button(OptionButton::ScrollSpeed).caption, "Scroll speed 16");
    EXPECT_EQ(l.options.button(OptionButton::Phrase).entries[4], "F5: gg");
    EXPECT_TRUE(l.options.compact());
    EXPECT_EQ(l.nickParsed, "Zed");
}

TEST(SettingsFile, ReaderForgivesLayoutButKeepsItsCutsAndLimits) {
    LauncherWorld w;
    const std::string game = w.makeGame("game");
    w.writeSettings({"KVPath=" + game, " kvresolution = 3", "KVResolution=9",
                     "Nickname=", "nickname =  Ann  ", "Nickname=", "StartWithCampaign=CAM=2",
                     "TerraForgeGFXmode=-1", "Used3dOn=1", "DEBUGON=DEBUG OFF", "Bases=lots",
                     "ShowIntroOn=no INTRO", "IPHistory7=1.2.3.4", "IPHistory10=9.9.9.9",
                     "ScrollSpeed=17", "HotPhrase9=x", "Unknown=1"});
    GetDefaultValues(*w.launcher);
    const Launcher& l = *w.launcher;
    EXPECT_EQ(l.options.resolution, 3);
    EXPECT_EQ(l.nick, "Ann");
    EXPECT_EQ(l.options.campaign, "CAM");
    EXPECT_EQ(l.options.mapEditorMode, 0);
    EXPECT_EQ(l.options.renderer, Renderer::Direct3DHal);
    EXPECT_EQ(l.options.button(OptionButton::Debug).caption, "Debug off");
    EXPECT_EQ(l.options.button(OptionButton::Bases).caption, "Adv. bases");
    EXPECT_EQ(l.options.button(OptionButton::Intro).caption, "No intro");
    EXPECT_EQ(l.options.scrollSpeed, 2);
    EXPECT_EQ(l.hostHistoryCount, 8);

    SaveDefaultValues(*w.launcher);
    const auto lines = w.settingsLines();
    std::vector<std::string> history;
    for (const auto& line : lines)
        if (line.rfind("IPHistory", 0) == 0)
            history.push_back(line);
    EXPECT_EQ(history, (std::vector<std::string>{
                           "IPHistory0=", "IPHistory1=", "IPHistory2=", "IPHistory3=",
                           "IPHistory4=", "IPHistory5=", "IPHistory6=", "IPHistory7=1.2.3.4"}));
    for (const auto& line : lines)
        EXPECT_EQ(line.find("Unknown"), std::string::npos) << line;
}

TEST(SettingsFile, RendererFlagsChooseOnlyWhenNonZero) {
    LauncherWorld w;
    const std::string game = w.makeGame("game");
    w.writeSettings({"KVPath=" + game, "UseSoftwareRenderOn=1", "Used3dOn=0", "Use3dfxOn=0"});
    GetDefaultValues(*w.launcher);
    EXPECT_EQ(w.launcher->options.renderer, Renderer::Software);
    w.writeSettings({"KVPath=" + game, "Used3dOn=-1"});
    GetDefaultValues(*w.launcher);
    EXPECT_EQ(w.launcher->options.renderer, Renderer::Direct3DHal);
}

TEST(SettingsFile, DamagedFileStartsWithWhatIsValid) {
    LauncherWorld w;
    const std::string game = w.makeGame("game");
    std::string text = "KVPath=" + game + "\r\n";
    text += "garbage without separator\r\n"s + "\x01\x02\xff=\xfe\0zz\r\n"s;
    text += "KVResolution=" + std::string(10 * 1024 * 1024, '7') + "\r\n";
    text += "ScrollSpeed=abc\r\nMiniModeOn=5\r\nSoftwareRenderType=-3\r\n";
    text += "Nickname=" + std::string(100000, 'n') + "\r\nKVResolution=2\r\n";
    w.tmp.write("kvs/Settings/starter.ini", text);
    GetDefaultValues(*w.launcher);
    const Launcher& l = *w.launcher;
    EXPECT_EQ(l.options.resolution, 2);
    EXPECT_EQ(l.options.scrollSpeed, 2);
    EXPECT_EQ(l.options.miniModeOn, 0);
    EXPECT_EQ(l.options.softwareRenderType, 0);
    EXPECT_EQ(l.nick.size(), 100000u);
    EXPECT_EQ(l.installations.currentGameFolder(), game);
    EXPECT_TRUE(w.ui.messages().empty());
}

TEST(SettingsFile, InstallationThatIsNotAFolderIsLocatedAgain) {
    LauncherWorld w;
    const std::string game = w.makeGame("game");
    const std::string file = w.tmp.write("notafolder", "x");
    w.writeSettings({"KVPath=" + file, "KVPath=ab"});
    w.ui.answerFile(game + "korvane.exe");
    w.ui.answerFile(std::nullopt); // the too-short entry: cancelled
    GetDefaultValues(*w.launcher);
    EXPECT_EQ(w.launcher->installations.paths(), std::vector<std::string>{game});
    EXPECT_EQ(w.launcher->installations.selected(), 0);
    ASSERT_EQ(w.ui.messages().size(), 2u);
    EXPECT_EQ(w.ui.messages()[0].text, "Please locate 'Korvane.exe' file!");
    EXPECT_EQ(w.ui.prompts()[0], "open:Korvane.exe|korvane.exe|korvane.exe");
}

TEST(SettingsFile, NamesMissingFromTheCataloguesAreReportedAndKeepTheirChoice) {
    LauncherWorld w;
    const std::string game = w.makeGame("game");
    w.writeSettings({"KVPath=" + game, "AI3=Ghost", "AI4=<Random>", "RulesFile=Nope"});
    kv::fillCatalogues(*w.launcher); // no AIs or rules: only the lists' fixed entries
    GetDefaultValues(*w.launcher);
    EXPECT_EQ(w.ui.messageTexts(), (std::vector<std::string>{"'Ghost' AI was not found!",
                                                             "'Nope' rules file was not found."}));
    EXPECT_EQ(w.ui.messages()[0].icon, Icon::Information);
    EXPECT_EQ(w.launcher->options.ai[3], "<don't change>");
    EXPECT_EQ(w.launcher->options.ai[4], "<Random>");
}

TEST(SettingsFile, MissingFileOutsideAFirstRunIsReportedAndChangesNothing) {
    LauncherWorld w;
    w.launcher->activeSettingsName = "Tournament.ini";
    w.launcher->options.resolution = 5;
    GetDefaultValues(*w.launcher);
    ASSERT_EQ(w.ui.messages().size(), 1u);
    EXPECT_EQ(w.ui.messages()[0].text,
              "INI configuration file does not exist: \n" + w.root + "Settings/Tournament.ini");
    EXPECT_EQ(w.launcher->options.resolution, 5);

    w.ui.clear();
    w.launcher->firstRun = true; // a first run reads nothing and says nothing
    GetDefaultValues(*w.launcher);
    EXPECT_TRUE(w.ui.messages().empty());
}

TEST(SettingsFile, FirstRunDefaultsKeepTheDesignedButtons) {
    LauncherWorld w;
    Launcher& l = *w.launcher;
    chooseOptionEntry(l, OptionButton::Debug, 2);
    l.options.softwareRenderType = 3;
    l.options.resolution = 4;
    l.alwaysOnTop = true;
    SetDefaultValues(l);
    EXPECT_EQ(l.options.resolution, 0);
    EXPECT_EQ(l.options.softwareRenderType, 3);
    EXPECT_EQ(l.options.button(OptionButton::Debug).caption, "Debug off");
    EXPECT_EQ(l.options.button(OptionButton::Intro).caption, "No intro");
    EXPECT_EQ(l.options.button(OptionButton::Bases).caption, "Bases");
    EXPECT_EQ(l.options.button(OptionButton::ScrollSpeed).caption, "Scroll speed 2");
    EXPECT_FALSE(l.alwaysOnTop);
    EXPECT_TRUE(l.mapPreview);
}

TEST(SettingsFile, UnwritableSettingsShowTheErrorBox) {
    LauncherWorld w;
    w.launcher->activeSettingsName = "missing-folder/starter.ini";
    SaveDefaultValues(*w.launcher);
    ASSERT_EQ(w.ui.messages().size(), 1u);
    EXPECT_NE(w.ui.messages()[0].text.find("Error in: SaveDefaultValues()"), std::string::npos);
    EXPECT_EQ(w.ui.messages()[0].icon, Icon::Critical);
}

} // namespace kv::test
