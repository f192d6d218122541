// The manager's deletions: the question first, then exactly the files it names, and the
// catalogue or list rescanned.
#include "content/catalogue_scan.h"
#include "content/manager_actions.h"
#include "content/mod_activation.h"
#include "platform/files.h"
#include "tests/content/content_world.h"
#include "tests/support/trash_home.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace kv::content {
namespace {

using test::ContentWorld;
using test::Texts;

TEST(Manager, DeletingAnAiTakesItsKdgFilesAndTheFolderOnlyWhenEmpty) {
    ContentWorld w;
    w.addAi("Alpha");
    w.addAi("Beta");
    for (const char* f : {"Alpha/extra.kdg", "Alpha/more.KDG", "Beta/extra.kdg", "Beta/player0.slo"})
        w.writeLauncher(std::string("Mods/SkirmishAI/") + f, "K");
    w.scan();
    ASSERT_EQ(w.state.ais.records.size(), 2u);

    w.ui.answerMessage(Answer::No);
    EXPECT_FALSE(managerDeleteAi(w.state, w.env(), "Alpha"));
    EXPECT_TRUE(platform::fileExists(w.launcher("Mods/SkirmishAI/Alpha.kvai")));

    w.ui.answerMessage(Answer::Yes);
    w.ui.answerMessage(Answer::Yes);
    EXPECT_TRUE(managerDeleteAi(w.state, w.env(), "Alpha"));
    EXPECT_TRUE(managerDeleteAi(w.state, w.env(), "Beta"));
    EXPECT_EQ(w.ui.messages()[0].text, "Are you sure you want to delete 'Alpha' ?");
    EXPECT_FALSE(platform::pathExists(w.launcher("Mods/SkirmishAI/Alpha")));
    EXPECT_FALSE(platform::fileExists(w.launcher("Mods/SkirmishAI/Beta.kvai")));
    EXPECT_FALSE(platform::fileExists(w.launcher("Mods/SkirmishAI/Beta/extra.kdg")));
    EXPECT_TRUE(platform::fileExists(w.launcher("Mods/SkirmishAI/Beta/player0.slo")));
    EXPECT_TRUE(w.state.ais.records.empty());
}

TEST(Manager, AReadOnlyAiIsDeletedAndAFileThatStaysComesBack) {
    ContentWorld w;
    w.addAi("Locked");
    w.scan();
    platform::setAttributes(w.launcher("Mods/SkirmishAI/Locked.kvai"), platform::AttrReadOnly);
    w.ui.answerMessage(Answer::Yes);
    EXPECT_TRUE(managerDeleteAi(w.state, w.env(), "Locked"));
    EXPECT_FALSE(platform::fileExists(w.launcher("Mods/SkirmishAI/Locked.kvai")));

    // A folder in place of the file cannot go: the catalogue shows what is still there.
    w.addAi("Stays");
    w.scan();
    std::filesystem::permissions(w.launcher("Mods/SkirmishAI"),
                                 std::filesystem::perms::owner_read |
                                     std::filesystem::perms::owner_exec);
    w.ui.answerMessage(Answer::Yes);
    managerDeleteAi(w.state, w.env(), "Stays");
    std::filesystem::permissions(w.launcher("Mods/SkirmishAI"), std::filesystem::perms::owner_all);
    EXPECT_EQ(w.state.ais.find("Stays") != nullptr,
              platform::fileExists(w.launcher("Mods/SkirmishAI/Stays.kvai")));
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

TEST(Manager, RulesSetsAndModArchivesGoAfterTheirQuestion) {
    ContentWorld w;
    worldgen::writeRulesSet(w.paths.launcherFolder, "Fast", "fast");
    w.writeGame("BigMod.kdg", "K");
    w.writeGame("Other.kvw", "K");
    w.writeLauncher("Mods/INI/KDG Files/BigMod.ini", "AuthorName = \"Ole\"\r\n");
    w.scan();
    refreshModList(w.state, w.env());

    w.ui.answerMessage(Answer::Yes);
    EXPECT_TRUE(managerDeleteRules(w.state, w.env(), "Fast"));
    EXPECT_FALSE(platform::pathExists(w.launcher("Mods/Rules/Fast")));
    EXPECT_TRUE(platform::fileExists(test::trashed("Fast/rules.slo")));
    EXPECT_EQ(w.ui.messages()[0].text, "Are you sure you want to delete 'Fast' ?");

    ASSERT_EQ(w.modEntries(), (Texts{"BigMod+", "Other-"}));
    w.ui.answerMessage(Answer::Cancel);
    EXPECT_FALSE(managerDeleteMod(w.state, w.env(), 1));
    w.ui.answerMessage(Answer::Yes);
    EXPECT_TRUE(managerDeleteMod(w.state, w.env(), 1));
    EXPECT_EQ(w.ui.messages()[2].text, "Are you sure you want to delete 'Other.kvw' ?");
    EXPECT_FALSE(w.gameHas("Other.kvw"));
    EXPECT_TRUE(w.gameHas("BigMod.kdg"));
    EXPECT_EQ(w.modEntries(), Texts{"BigMod+"});
    EXPECT_FALSE(managerDeleteMod(w.state, w.env(), 5));
    ASSERT_TRUE(w.state.mods.entries[0].descriptionLoaded);
    w.ui.answerMessage(Answer::Yes);
    EXPECT_TRUE(managerDeleteModDescription(w.state, w.env(), 0));
    EXPECT_EQ(w.ui.messages()[3].text, "Are you sure you want to delete 'BigMod.ini' ?");
    EXPECT_FALSE(platform::fileExists(w.launcher("Mods/INI/KDG Files/BigMod.ini")));
    EXPECT_TRUE(w.gameHas("BigMod.kdg"));
    EXPECT_FALSE(w.state.mods.entries[0].descriptionLoaded);
    // Now there is nothing to delete, and nothing is asked.
    EXPECT_FALSE(managerDeleteModDescription(w.state, w.env(), 0));
    EXPECT_EQ(w.ui.messages().size(), 4u);
    EXPECT_TRUE(platform::fileExists(test::trashed("Other.kvw")));

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
