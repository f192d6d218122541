// The links file and the Tools menu's restart commands, on a launcher folder on disk.
#include "content/line_syntax.h"
#include "core/colour_contrast.h"
#include "launcher/links_file.h"
#include "launcher/tools_menu.h"
#include "platform/files.h"
#include "tests/launcher/launcher_world.h"
#include "tests/support/wait.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace kv {
namespace {

using test::LauncherWorld;
using Texts = std::vector<std::string>;

std::string fields(const MainLinkSettings& s) {
    std::string out = s.textExpanded + "|" + s.textCollapsed + "|" + s.url;
    for (std::uint32_t colour : {s.background, s.textColor, s.backgroundFlash, s.textFlash,
                                 s.startButtonBack, s.startButtonText})
        out += "|" + std::to_string(colour);
    return out;
}

TEST(LinksFile, KeysInAnyCaseLaterLinesWinUnknownAndEmptyIgnored) {
    content::FolderVars vars;
    vars.launcher = "/kvs/";
    const MainLinkSettings def;
    MainLinkSettings urlOnly;
    urlOnly.url = "https://example.org/x";
    const MainLinkSettings many{"  Our Site", "Site", "/kvs/help.html", 255, 0, 65280,
                                16777215,     1,      0xFFFFFF};
    // Backgrounds without their text colour: black or white, whichever reads better.
    const MainLinkSettings dark{def.textExpanded, def.textCollapsed, def.url, 0x402010,
                                0xFFFFFF,         0xF0F0F0,          0,       0x303030,
                                0xFFFFFF};
    const std::pair<const char*, MainLinkSettings> cases[] = {
        {"MainLinkBackground = \"4202512\"\nMainLinkBackgroundFlashColor = \"15790320\"\n"
         "StartButtonBackColor = \"3158064\"\n",
         dark},
        {"MainLinkURL = \"https://example.org/x\"\r\n", urlOnly},
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
    for (const auto& [text, expected] : cases) {
        MainLinkSettings s;
        EXPECT_TRUE(applyLinksText(text, vars, s)) << text;
        EXPECT_EQ(fields(s), fields(expected)) << text;
        EXPECT_GE(contrastRatio(s.startButtonBack, s.startButtonText), 4.5) << text;
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

// The main link's own road is the main window's test; the authors' links minimise only
// when the window is on top.
TEST(LinksFile, AuthorLinksAskFirstAndMinimiseOnlyWhenOnTop) {
    LauncherWorld w;
    Launcher& l = *w.launcher;
    Texts log;
    test::RecordingView view(log);
    l.setView(&view);
    EXPECT_FALSE(followAuthorHomepage(l, "Anna", "") || writeToAuthor(l, "Anna", "")); // no asking
    for (Answer a : {Answer::Yes, Answer::Yes, Answer::Yes, Answer::No})
        w.ui.answerMessage(a);
    EXPECT_TRUE(followAuthorHomepage(l, "", "https://a.example/"));
    EXPECT_TRUE(log.empty());
    l.alwaysOnTop = true;
    EXPECT_TRUE(writeToAuthor(l, "Anna", "anna@example.org"));
    EXPECT_TRUE(writeToAddress(l, "team@example.org"));
    EXPECT_FALSE(writeToAddress(l, "team@example.org"));
    EXPECT_EQ(log, (Texts{"minimise", "minimise"}));
    const std::string team = "Open E-mail client to send an e-mail to team@example.org ?\r\n"
                             "mailto:team@example.org";
    EXPECT_EQ(w.ui.messageTexts(),
              (Texts{"Go to unknown's Homepage?\r\nhttps://a.example/",
                     "Open E-mail client to send an e-mail to Anna (anna@example.org) ?\r\n"
                     "mailto:anna@example.org",
                     team, team}));
    EXPECT_EQ(w.opened,
              (Texts{"https://a.example/", "mailto:anna@example.org", "mailto:team@example.org"}));
    l.setView(nullptr);
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
        if (!c.opens) {
            EXPECT_EQ(w.ui.messages()[0].text,
                      "This address is not opened: only web addresses (http:, https:) and e-mail "
                      "addresses are.\r\n" +
                          std::string(c.mail ? "mailto:" : "") +
                          (c.address == "http://a\nb" ? "http://a?b" : c.address))
                << c.address;
        }
    }
}

// The new launcher must start in the launcher folder, where it finds its files; one that
// cannot start leaves this one open.
TEST(ToolsMenu, ChangeNickSavesTheNewNickThenRestarts) {
    LauncherWorld w;
    const std::string started = w.tmp / "started";
    const std::string probe =
        w.tmp.write("probe.sh", "#!/bin/sh\npwd > '" + started + ".tmp' && mv '" + started +
                                    ".tmp' '" + started + "'\n");
    std::filesystem::permissions(probe, std::filesystem::perms::owner_all);
    w.ui.answerMessage(Answer::Yes);
    w.ui.answerInput(std::nullopt); // no new nick: nothing happens
    EXPECT_EQ(changeNick(*w.launcher, probe), ToolsEnd::Stay);
    EXPECT_FALSE(platform::fileExists(w.launcher->settingsFilePath()));

    w.ui.answerMessage(Answer::Yes);
    w.ui.answerInput("NewBoss");
    EXPECT_EQ(changeNick(*w.launcher, probe), ToolsEnd::CloseMain);
    EXPECT_NE(w.tmp.read("kvs/Settings/starter.ini").find("\r\nNickname=NewBoss\r\n"),
              std::string::npos);
    ASSERT_TRUE(test::waitFor([&] { return platform::fileExists(started); }, 5000));
    const std::string cwd = w.tmp.read("started");
    EXPECT_EQ(std::filesystem::path(cwd.substr(0, cwd.size() - 1)),
              std::filesystem::canonical(w.root));

    w.ui.answerMessage(Answer::Yes);
    w.ui.answerInput("Third");
    EXPECT_EQ(changeNick(*w.launcher, w.tmp / "no such program"), ToolsEnd::Stay);
    EXPECT_EQ(w.ui.messages().back().icon, Icon::Critical);
}

} // namespace
} // namespace kv
