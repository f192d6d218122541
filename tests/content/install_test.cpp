#include "content/install.h"

#include "content/ai_file.h"
#include "content/create_ai.h"
#include "platform/files.h"
#include "tests/content/content_world.h"

#include <gtest/gtest.h>

namespace kv::content {
namespace {

using test::ContentWorld;
using test::Texts;

const char* kAlpha = "1\r\nAlpha as made\r\n  2 \r\nline one\r\nline two\r\n\r\n"
                     "\r\n \r\n    speed INT 4\r\n}\r\n";

TEST(Install, WritesThePlayersScriptPairByteForByte) {
    ContentWorld w;
    w.writeLauncher("Mods/SkirmishAI/Alpha.kvai", kAlpha);
    w.scan();
    w.state.choices.selectAI(5, "Alpha");
    w.state.choices.applyEnabled = false;
    ASSERT_TRUE(makeSloVlo(w.state, w.env()));
    EXPECT_EQ(w.script("player5.slo"), "line one\r\nline two\r\n\r\n");
    EXPECT_EQ(w.script("player5.vlo"), "script \"player5.slo\"\r\nrun\r\n{\r\n"
                                       "    player          INT                 5\r\n"
                                       "\r\n \r\n    speed INT 4\r\n}\r\n");
    EXPECT_TRUE(w.state.choices.applyEnabled); // the install gives the button back
    // Slots left as "<don't change>" keep the game's files.
    EXPECT_EQ(w.script("player0.vlo"), worldgen::sampleVloText(0));
    EXPECT_TRUE(w.ui.messages().empty());
}

TEST(Install, CopiesEveryScriptOfTheRulesSetOverTheGames) {
    ContentWorld w;
    worldgen::writeRulesSet(w.paths.launcherFolder, "Hard", "hard");
    w.writeLauncher("Mods/Rules/Hard/extra.xlo", "extra");
    w.writeLauncher("Mods/Rules/Hard/notes.txt", "not a script");
    w.scan();
    w.state.choices.selectRules("Hard");
    platform::setAttributes(w.inGame("multiplay/skirmish/rules.slo"), platform::AttrReadOnly);
    ASSERT_TRUE(makeSloVlo(w.state, w.env()));
    std::string expected;
    platform::readFile(w.paths.rulesFolder + "Hard/rules.slo", expected);
    EXPECT_EQ(w.script("rules.slo"), expected);
    EXPECT_EQ(w.script("extra.xlo"), "extra");
    EXPECT_FALSE(w.gameHas("multiplay/skirmish/notes.txt"));
    EXPECT_TRUE(w.state.installed.empty()); // scripts are overwritten, never worked off
}

// Entry 1 + round(r x (count - 3)), ties to even, never a placeholder. With five AIs
// count - 3 is 4, so these draws land exactly on halves.
TEST(Install, RandomRoundsHalvesToEvenOverCountMinusThree) {
    ContentWorld w;
    w.scan();
    EXPECT_EQ(resolveRandom(w.state.choices, 0.7), "");
    for (const char* name : {"A1", "A2", "A3", "A4", "A5"})
        w.addAi(name);
    w.scan();
    const auto& items = w.state.choices.players[0].items;
    ASSERT_EQ(items.size(), 7u);
    const std::pair<double, size_t> cases[] = {
        {0.0, 1},   {0.124, 1}, {0.125, 1}, {0.126, 2}, {0.375, 3},
        {0.625, 3}, {0.626, 4}, {0.875, 5}, {0.99, 5},
    };
    for (const auto& [r, entry] : cases)
        EXPECT_EQ(resolveRandom(w.state.choices, r), items[entry]) << r;
    // Installed through the lists, "<Random>" writes a real AI.
    w.state.choices.selectAI(7, kRandom);
    ASSERT_TRUE(makeSloVlo(w.state, w.env(), {3}));
    EXPECT_EQ(w.script("player7.vlo").rfind("script \"player7.slo\"", 0), 0u);
}

// The limit holds whatever the letter case of the name.
TEST(Install, AtMostThreeWaterAIs) {
    for (const char* name : {"Water AI", "wATER ai"}) {
        SCOPED_TRACE(name);
        ContentWorld w;
        w.addAi(name);
        w.scan();
        for (int p = 0; p < 3; ++p)
            w.state.choices.selectAI(p, name);
        ASSERT_TRUE(makeSloVlo(w.state, w.env()));
        EXPECT_TRUE(w.ui.messages().empty());

        const std::string before = w.script("player3.slo");
        w.state.choices.selectAI(3, name);
        EXPECT_FALSE(makeSloVlo(w.state, w.env()));
        EXPECT_EQ(w.ui.messageTexts(), Texts{"You can't select more than 3 WaterAIs, because "
                                             "WaterAI is too big for Korvane to load more than 3 "
                                             "copies"});
        EXPECT_EQ(w.script("player3.slo"), before);
        EXPECT_TRUE(w.state.choices.applyEnabled);
    }
}

// "<don't change>" leaves a slot's files as they are: neither the next install nor
// closing removes the scripts an earlier install wrote.
TEST(Install, DontChangeKeepsEveryScriptInTheGame) {
    ContentWorld w;
    w.addAi("Alpha");
    worldgen::writeRulesSet(w.paths.launcherFolder, "Hard", "hard");
    w.scan();
    for (const char* f : {"player0.slo", "player0.vlo", "rules.slo", "rules.vlo"})
        w.writeLauncher(std::string("resources/backup/") + f, std::string("default ") + f);
    w.state.choices.selectAI(0, "Alpha");
    w.state.choices.selectRules("Hard");
    const auto scripts = [&w] {
        return Texts{w.script("player0.slo"), w.script("player0.vlo"), w.script("rules.slo"),
                     w.script("rules.vlo")};
    };
    ASSERT_TRUE(makeSloVlo(w.state, w.env()));
    const Texts installed = scripts();

    w.state.choices.selectAI(0, kDontChange);
    ASSERT_TRUE(makeSloVlo(w.state, w.env()));
    EXPECT_EQ(scripts(), installed);
    w.state.choices.selectRules(kDontChange);
    ASSERT_TRUE(makeSloVlo(w.state, w.env()));
    EXPECT_EQ(scripts(), installed);

    // Closing with the rules as they are: the defaults come back except the "slo" files,
    // which keep what is there.
    w.state.choices.selectAI(0, "Alpha");
    ASSERT_TRUE(makeSloVlo(w.state, w.env()));
    removeInstalledFiles(w.state, w.env());
    EXPECT_EQ(scripts(),
              (Texts{installed[0], "default player0.vlo", installed[2], "default rules.vlo"}));
    EXPECT_TRUE(w.ui.messages().empty());
}

TEST(Install, ABrokenAiFileStopsTheInstallWithoutHalfWrittenScripts) {
    struct Case {
        const char* bytes;
        const char* expected;
    };
    const Case cases[] = {
        {"1\r\nX\r\n5\r\nonly one line\r\n", "Error:\n62: Input past end of file in '"},
        {"1\r\nX\r\nfive\r\na\r\n", "Error:\n13: Type mismatch (line 3 is no line count: 'five')"},
        {"1\r\nX\r\n-2\r\na\r\n", "Error:\n13: Type mismatch (line 3 is no line count: '-2')"},
        {"1\r\nX\r\n", "Error:\n62: Input past end of file"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes);
        ContentWorld w;
        w.addAi("Good");
        w.writeLauncher("Mods/SkirmishAI/Broken.kvai", c.bytes);
        w.scan();
        w.state.choices.selectAI(0, "Good");
        w.state.choices.selectAI(1, "Broken");
        const std::string before = w.script("player1.vlo");
        EXPECT_FALSE(makeSloVlo(w.state, w.env()));
        ASSERT_EQ(w.ui.messages().size(), 1u);
        EXPECT_EQ(w.ui.messages()[0].text.rfind(c.expected, 0), 0u) << w.ui.messages()[0].text;
        EXPECT_EQ(w.script("player1.vlo"), before);
        EXPECT_FALSE(w.state.installing);
        // No temporary files are left beside the scripts.
        EXPECT_EQ(platform::listDirectory(w.inGame("multiplay/skirmish"), "*kvtmp*").size(), 0u);
    }
}

// Runs unprivileged in CI too (see CMakeLists.txt): root writes into read-only folders.
TEST(Install, ReadOnlyFoldersAreReportedAndLoseNothing) {
    ContentWorld w;
    w.addAi("Alpha");
    w.scan();
    w.state.choices.selectAI(0, "Alpha");
    const std::string before = w.script("player0.slo");
    platform::setAttributes(w.inGame("multiplay/skirmish"), platform::AttrReadOnly);
    if (platform::writeFileAtomic(w.inGame("multiplay/skirmish/probe"), "x"))
        GTEST_SKIP() << "running with rights that ignore read-only folders";
    EXPECT_FALSE(makeSloVlo(w.state, w.env()));
    ASSERT_EQ(w.ui.messages().size(), 1u);
    EXPECT_EQ(w.ui.messages()[0].text.rfind("Error:\n70: Permission denied", 0), 0u);
    platform::setAttributes(w.inGame("multiplay/skirmish"), platform::AttrNormal);
    EXPECT_EQ(w.script("player0.slo"), before);

    // A new AI for a write-protected AI folder is refused with the box that says so.
    platform::setAttributes(w.paths.aiFolder, platform::AttrReadOnly);
    w.ui.clear();
    w.ui.answerFile(w.inGame("multiplay/skirmish/player0.slo"));
    w.ui.answerFile(w.inGame("multiplay/skirmish/player0.vlo"));
    w.ui.answerInput("Raider");
    EXPECT_FALSE(createAiFile(w.state, w.env()));
    platform::setAttributes(w.paths.aiFolder, platform::AttrNormal);
    EXPECT_EQ(w.ui.messageTexts(),
              (Texts{"Some files are write-protected!", "AI file was not created!"}));
    EXPECT_FALSE(platform::fileExists(w.paths.aiFolder + "Raider.kvai"));
}

TEST(Install, DefaultScriptsRestoreSloFilesOnlyWhenRulesWereChosen) {
    ContentWorld w;
    worldgen::writeRulesSet(w.paths.launcherFolder, "Hard", "hard");
    w.scan();
    w.writeLauncher("resources/backup/rules.slo", "default rules slo");
    w.writeLauncher("resources/backup/rules.vlo", "default rules vlo");
    w.writeGame("multiplay/skirmish/rules.slo", "changed");
    w.writeGame("multiplay/skirmish/rules.vlo", "changed");
    CopyDefaultFiles(w.state, w.env());
    EXPECT_EQ(w.script("rules.slo"), "changed");
    EXPECT_EQ(w.script("rules.vlo"), "default rules vlo");
    w.state.choices.selectRules("Hard");
    CopyDefaultFiles(w.state, w.env());
    EXPECT_EQ(w.script("rules.slo"), "default rules slo");
    EXPECT_TRUE(w.ui.messages().empty());
}

} // namespace
} // namespace kv::content
