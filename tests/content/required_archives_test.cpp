#include "content/required_archives.h"

#include "content/catalogue_scan.h"
#include "content/content_names.h"
#include "content/install.h"
#include "content/player_selection.h"
#include "platform/files.h"
#include "tests/content/content_world.h"

#include <gtest/gtest.h>

namespace kv::content {
namespace {

using test::ContentWorld;
using test::Texts;
using worldgen::archivePlaceholder;

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

    // Nothing to bring the second time; the list is rebuilt all the same, so an archive
    // the user put there meanwhile shows.
    w.writeGame("Maps.kdg", archivePlaceholder("maps", 100));
    w.ui.clear();
    CopyAdditionalFiles(w.state, w.env(), 2, w.paths.aiFolder + "Tanks");
    EXPECT_GE(w.state.mods.indexOf("Maps", true), 0);
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

} // namespace
} // namespace kv::content
