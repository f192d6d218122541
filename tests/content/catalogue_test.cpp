#include "content/catalogue_scan.h"

#include "content/manager_actions.h"
#include "content/mod_activation.h"
#include "content/player_selection.h"
#include "platform/files.h"
#include "tests/content/content_world.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace kv::content {
namespace {

using test::ContentWorld;
using test::Texts;

int entryOf(const ContentWorld& w, const std::string& name) {
    const auto& items = w.state.choices.players[0].items;
    return int(std::find(items.begin(), items.end(), name) - items.begin());
}

TEST(Catalogue, EmptyOrMisnamedAiFilesAreNeverListed) {
    ContentWorld w;
    w.addAi("Alpha");
    w.addAi("Al\x01pha");
    w.writeLauncher("Mods/SkirmishAI/Broken.kvai", "");
    w.scan();
    EXPECT_FALSE(platform::fileExists(w.launcher("Mods/SkirmishAI/Broken.kvai")));
    ASSERT_EQ(w.ui.messages().size(), 3u);
    EXPECT_EQ(w.ui.messageTexts()[1],
              "'Al?pha' in '" + w.paths.aiFolder +
                  "' is not used: a name may not hold '/', '\\', '..', ':' or control characters.");
    EXPECT_EQ(w.ui.messages()[0].text, "An empty AI file was found: '" +
                                           w.launcher("Mods/SkirmishAI/Broken.kvai") +
                                           "'\r\nThis file was deleted");
    for (const auto& list : w.state.choices.players)
        EXPECT_EQ(list.items, (Texts{"<don't change>", "Alpha", "<Random>"}));
}

// Beta's description file holds only what is complained about.
TEST(Catalogue, AiDescriptionFilesFillTheRecordOrAreComplainedAbout) {
    ContentWorld w;
    w.addAi("Alpha", 600,
            "AuthorName = \"Anna\" // the author\r\n"
            "AuthorEmail = \"anna@example.org\"\r\n"
            "AuthorHomepage = \"http://example.org/ai\"\r\n"
            "Description = \"Builds \"\r\nDescription = \"fast\\nand wide\"\r\n"
            "SetRequiredKDG = \"Roads.kdg\"\r\nSetRequiredKDG = \"%KVSPath%x.kdg\"\r\n"
            "SetMaxAIInstances = \"4\"\r\nSetBasesState = \"2\"\r\nEnableDebugMode = \"1\"\r\n"
            "EnableAlliances()\r\nSetBasesState(\"3\")\r\n");
    w.addAi("Beta", 600,
            "Colour = \"red\"\r\nBuildWalls()\r\nSetBasesState(\"4\")\r\nSetBasesState(2)\r\n"
            "SetBasesState(\"a\", \"b\")\r\nSetBasesState(\"many\")\r\n");
    w.scan();
    EXPECT_EQ(w.ui.messageTexts(),
              (Texts{"Unknown command found: 'Colour'.",
                     "Unknown command found in 'Beta.ini' file:\r\n\r\nBuildWalls()",
                     "INI Error: Value for SetBasesState() must be in the range of 1-3, found: 4.",
                     "Wrong argument format in function: \r\nSetBasesState(2)\r\n\r\nArgument: "
                     "2\r\nArgument Index: 0\r\n",
                     "Wrong number of arguments in function:\r\nSetBasesState(2)\r\n\r\nFound "
                     "arguments: 0\r\nExpected: 1",
                     "Wrong number of arguments in function:\r\nSetBasesState(\"a\", "
                     "\"b\")\r\n\r\nFound arguments: 2\r\nExpected: 1"}));
    EXPECT_EQ(w.state.ais.find("Beta")->info.baseStateRequired, 0);
    const Description& ai = w.state.ais.find("Alpha")->info;
    EXPECT_TRUE(ai.loaded && ai.alliancesRequired);
    EXPECT_EQ(ai.authorName + "|" + ai.authorEmail + "|" + ai.authorHomepage + "|" + ai.description,
              "Anna|anna@example.org|http://example.org/ai|Builds fast\r\nand wide");
    EXPECT_EQ(ai.requiredKdgs, (Texts{"Roads.kdg", w.paths.launcherFolder + "x.kdg"}));
    EXPECT_EQ(std::pair(ai.maxInstances, ai.baseStateRequired), std::pair(4, 3));
}

TEST(Catalogue, RulesSetsNeedAScriptAndTheirDescriptionLinesStartOnANewLine) {
    ContentWorld w;
    worldgen::writeRulesSet(w.paths.launcherFolder, "Hard", "hard");
    w.writeLauncher("Mods/INI/Rules/Hard.ini",
                    "Description = \"Tough\"\r\nSetMaxAIInstances = \"2\"\r\n");
    w.writeLauncher("Mods/Rules/NoVlo/rules.slo", "s");
    w.writeLauncher("Mods/Rules/Empty/readme.txt", "nothing");
    w.scan();
    EXPECT_EQ(w.state.choices.rules.items, (Texts{"<don't change>", "Hard"}));
    EXPECT_EQ(w.state.rules.find("Hard")->info.description, "\r\nTough");
    EXPECT_EQ(w.ui.messageTexts(), (Texts{"Unknown command found: 'SetMaxAIInstances'.",
                                          "'NoVlo' VLO file was not found in directory:\r\n\r\n" +
                                              w.paths.rulesFolder + "NoVlo/",
                                          "Failed to load 'NoVlo' Rules file."}));
}

TEST(Catalogue, DeletingARulesSetAsksAndSelectsTheFirstEntry) {
    ContentWorld w;
    worldgen::writeRulesSet(w.paths.launcherFolder, "Hard", "hard");
    w.writeLauncher("Mods/Rules/Hard/maps/extra.txt", "x");
    w.scan();
    deleteRulesSet(w.state, w.env());
    EXPECT_EQ(w.ui.messageTexts(), Texts{"No Rules selected!"});

    w.state.choices.selectRules("Hard");
    w.ui.answerMessage(Answer::No);
    deleteRulesSet(w.state, w.env());
    EXPECT_TRUE(platform::folderExists(w.paths.rulesFolder + "Hard"));
    w.ui.answerMessage(Answer::Yes);
    deleteRulesSet(w.state, w.env());
    EXPECT_FALSE(platform::folderExists(w.paths.rulesFolder + "Hard"));
    EXPECT_EQ(w.state.choices.rules.items, Texts{"<don't change>"});
    EXPECT_EQ(w.state.choices.rules.selected, 0);
}

TEST(Catalogue, CompatibleOnlyWhenOneArchiveCarryingAiIsChosen) {
    ContentWorld w;
    for (const char* name : {"Tanks", "Boats", "Plain"})
        w.addAi(name);
    w.writeLauncher("Mods/SkirmishAI/Tanks/Tanks.kdg", "t");
    w.writeLauncher("Mods/SkirmishAI/Boats/Boats.KDG", "b");
    w.scan();

    ASSERT_TRUE(choosePlayerAI(w.state, w.env(), 0, entryOf(w, "Tanks")));
    ASSERT_TRUE(choosePlayerAI(w.state, w.env(), 1, entryOf(w, "Tanks"))); // same AI
    ASSERT_TRUE(choosePlayerAI(w.state, w.env(), 2, entryOf(w, "Plain"))); // no archives
    EXPECT_TRUE(w.ui.messages().empty());
    w.ui.answerMessage(Answer::No);
    EXPECT_FALSE(choosePlayerAI(w.state, w.env(), 3, entryOf(w, "Boats")));
    EXPECT_EQ(w.ui.messageTexts(), Texts{"'Boats' (Player 3) is incompatible with 'Tanks' (Player "
                                         "0) .\r\nWould you like to enable it anyway?"});
    EXPECT_EQ(w.state.choices.choice(3), "<don't change>");

    w.ui.answerMessage(Answer::Yes);
    EXPECT_TRUE(choosePlayerAI(w.state, w.env(), 3, entryOf(w, "Boats")));
    EXPECT_EQ(w.state.choices.remembered[3], "Boats");
}

TEST(Catalogue, SettingsSelectTheListsAndReportMissingNames) {
    ContentWorld w;
    w.addAi("Alpha");
    worldgen::writeRulesSet(w.paths.launcherFolder, "Hard", "hard");
    w.scan();
    w.writeLauncher("Settings/starter.ini",
                    "ai0 = Alpha\r\nAI1=Ghost\r\nAI2=\r\nrulesfile = Hard\r\nAI9=Alpha\r\n");
    loadAI(w.state, w.env(), w.paths.settingsFolder + "starter.ini");
    EXPECT_EQ(w.state.choices.choice(0) + "|" + w.state.choices.choice(1) + "|" +
                  w.state.choices.rulesChoice(),
              "Alpha|<don't change>|Hard");
    EXPECT_EQ(w.ui.messageTexts(), Texts{"'Ghost' AI was not found!"});

    w.ui.clear();
    w.writeLauncher("Settings/old.ini", "x=1\r\nai:\r\n<don't change>\r\nAlpha\r\nAlpha\r\n\r\n"
                                        "\r\n\r\n\r\nGhost\r\nSoft\r\n");
    loadAI2(w.state, w.env(), w.paths.settingsFolder + "old.ini");
    EXPECT_EQ(w.state.choices.choice(0) + "|" + w.state.choices.choice(2), "<don't change>|Alpha");
    EXPECT_EQ(w.ui.messageTexts(),
              (Texts{"'Ghost' AI was not found!", "'Soft' rules file was not found."}));

    // A rescan keeps what was chosen.
    w.scan();
    EXPECT_EQ(w.state.choices.choice(2), "Alpha");
}

// The manager's deletions: the question first, then exactly the files it names, and the
// catalogue or list rescanned.

TEST(Manager, DeletingAnAiTakesItsKdgFilesAndTheFolderOnlyWhenEmpty) {
    ContentWorld w;
    w.addAi("Alpha");
    w.addAi("Beta");
    for (const char* f :
         {"Alpha/extra.kdg", "Alpha/more.KDG", "Beta/extra.kdg", "Beta/player0.slo"})
        w.writeLauncher(std::string("Mods/SkirmishAI/") + f, "K");
    w.scan();
    // A read-only AI file goes all the same.
    platform::setAttributes(w.launcher("Mods/SkirmishAI/Alpha.kvai"), platform::AttrReadOnly);
    w.ui.answerMessage(Answer::No);
    EXPECT_FALSE(managerDeleteAi(w.state, w.env(), "Alpha"));
    EXPECT_TRUE(platform::fileExists(w.launcher("Mods/SkirmishAI/Alpha.kvai")));

    w.ui.answerMessage(Answer::Yes);
    w.ui.answerMessage(Answer::Yes);
    EXPECT_TRUE(managerDeleteAi(w.state, w.env(), "Alpha"));
    EXPECT_TRUE(managerDeleteAi(w.state, w.env(), "Beta"));
    EXPECT_EQ(w.ui.messages()[0].text, "Are you sure you want to delete 'Alpha' ?");
    std::string left;
    for (const char* f : {"Alpha", "Beta.kvai", "Beta/extra.kdg", "Beta/player0.slo"})
        left += platform::pathExists(w.launcher(std::string("Mods/SkirmishAI/") + f)) ? f : "";
    EXPECT_EQ(left, "Beta/player0.slo");
    EXPECT_TRUE(w.state.ais.records.empty());
}

TEST(Manager, DescriptionFilesAreDeletedOnlyWhereTheyExist) {
    ContentWorld w;
    w.addAi("Plain");
    w.addAi("Described", 600, "AuthorName = \"Anna\"\r\nSetMaxAIInstances = \"2\"\r\n");
    w.scan();
    EXPECT_FALSE(managerDeleteAiDescription(w.state, w.env(), "Plain")); // no question
    EXPECT_TRUE(w.ui.messages().empty());

    w.ui.answerMessage(Answer::Cancel);
    EXPECT_FALSE(managerDeleteAiDescription(w.state, w.env(), "Described"));
    w.ui.answerMessage(Answer::Yes);
    EXPECT_TRUE(managerDeleteAiDescription(w.state, w.env(), "Described"));
    EXPECT_EQ(w.ui.messages()[1].text, "Are you sure you want to delete 'Described.ini' ?");
    EXPECT_FALSE(platform::fileExists(w.launcher("Mods/INI/AI/Described.ini")));
    EXPECT_TRUE(platform::fileExists(w.launcher("Mods/SkirmishAI/Described.kvai")));
    EXPECT_FALSE(w.state.ais.find("Described")->info.loaded);
}

TEST(Manager, ModDescriptionsGoAfterTheirQuestionAndBackupRulesAreOnlyForgotten) {
    ContentWorld w;
    w.writeGame("BigMod.kdg", "K");
    w.writeLauncher("Mods/INI/KDG Files/BigMod.ini", "AuthorName = \"Ole\"\r\n");
    refreshModList(w.state, w.env());
    w.ui.answerMessage(Answer::Yes);
    EXPECT_TRUE(managerDeleteModDescription(w.state, w.env(), 0));
    EXPECT_EQ(w.ui.messageTexts(), Texts{"Are you sure you want to delete 'BigMod.ini' ?"});
    EXPECT_FALSE(platform::fileExists(w.launcher("Mods/INI/KDG Files/BigMod.ini")));
    EXPECT_TRUE(w.gameHas("BigMod.kdg"));
    EXPECT_FALSE(w.state.mods.entries[0].descriptionLoaded);

    // A set loaded from the launcher's backup of the game's scripts is only forgotten.
    w.writeLauncher("resources/backup/rules.slo", "default S");
    w.writeLauncher("resources/backup/rules.vlo", "default V");
    ASSERT_TRUE(InstallRules(w.state, w.env(), "Backup", w.launcher("resources/backup")));
    w.ui.answerMessage(Answer::Yes);
    EXPECT_TRUE(managerDeleteRules(w.state, w.env(), "Backup"));
    EXPECT_EQ(w.temp.read("kvs/resources/backup/rules.slo"), "default S");
    EXPECT_EQ(w.state.rules.find("Backup"), nullptr);
}

} // namespace
} // namespace kv::content
