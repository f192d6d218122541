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
    const OptionSet& o = l.options;
    EXPECT_EQ(l.installations.currentGameFolder() + "|" + std::to_string(int(o.renderer)) + "|" +
                  o.resolutionText() + "|" + std::to_string(o.button(OptionButton::Alliances).tag) +
                  "|" + o.button(OptionButton::ScrollSpeed).caption + "|" +
                  o.button(OptionButton::Phrase).entries[4] + "|" + std::to_string(o.compact()) +
                  "|" + l.nickParsed,
              b + "|2|1152x864|2|Scroll speed 16|F5: gg|1|Zed");
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
    const auto caption = [&l](OptionButton b) { return l.options.button(b).caption + "|"; };
    EXPECT_EQ(std::to_string(l.options.resolution) + "|" + l.nick + "|" + l.options.campaign + "|" +
                  std::to_string(l.options.mapEditorMode) + "|" +
                  std::to_string(int(l.options.renderer)) + "|" + caption(OptionButton::Debug) +
                  caption(OptionButton::Bases) + caption(OptionButton::Intro) +
                  std::to_string(l.options.scrollSpeed) + "|" + std::to_string(l.hostHistoryCount),
              "3|Ann|CAM|0|1|Debug off|Adv. bases|No intro|2|8");

    SaveDefaultValues(*w.launcher);
    std::string saved;
    for (const auto& line : w.settingsLines())
        if (line.rfind("IPHistory", 0) == 0 || line.find("Unknown") != std::string::npos)
            saved += line + " ";
    EXPECT_EQ(saved, "IPHistory0= IPHistory1= IPHistory2= IPHistory3= IPHistory4= IPHistory5= "
                     "IPHistory6= IPHistory7=1.2.3.4 ");
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
    EXPECT_EQ(std::to_string(l.options.resolution) + std::to_string(l.options.scrollSpeed) +
                  std::to_string(l.options.miniModeOn) +
                  std::to_string(l.options.softwareRenderType),
              "2200");
    EXPECT_EQ(l.nick.size(), 100000u);
    EXPECT_EQ(l.installations.currentGameFolder(), game);
    EXPECT_TRUE(w.ui.messages().empty());
}

// Outside a first run (which reads nothing and says nothing).
TEST(SettingsFile, MissingFileIsReportedAndChangesNothing) {
    LauncherWorld w;
    w.launcher->activeSettingsName = "Tournament.ini";
    w.launcher->options.resolution = 5;
    GetDefaultValues(*w.launcher);
    ASSERT_EQ(w.ui.messages().size(), 1u);
    EXPECT_EQ(w.ui.messages()[0].text,
              "INI configuration file does not exist: \n" + w.root + "Settings/Tournament.ini");
    EXPECT_EQ(w.launcher->options.resolution, 5);
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
