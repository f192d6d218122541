#include "content/install.h"

#include "content/catalogue_scan.h"
#include "content/content_names.h"
#include "content/create_ai.h"
#include "content/mod_activation.h"
#include "content/patch_110.h"
#include "content/player_selection.h"
#include "content/required_archives.h"
#include "platform/files.h"
#include "tests/content/content_world.h"
#include "tools/worldgen/content_demo.h"

#include <gtest/gtest.h>

namespace kv::content {
namespace {

using test::ContentWorld;
using test::Texts;
using worldgen::archivePlaceholder;

TEST(Install, WritesThePlayersScriptPairByteForByte) {
    ContentWorld w;
    w.writeLauncher("Mods/SkirmishAI/Alpha.kvai",
                    "1\r\nAlpha as made\r\n  2 \r\nline one\r\n"
                    "line two\r\n\r\n\r\n \r\n    speed INT 4\r\n}\r\n");
    w.scan();
    w.state.choices.selectAI(5, "Alpha");
    ASSERT_TRUE(makeSloVlo(w.state, w.env()));
    EXPECT_EQ(w.script("player5.slo") + w.script("player5.vlo"),
              "line one\r\nline two\r\n\r\nscript \"player5.slo\"\r\nrun\r\n{\r\n"
              "    player          INT                 5\r\n\r\n \r\n    speed INT 4\r\n}\r\n");
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
    EXPECT_EQ(w.script("rules.slo"), w.temp.read("kvs/Mods/Rules/Hard/rules.slo"));
    EXPECT_EQ(w.script("extra.xlo"), "extra");
    EXPECT_FALSE(w.gameHas("multiplay/skirmish/notes.txt"));
    EXPECT_TRUE(w.state.installed.empty()); // scripts are overwritten, never worked off
}

// Entry 1 + round(r x (count - 3)), never a placeholder, whatever the draw.
TEST(Install, RandomNeverResolvesToAPlaceholder) {
    ContentWorld w;
    w.scan();
    EXPECT_EQ(resolveRandom(w.state.choices, 0.7), "");
    for (const char* name : {"A1", "A2", "A3", "A4", "A5"})
        w.addAi(name);
    w.scan();
    const auto& items = w.state.choices.players[0].items;
    EXPECT_EQ(resolveRandom(w.state.choices, 0.0) + resolveRandom(w.state.choices, 0.126) +
                  resolveRandom(w.state.choices, 0.99),
              items[1] + items[2] + items[5]);
    // Installed through the lists, "<Random>" writes a real AI.
    w.state.choices.selectAI(7, kRandom);
    ASSERT_TRUE(makeSloVlo(w.state, w.env(), {3}));
    EXPECT_EQ(w.script("player7.vlo").rfind("script \"player7.slo\"", 0), 0u);
}

// The limit holds whatever the letter case of the name.
TEST(Install, AtMostThreeWaterAIs) {
    ContentWorld w;
    w.addAi("wATER ai");
    w.scan();
    for (int p = 0; p < 3; ++p)
        w.state.choices.selectAI(p, "wATER ai");
    ASSERT_TRUE(makeSloVlo(w.state, w.env()));
    EXPECT_TRUE(w.ui.messages().empty());

    const std::string before = w.script("player3.slo");
    w.state.choices.selectAI(3, "wATER ai");
    EXPECT_FALSE(makeSloVlo(w.state, w.env()));
    EXPECT_EQ(w.ui.messageTexts(), Texts{"You can't select more than 3 WaterAIs, because WaterAI "
                                         "is too big for Korvane to load more than 3 copies"});
    EXPECT_EQ(w.script("player3.slo"), before);
    EXPECT_TRUE(w.state.choices.applyEnabled); // the failed install gives the button back
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
    // With a rules set chosen, the "slo" file comes back too.
    w.state.choices.selectRules("Hard");
    CopyDefaultFiles(w.state, w.env());
    EXPECT_EQ(w.script("rules.slo"), "default rules.slo");
    EXPECT_TRUE(w.ui.messages().empty());
}

TEST(Install, ABrokenAiFileStopsTheInstallWithoutHalfWrittenScripts) {
    const std::pair<const char*, const char*> cases[] = {
        {"1\r\nX\r\n5\r\nonly one line\r\n", "Error:\n62: Input past end of file in '"},
        {"1\r\nX\r\nfive\r\na\r\n", "Error:\n13: Type mismatch (line 3 is no line count: 'five')"},
        {"1\r\nX\r\n-2\r\na\r\n", "Error:\n13: Type mismatch (line 3 is no line count: '-2')"},
        {"1\r\nX\r\n", "Error:\n62: Input past end of file"},
    };
    for (const auto& [bytes, expected] : cases) {
        SCOPED_TRACE(bytes);
        ContentWorld w;
        w.addAi("Good");
        w.writeLauncher("Mods/SkirmishAI/Broken.kvai", bytes);
        w.scan();
        w.state.choices.selectAI(0, "Good");
        w.state.choices.selectAI(1, "Broken");
        const std::string before = w.script("player1.vlo");
        EXPECT_FALSE(makeSloVlo(w.state, w.env()));
        ASSERT_EQ(w.ui.messages().size(), 1u);
        EXPECT_EQ(w.ui.messages()[0].text.rfind(expected, 0), 0u) << w.ui.messages()[0].text;
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

TEST(CreateAi, ScriptPairBecomesAnAiFileWithItsAdditionalFiles) {
    ContentWorld w;
    w.writeGame("multiplay/skirmish/player3.slo", "a();\r\nb();\r\n");
    w.writeGame("multiplay/skirmish/player3.vlo", worldgen::sampleVloText(3, 2));
    w.writeLauncher("pack/Extra.kdg", "extra archive");
    w.writeLauncher("Mods/SkirmishAI/Raider/stale.kdg", "from before");

    for (const char* f : {"player3.slo", "player3.vlo"})
        w.ui.answerFile(w.inGame(std::string("multiplay/skirmish/") + f));
    w.ui.answerInput("Raider");
    w.ui.answerMessage(Answer::Yes); // additional files
    w.ui.answerFile(w.launcher("pack/Extra.kdg"));
    w.ui.answerMessage(Answer::No); // more files?
    ASSERT_TRUE(createAiFile(w.state, w.env()));
    EXPECT_TRUE(w.ui.allAnswersUsed());
    EXPECT_EQ(w.temp.read("kvs/Mods/SkirmishAI/Raider.kvai"),
              "1\r\nRaider\r\n2\r\na();\r\nb();\r\n\r\n\r\n \r\n"
              "    var0            INT                 0\r\n"
              "    var1            INT                 7\r\n}\r\n");
    EXPECT_TRUE(platform::fileExists(w.paths.aiFolder + "Raider/Extra.kdg"));
    EXPECT_FALSE(platform::fileExists(w.paths.aiFolder + "Raider/stale.kdg"));
    EXPECT_NE(w.state.ais.find("Raider"), nullptr); // the catalogue was rescanned
}

TEST(CreateAi, RefusalsAndBrokenVariableFiles) {
    ContentWorld w;
    w.writeGame("a.slo", "x\r\n");
    w.writeGame("noplayer.vlo", "run\r\n{\r\n}\r\n");
    w.writeGame("norun.vlo", "player INT 0\r\n}\r\n");
    w.writeGame("good.vlo", worldgen::sampleVloText(0));

    const std::tuple<const char*, std::optional<std::string>, std::string> cases[] = {
        {"noplayer.vlo", {}, "Error reading vlo file:\r\n'player INT x'"},
        {"norun.vlo", {}, "Error reading .vlo file.\r\nCouldn't find text: 'run'"},
        {"good.vlo", std::nullopt, "AI file was not created!"},
    };
    for (const auto& [vlo, name, message] : cases) {
        SCOPED_TRACE(vlo);
        w.ui.clear();
        w.ui.answerFile(w.inGame("a.slo"));
        w.ui.answerFile(w.inGame(vlo));
        if (message == "AI file was not created!")
            w.ui.answerInput(name);
        EXPECT_FALSE(createAiFile(w.state, w.env()));
        EXPECT_EQ(w.ui.messageTexts(), Texts{message});
        EXPECT_TRUE(w.ui.allAnswersUsed());
    }
    EXPECT_TRUE(platform::listDirectory(w.paths.aiFolder, "*.kvai").empty());
}

// "Tanks" brings "TankPack.kdg" in its own folder and needs "Roads.kdg" and "Bridges.kdg".
void addTankAi(ContentWorld& w) {
    worldgen::DescriptionSpec d;
    d.requiredKdgs = {"Roads.kdg", "Bridges.kdg"};
    w.addAi("Tanks", 600, worldgen::descriptionFileText(d));
    w.writeLauncher("Mods/SkirmishAI/Tanks/TankPack.kdg", archivePlaceholder("tankpack", 300));
    w.writeLauncher("Mods/Required KDGs/Roads.kdg", archivePlaceholder("roads", 200));
    w.scan();
    w.state.choices.selectAI(2, "Tanks");
}

TEST(RequiredArchives, CopyReactivateOrSkipByLength) {
    ContentWorld w;
    addTankAi(w);
    // Same length already active: left alone. Same length inactive: reactivated.
    w.writeGame("TankPack.kdg", archivePlaceholder("other", 300));
    w.writeGame("Roads.kvw", archivePlaceholder("roads", 200));
    CopyAdditionalFiles(w.state, w.env(), 2, w.paths.aiFolder + "Tanks");
    EXPECT_EQ(w.readGame("TankPack.kdg"), archivePlaceholder("other", 300));
    EXPECT_TRUE(w.gameHas("Roads.kdg"));
    EXPECT_FALSE(w.gameHas("Roads.kvw"));
    EXPECT_TRUE(w.state.installed.empty()); // both were the user's files
    EXPECT_EQ(w.ui.messageTexts(), Texts{"'Bridges.kdg', which is required for 'Tanks' AI was not "
                                         "found.\r\nThis AI may not work properly."});
    EXPECT_GE(w.state.mods.indexOf("Roads", true), 0); // the list follows
}

TEST(RequiredArchives, CopiedArchivesAreWorkedOffBeforeTheNextInstallAndOnClose) {
    ContentWorld w;
    addTankAi(w);
    // The user's own archive under a name the AI's archive borrows comes back whole.
    const std::string mine = std::string("a different,\0 shorter archive\r\n", 31);
    w.writeGame("TankPack.kdg", mine);
    ASSERT_TRUE(makeSloVlo(w.state, w.env()));
    EXPECT_EQ(w.readGame("TankPack.kdg"), archivePlaceholder("tankpack", 300));
    EXPECT_EQ(w.readGame("Roads.kdg"), archivePlaceholder("roads", 200));
    const std::string aiSlo = w.script("player2.slo");
    // Only the copied archives are listed; the scripts are the slot's, not extras.
    EXPECT_EQ(w.state.installed.of(2), (Texts{w.inGame("TankPack.kdg"), w.inGame("Roads.kdg")}));

    // The next install deletes them first; with the player set to "<don't change>"
    // nothing comes back and the player's scripts stay as they are.
    w.state.choices.selectAI(2, kDontChange);
    w.ui.clear();
    ASSERT_TRUE(makeSloVlo(w.state, w.env()));
    EXPECT_EQ(w.readGame("TankPack.kdg"), mine);
    EXPECT_FALSE(w.gameHas("Roads.kdg"));
    EXPECT_TRUE(w.state.installed.empty());
    EXPECT_EQ(w.script("player2.slo"), aiSlo);

    // Closing works off the copied archives too (the scripts' defaults: the install test).
    w.state.choices.selectAI(2, "Tanks");
    ASSERT_TRUE(makeSloVlo(w.state, w.env()));
    EXPECT_EQ(w.readGame("TankPack.kdg"), archivePlaceholder("tankpack", 300));
    removeInstalledFiles(w.state, w.env());
    EXPECT_EQ(w.readGame("TankPack.kdg"), mine);
    EXPECT_FALSE(w.gameHas("Roads.kdg"));
}

TEST(RequiredArchives, ANameThatIsNoArchiveIsRefusedAndNothingIsCopied) {
    for (const std::string& name :
         Texts{"korvane.exe", "../../../../../../../etc/hostname", "Sub/Roads.kdg", "..\\Roads.kdg",
               "C:Roads.kdg", std::string("Ro\0ads.kdg", 10)}) {
        ContentWorld w;
        w.writeGame("korvane.exe", "the game");
        w.writeLauncher("Mods/Required KDGs/korvane.exe", "#!/bin/sh\n");
        worldgen::DescriptionSpec d;
        d.requiredKdgs = {name};
        w.addAi("Tanks", 600, worldgen::descriptionFileText(d));
        w.scan();
        w.state.choices.selectAI(2, "Tanks");
        CopyAdditionalFiles(w.state, w.env(), 2, w.paths.aiFolder + "Tanks");
        EXPECT_EQ(w.readGame("korvane.exe"), "the game") << name;
        EXPECT_TRUE(w.state.installed.empty()) << name;
        const std::string why =
            name == "korvane.exe" ? "it does not end in .kdg" : "it is not a plain file name";
        EXPECT_EQ(w.ui.messageTexts(),
                  Texts{"SetRequiredKDG in '" + w.launcher("Mods/INI/AI/Tanks.ini") + "' names '" +
                        shownName(name) + "', which is not copied: " + why +
                        ".\r\nA required archive is the name of a .kdg file in " +
                        w.paths.requiredKdgFolder})
            << name;
    }
}

TEST(RequiredArchives, OriginalArchivesAreNeverWorkedOffOrReplaced) {
    ContentWorld w;
    w.writeGame("Game.kdg", "the game's own");
    worldgen::writeRulesSet(w.paths.launcherFolder, "Hard", "hard");
    w.writeLauncher("Mods/Rules/Hard/Game.kdg", "a replacement");
    w.scan();
    w.state.choices.selectRules("Hard");
    CopyAllAdditionalFiles(w.state, w.env());
    EXPECT_EQ(w.readGame("Game.kdg"), "the game's own");
    w.state.installed.add(InstalledFiles::kRules, w.inGame("Game.kdg"));
    FileGate gate = fileGate(w.env());
    w.state.installed.workOff(w.state.originals, gate);
    EXPECT_TRUE(w.gameHas("Game.kdg"));
}

// The 1.10 set-up numbers every player; without one of its backup scripts it writes nothing.
TEST(DemoContent, LoadsCleanlyAndTheOneTenSetUpNumbersEveryPlayerOrWritesNothing) {
    for (const std::string missing : {"", "player.slo", "player0.vlo"}) {
        SCOPED_TRACE(missing);
        ContentWorld w;
        ASSERT_TRUE(worldgen::makeDemoContent(w.paths.launcherFolder, w.game));
        ASSERT_TRUE(w.state.originals.load(w.paths)); // the demo adds its own archives
        w.scan();
        refreshModList(w.state, w.env());
        const std::string backup = w.launcher("Mods/SkirmishAI/1.10 backup/" + missing);
        ASSERT_TRUE(missing.empty() || platform::deleteFile(backup));
        const std::string before = w.script("player4.slo") + w.script("player4.vlo");
        w.ui.answerMessage(Answer::Yes);
        EXPECT_TRUE(makeCompatible110(w.state, w.env()) || !missing.empty());
        const Texts texts = w.ui.messageTexts();
        ASSERT_EQ(texts.size(), 2u);
        EXPECT_EQ(texts[1].substr(0, 11), missing.empty() ? "Done" : "Error:\n53: ");
        if (!missing.empty()) {
            EXPECT_EQ(w.script("player4.slo") + w.script("player4.vlo"), before);
            continue;
        }
        EXPECT_TRUE(!w.gameHas("Tanks.kdg") && w.gameHas("korvane.kdg"));
        const std::string vlo = w.script("player3.vlo");
        ASSERT_GE(vlo.size(), 259u);
        EXPECT_EQ(std::string({vlo[224], vlo[258]}) + vlo.substr(vlo.size() - 3), "33}\r\n");
        EXPECT_EQ(w.script("player3.slo"),
                  w.temp.read("kvs/Mods/SkirmishAI/1.10 backup/player.slo"));
        EXPECT_EQ(w.script("rules.slo"), "// 1.10 rules\r\n");
    }
}

} // namespace
} // namespace kv::content
