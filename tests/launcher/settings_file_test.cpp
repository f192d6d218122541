#include "launcher/settings_file.h"

#include "platform/text.h"
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
    std::string text = "KVPath=" + gameA + "\nKVPath=" + gameB + "\nSelectedKVPath=" + gameB +
                       "\nVer=2.144\nKVResolution=4\nUse3dfxOn=0\nUsed3dOn=0\n"
                       "UseSoftwareRenderOn=-1\nSoftwareRenderType=2\nStartWithCampaignOn=1\n"
                       "StartWithCampaign=MY_MAP\nDebugOn=Debug off\nBases=Adv. bases\n"
                       "AlliancesOn=Alliances off\nShowIntroOn=Show intro\nMiniModeOn=1\n"
                       "TerraForgeGFXmode=1\nSelectedTabIndex=1\nMultiplayerModeOn=1\n";
    for (int n = 0; n < 8; ++n)
        text += "AI" + std::to_string(n) + "=Bot" + std::to_string(n) + "\nAICustomizingOn" +
                std::to_string(n) + "=0\n";
    text += "RulesFile=Hardcore\nRulesCustomizingOn=0\nAIOverwriteWarned=-1\nNickname=Zed\n"
            "LastAudoDownloadMessageIndex=7\nAlwaysOnTopOn=-1\nShowMapPreviewOn=0\n"
            "ScrollSpeed=16\nHotPhrase0=gl hf\nHotPhrase1=rush!\nHotPhrase2=\nHotPhrase3=\n"
            "HotPhrase4=gg\nIPHistory0=10.0.0.1\nIPHistory1=10.0.0.2\n"
            "CheckForUpdatesOnSturtUpOn=-1\nUpdateServer=http://mirror.example/kvs/Config.ini\n"
            "UpdateKey=0123456789abcdef0123456789abcdef0123456789abcdef0123456789abcdef\n"
            "WineCommand=/opt/runner/bin/wine";
    return platform::splitLines(text);
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
    std::string history;
    for (const auto& line : lines)
        if (line.rfind("IPHistory", 0) == 0)
            history += line + " ";
    EXPECT_EQ(history, "IPHistory0= IPHistory1= IPHistory2= IPHistory3= IPHistory4= IPHistory5= "
                       "IPHistory6= IPHistory7=1.2.3.4 ");
    for (const auto& line : lines)
        EXPECT_EQ(line.find("Unknown"), std::string::npos) << line;
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

TEST(SettingsFile, UnwritableSettingsShowTheErrorBox) {
    LauncherWorld w;
    w.launcher->activeSettingsName = "missing-folder/starter.ini";
    SaveDefaultValues(*w.launcher);
    ASSERT_EQ(w.ui.messages().size(), 1u);
    EXPECT_NE(w.ui.messages()[0].text.find("Error in: SaveDefaultValues()"), std::string::npos);
    EXPECT_EQ(w.ui.messages()[0].icon, Icon::Critical);
}

} // namespace kv::test
