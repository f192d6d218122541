// The links file and the Tools menu's restart commands, on a launcher folder on disk.
#include "content/line_syntax.h"
#include "core/colour_contrast.h"
#include "launcher/links_file.h"
#include "launcher/settings_file.h"
#include "launcher/startup.h"
#include "launcher/tools_menu.h"
#include "platform/files.h"
#include "tests/launcher/launcher_world.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

namespace kv {
namespace {

using test::LauncherWorld;
using Texts = std::vector<std::string>;

TEST(LinksFile, KeysInAnyCaseLaterLinesWinUnknownAndEmptyIgnored) {
    const content::FolderVars vars{.launcher = "/kvs/"};
    struct Case {
        const char* text;
        MainLinkSettings expected;
    };
    MainLinkSettings urlOnly;
    urlOnly.url = "https://example.org/x";
    MainLinkSettings many;
    many.textExpanded = "  Our Site";
    many.textCollapsed = "Site";
    many.url = "/kvs/help.html";
    many.background = 255;
    many.textColor = 0;
    many.backgroundFlash = 65280;
    many.textFlash = 16777215;
    many.startButtonBack = 1;
    many.startButtonText = 0xFFFFFF;
    // Backgrounds without their text colour: black or white, whichever reads better.
    MainLinkSettings dark;
    dark.background = 0x402010;
    dark.textColor = 0xFFFFFF;
    dark.backgroundFlash = 0xF0F0F0;
    dark.textFlash = 0;
    dark.startButtonBack = 0x303030;
    dark.startButtonText = 0xFFFFFF;
    const Case cases[] = {
        {"MainLinkBackground = \"4202512\"\nMainLinkBackgroundFlashColor = \"15790320\"\n"
         "StartButtonBackColor = \"3158064\"\n",
         dark},
        {"MainLinkURL = \"https://example.org/x\"\r\n", urlOnly},
        {"mainlinkurl=\"https://example.org/x\"", urlOnly},
        {"MAINLINKURL = \"https://example.org/x\"   // a comment\n", urlOnly},
        {"MainLinkURL = \"one\"\nMainLinkURL = \"https://example.org/x\"\n", urlOnly},
        {"// MainLinkURL = \"no\"\nMainLinkURL = \"\"\n = \"v\"\nFooter = \"x\"\n"
         "MainLinkURL\n[MAIN]:\n\x01\x02\xff=\"\x80\"\nMainLinkURL = \"https://example.org/x\"",
         urlOnly},
        {"MainLinkTextExpanded = \"  Our Site\"\nmainlinktextcollapsed=\"Site\"\n"
         "MainLinkURL=\"%KVSPath%help.html\"\nMainLinkBackground=\"255\"\n"
         "MainLinkTextColor = \"0\"\nMainLinkBackgroundFlashColor = 65280\n"
         "MainLinkTextFlashColor = \"16777215\"\nStartButtonBackColor=\"1\"\n",
         many},
    };
    for (const Case& c : cases) {
        MainLinkSettings s;
        EXPECT_TRUE(applyLinksText(c.text, vars, s)) << c.text;
        EXPECT_EQ(s.textExpanded, c.expected.textExpanded) << c.text;
        EXPECT_EQ(s.textCollapsed, c.expected.textCollapsed) << c.text;
        EXPECT_EQ(s.url, c.expected.url) << c.text;
        EXPECT_EQ(s.background, c.expected.background) << c.text;
        EXPECT_EQ(s.textColor, c.expected.textColor) << c.text;
        EXPECT_EQ(s.backgroundFlash, c.expected.backgroundFlash) << c.text;
        EXPECT_EQ(s.textFlash, c.expected.textFlash) << c.text;
        EXPECT_EQ(s.startButtonBack, c.expected.startButtonBack) << c.text;
        EXPECT_EQ(s.startButtonText, c.expected.startButtonText) << c.text;
        EXPECT_GE(contrastRatio(s.startButtonBack, s.startButtonText), 4.5) << c.text;
    }
    EXPECT_NEAR(contrastRatio(0, 0xFFFFFF), 21.0, 1e-9);
    EXPECT_NEAR(contrastRatio(0x123456, 0x123456), 1.0, 1e-9);
}

TEST(LinksFile, ABadColourStopsTheRestOfTheFile) {
    for (const char* bad : {"abc", "16777216", "-1", "0x00FF00", "12 34", "99999999999999999999"}) {
        MainLinkSettings s;
        const std::string text = std::string("MainLinkURL = \"before\"\nMainLinkTextColor = \"") +
                                 bad +
                                 "\"\nMainLinkBackground = \"255\"\nMainLinkURL = \"after\"\n";
        EXPECT_FALSE(applyLinksText(text, {}, s)) << bad;
        EXPECT_EQ(s.url, "before") << bad;
        EXPECT_EQ(s.textColor, MainLinkSettings{}.textColor) << bad;
        EXPECT_EQ(s.background, MainLinkSettings{}.background) << bad;
    }
}

TEST(LinksFile, StartUpReadsTheFileAndTheStartButtonKeepsTheDefaultBackground) {
    LauncherWorld w;
    w.launcher->mainLink.url = "left over";
    InitializeMainLink(*w.launcher);
    EXPECT_EQ(w.launcher->mainLink.url, MainLinkSettings{}.url);
    EXPECT_FALSE(LoadCustomKVSLinks(*w.launcher)); // no file: silent
    EXPECT_TRUE(w.ui.messages().empty());

    w.tmp.write("kvs/Settings/KVS/KVSLinks.ini", "MainLinkBackground = \"255\"\r\n");
    EXPECT_TRUE(LoadCustomKVSLinks(*w.launcher));
    EXPECT_EQ(w.launcher->mainLink.background, 255u);
    EXPECT_EQ(w.launcher->mainLink.startButtonBack, 16757128u);
    EXPECT_EQ(w.launcher->mainLink.textExpanded, MainLinkSettings{}.textExpanded);
}

TEST(LinksFile, TheMainLinkAsksThenOpensItsPageAndMinimises) {
    LauncherWorld w;
    std::vector<std::string> log;
    test::RecordingView view(log);
    w.launcher->setView(&view);
    w.launcher->mainLink.url = "https://example.org/forum";
    w.ui.answerMessage(Answer::No);
    EXPECT_FALSE(followMainLink(*w.launcher));
    EXPECT_TRUE(w.opened.empty());
    EXPECT_TRUE(log.empty());
    w.ui.answerMessage(Answer::Yes);
    EXPECT_TRUE(followMainLink(*w.launcher));
    EXPECT_EQ(w.opened, Texts{"https://example.org/forum"});
    EXPECT_EQ(log, Texts{"minimise"});
    EXPECT_EQ(w.ui.messages()[0].text,
              "Go to     Korvane Tactics Community ?\r\nhttps://example.org/forum");
    EXPECT_EQ(w.ui.messages()[0].icon, Icon::Question);
    w.launcher->setView(nullptr);
}

TEST(LinksFile, AuthorLinksAskAndMinimiseOnlyWhenOnTop) {
    LauncherWorld w;
    std::vector<std::string> log;
    test::RecordingView view(log);
    w.launcher->setView(&view);
    EXPECT_FALSE(followAuthorHomepage(*w.launcher, "Anna", "")); // no homepage: nothing asked
    EXPECT_FALSE(writeToAuthor(*w.launcher, "Anna", ""));
    for (int i = 0; i < 3; ++i)
        w.ui.answerMessage(Answer::Yes);
    EXPECT_TRUE(followAuthorHomepage(*w.launcher, "", "https://a.example/"));
    EXPECT_TRUE(log.empty());
    w.launcher->alwaysOnTop = true;
    EXPECT_TRUE(writeToAuthor(*w.launcher, "Anna", "anna@example.org"));
    EXPECT_TRUE(writeToAddress(*w.launcher, "team@example.org"));
    EXPECT_EQ(log, (Texts{"minimise", "minimise"}));
    EXPECT_EQ(w.ui.messageTexts(),
              (Texts{"Go to unknown's Homepage?\r\nhttps://a.example/",
                     "Open E-mail client to send an e-mail to Anna (anna@example.org) ?\r\n"
                     "mailto:anna@example.org",
                     "Open E-mail client to send an e-mail to team@example.org ?\r\n"
                     "mailto:team@example.org"}));
    EXPECT_EQ(w.opened,
              (Texts{"https://a.example/", "mailto:anna@example.org", "mailto:team@example.org"}));
    w.ui.answerMessage(Answer::No);
    EXPECT_FALSE(writeToAddress(*w.launcher, "team@example.org"));
    EXPECT_EQ(w.opened.size(), 3u);
    w.launcher->setView(nullptr);
}

TEST(LinksFile, OnlyWebAndPlainMailAddressesAreOpened) {
    const struct {
        std::string address;
        bool mail;
        bool opens;
    } cases[] = {
        {"http://a.example/", false, true},
        {"HTTPS://a.example/x?y=1", false, true},
        {"file:///etc/passwd", false, false},
        {"javascript:alert(1)", false, false},
        {"/tmp/run.sh", false, false},
        {"C:\\Games\\setup.bat", false, false},
        {"ftp://a.example/", false, false},
        {"https://", false, false},
        {"http://a\nb", false, false},
        {"anna@example.org", true, true},
        {"a@b?attach=/root/.ssh/id_rsa", true, false},
    };
    for (const auto& c : cases) {
        LauncherWorld w;
        w.ui.answerMessage(Answer::Yes);
        const bool opened = c.mail ? writeToAuthor(*w.launcher, "Anna", c.address)
                                   : followAuthorHomepage(*w.launcher, "Anna", c.address);
        EXPECT_EQ(opened, c.opens) << c.address;
        EXPECT_EQ(w.opened.size(), c.opens ? 1u : 0u) << c.address;
        ASSERT_EQ(w.ui.messages().size(), 1u) << c.address;
        if (!c.opens)
            EXPECT_EQ(w.ui.messages()[0].text,
                      "This address is not opened: only web addresses (http:, https:) and e-mail "
                      "addresses are.\r\n" +
                          std::string(c.mail ? "mailto:" : "") +
                          (c.address == "http://a\nb" ? "http://a?b" : c.address))
                << c.address;
    }
}

// A stand-in for the launcher's executable that notes where it was started.
std::string writeRestartProbe(LauncherWorld& w) {
    w.tmp.write("kvs/Settings/.keep", "");
    const std::string probe = w.tmp.write(
        "probe.sh", "#!/bin/sh\npwd > \"" + (w.tmp / "started") + ".tmp\" && mv \"" +
                        (w.tmp / "started") + ".tmp\" \"" + (w.tmp / "started") + "\"\n");
    std::filesystem::permissions(probe, std::filesystem::perms::owner_all);
    return probe;
}

bool waitForFile(const std::string& path) {
    for (int i = 0; i < 500 && !platform::fileExists(path); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return platform::fileExists(path);
}

TEST(ToolsMenu, RemoveConfigurationRestartsIntoAFirstRun) {
    LauncherWorld w;
    const std::string game = w.makeGame("game");
    w.launcher->nick = "Boss";
    w.launcher->installations.setCurrentGameFolder(game);
    const std::string probe = writeRestartProbe(w);
    SaveDefaultValues(*w.launcher);

    w.ui.answerMessage(Answer::No);
    EXPECT_EQ(removeCurrentConfiguration(*w.launcher, probe), ToolsEnd::Stay);
    EXPECT_TRUE(platform::fileExists(w.launcher->settingsFilePath()));

    w.ui.clear();
    w.ui.answerMessage(Answer::Yes);
    EXPECT_EQ(removeCurrentConfiguration(*w.launcher, probe), ToolsEnd::EndNow);
    ASSERT_EQ(w.ui.messages().size(), 1u);
    EXPECT_EQ(w.ui.messages()[0].text, "Are you sure? (KVS will be restarted)");
    EXPECT_EQ(w.ui.messages()[0].icon, Icon::Question);
    EXPECT_EQ(w.ui.messages()[0].buttons, Buttons::YesNo);
    EXPECT_FALSE(platform::fileExists(w.launcher->settingsFilePath()));
    ASSERT_TRUE(waitForFile(w.tmp / "started")) << w.ui.messageTexts().back();
    EXPECT_EQ(
        std::filesystem::path(w.tmp.read("started").substr(0, w.tmp.read("started").size() - 1)),
        std::filesystem::canonical(w.root));

    // The new launcher asks for the nick again.
    w.restart();
    w.ui.clear();
    w.ui.answerInput(std::nullopt);
    EXPECT_FALSE(runStartup(*w.launcher, ""));
    EXPECT_TRUE(w.launcher->firstRun);
}

TEST(ToolsMenu, ChangeNickSavesTheNewNickThenRestarts) {
    LauncherWorld w;
    w.launcher->nick = "Old";
    const std::string probe = writeRestartProbe(w);
    w.ui.answerMessage(Answer::Yes);
    w.ui.answerInput(std::nullopt); // no new nick: nothing happens
    EXPECT_EQ(changeNick(*w.launcher, probe), ToolsEnd::Stay);
    EXPECT_FALSE(platform::fileExists(w.launcher->settingsFilePath()));
    EXPECT_FALSE(platform::fileExists(w.tmp / "started"));

    w.ui.answerMessage(Answer::Yes);
    w.ui.answerInput("NewBoss");
    EXPECT_EQ(changeNick(*w.launcher, probe), ToolsEnd::CloseMain);
    const Texts lines = w.settingsLines();
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Nickname=NewBoss"), lines.end());
    EXPECT_TRUE(waitForFile(w.tmp / "started"));

    w.ui.clear();
    w.ui.answerMessage(Answer::Yes);
    w.ui.answerInput("Third");
    EXPECT_EQ(changeNick(*w.launcher, w.tmp / "no such program"), ToolsEnd::Stay);
    ASSERT_EQ(w.ui.messages().size(), 2u);
    EXPECT_EQ(w.ui.messages()[1].icon, Icon::Critical);
}

} // namespace
} // namespace kv
