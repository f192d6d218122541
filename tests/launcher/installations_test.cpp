#include "core/installations.h"
#include "launcher/installation_actions.h"
#include "launcher/settings_file.h"

#include "platform/wine_prefix.h"
#include "tests/launcher/launcher_world.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <unistd.h>

namespace kv::test {

using Texts = std::vector<std::string>;

TEST(Installations, MenuMarkersFollowAddChooseAndRemove) {
    InstallationList list;
    for (const char* path : {"C:\\A\\", "C:\\B\\", "C:\\C\\", "C:\\C\\"}) // no duplicate check
        list.AddKVPath(path);
    EXPECT_EQ(list.menu(), (Texts{">>C:\\A\\<<", "C:\\B\\", "C:\\C\\", "C:\\C\\"}));
    list.SetDefaultKVPath(1);
    EXPECT_EQ(list.RemoveKVPath(1), "");
    EXPECT_EQ(list.menu(), (Texts{"  C:\\A\\  ", ">>C:\\C\\<<", "  C:\\C\\  "}));
    list.SetDefaultKVPath(2);
    list.RemoveKVPath(2); // the last one while selected: the new last is chosen
    EXPECT_EQ(list.menu(), (Texts{"  C:\\A\\  ", ">>C:\\C\\<<"}));
    list.RemoveKVPath(0);
    EXPECT_EQ(list.RemoveKVPath(0), kCannotDeleteOnlyPath);
    list.SetDefaultKVPath(5); // out of range: nothing changes
    EXPECT_EQ(list.paths(), (Texts{"C:\\C\\"}));
    EXPECT_EQ(list.selected(), 0);

    // Blank entries are not added; short ones are, but only show when the menu is rebuilt.
    list.AddKVPath("   ");
    list.AddKVPath("D:");
    EXPECT_EQ(list.menu(), (Texts{">>C:\\C\\<<"}));
    EXPECT_FALSE(list.SetKVPathFromString("c:\\c\\")); // exact, case included
    EXPECT_TRUE(list.SetKVPathFromString(" D: "));
    EXPECT_EQ(list.menu(), (Texts{"  C:\\C\\  ", ">>D:<<"}));
}

TEST(Installations, ActionsMenuAsksAndRefusesWithItsOwnWords) {
    LauncherWorld w;
    Launcher& l = *w.launcher;
    const std::string a = w.makeGame("a"), b = w.makeGame("b"), c = w.makeGame("c");
    AddKVPath(l, a);

    installationMenuAction(l, "Remove...");
    w.ui.answerFile(b + "korvane.exe");
    w.ui.answerFile(std::nullopt);
    installationMenuAction(l, "ADD...");
    installationMenuAction(l, "Add...");
    EXPECT_EQ(l.installations.paths(), (Texts{a, b}));

    chooseInstallation(l, 2);
    w.ui.answerFile(c + "korvane.exe");
    installationMenuAction(l, "Change...");
    EXPECT_EQ(l.installations.paths(), (Texts{a, c}));
    EXPECT_EQ(l.installations.currentGameFolder(), c);

    w.ui.answerMessage(Answer::No);
    installationMenuAction(l, "Remove...");
    EXPECT_EQ(l.installations.count(), 2);
    EXPECT_EQ(w.ui.messages().back().text, "Are you sure you want to remove:\n'" + c + "'\n?");
    w.ui.answerMessage(Answer::Yes);
    installationMenuAction(l, "Remove...");
    EXPECT_EQ(l.installations.menu(), (Texts{">>" + a + "<<"}));
    EXPECT_TRUE(w.ui.allAnswersUsed());
    EXPECT_EQ(w.ui.messageTexts().front(),
              "You can't remove this KV Path, it is the only one available.");
}

// The last SelectedKVPath that names a listed installation wins; none keeps the first.
TEST(Installations, SettingsSelectTheNamedInstallationOrKeepTheFirst) {
    LauncherWorld w;
    const std::string a = w.makeGame("a"), b = w.makeGame("b");
    const std::pair<Texts, int> cases[] = {
        {{"SelectedKVPath=" + b}, 1}, {{"SelectedKVPath=" + b, "SelectedKVPath=" + a}, 0}, {{}, 0}};
    for (const auto& [selected, expected] : cases) {
        Texts lines{"KVPath=" + a, "KVPath=" + b};
        lines.insert(lines.end(), selected.begin(), selected.end());
        w.restart();
        w.writeSettings(lines);
        GetDefaultValues(*w.launcher);
        EXPECT_EQ(w.launcher->installations.selected(), expected) << selected.size();
    }
    EXPECT_TRUE(w.ui.messages().empty());
}

TEST(Installations, EmptyListAsksForTheGameTwiceAtMost) {
    LauncherWorld w;
    w.writeSettings({"Nickname=N"});
    w.ui.answerFile(std::nullopt);
    w.ui.answerFile(std::nullopt);
    w.ui.answerFile(w.makeGame("game") + "korvane.exe"); // never asked for
    GetDefaultValues(*w.launcher);
    EXPECT_EQ(w.launcher->installations.count(), 0);
    EXPECT_EQ(w.ui.messages().size(), 2u);
    EXPECT_FALSE(w.ui.allAnswersUsed());
}

#ifndef _WIN32
TEST(Installations, GamesInWinePrefixesAreOfferedBeforeTheFileDialog) {
    LauncherWorld w;
    const std::string home = w.tmp / "home";
    for (const char* prefix :
         {"Games/korvane", ".local/share/bottles/bottles/kt", "elsewhere", "../outside"}) {
        w.tmp.write("home/" + std::string(prefix) + "/system.reg", "");
        w.tmp.write("home/" + std::string(prefix) + "/drive_c/windows/win.ini", "");
    }
    const std::string lutris = w.tmp.write("home/Games/korvane/drive_c/KV/game/korvane.exe", "MZ");
    w.tmp.write("home/.local/share/bottles/bottles/kt/drive_c/Program Files/KT/Korvane.exe", "");
    w.tmp.write("home/elsewhere/drive_c/korvane.exe", ""); // not where players keep prefixes
    w.tmp.write("home/Games/loose/KV/korvane.exe", "");    // in no prefix
    w.tmp.write("outside/drive_c/korvane.exe", "");        // out of the home folder
    ::symlink((w.tmp / "outside").c_str(), (home + "/Games/out").c_str());
    ::symlink((home + "/Games/korvane/drive_c").c_str(), (home + "/Games/again").c_str());
    const std::string savedHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    ::setenv("HOME", home.c_str(), 1);

    const auto found = platform::findInWinePrefixes(home, "korvane.exe");
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].program, lutris);
    EXPECT_EQ(found[0].prefix, home + "/Games/korvane");
    w.ui.answerChoice(1);
    EXPECT_EQ(SetKVPath(*w.launcher),
              home + "/.local/share/bottles/bottles/kt/drive_c/Program Files/KT/");
    // "Another place..." leads to today's file dialog.
    w.ui.answerChoice(2);
    w.ui.answerFile(lutris);
    EXPECT_EQ(SetKVPath(*w.launcher), home + "/Games/korvane/drive_c/KV/game/");
    ::setenv("HOME", savedHome.c_str(), 1);
}
#endif

} // namespace kv::test
