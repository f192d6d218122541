#include "content/mod_activation.h"

#include "platform/files.h"
#include "platform/text.h"
#include "tests/content/content_world.h"
#include "tools/worldgen/kdg_sample.h"

#include <gtest/gtest.h>

namespace kv::content {
namespace {

using test::ContentWorld;
using test::Texts;
using worldgen::archivePlaceholder;

TEST(ModList, ActiveFirstThenInactiveWithOriginalsHiddenInAnyLetterCase) {
    ContentWorld w;
    for (const char* name : {"GAME.KDG", "sounds.kvw", "Tanks.kvw", "Maps.kdg"})
        w.writeGame(name, archivePlaceholder(name, 64));
    w.writeGame("Notes.txt", "x");
    w.writeGame(".kdg", "x"); // a name that is all extension is no MOD
    refreshModList(w.state, w.env());
    ASSERT_EQ(w.modEntries(), (Texts{"Maps+", "Tanks-"}));
    EXPECT_EQ(w.state.mods.entries[1].fileName, "Tanks.kvw");
    EXPECT_FALSE(w.state.mods.deleteEnabled);
    selectMod(w.state, w.env(), 1);
    EXPECT_EQ(w.state.mods.deleteCaption, "Delete 'Tanks'");
    EXPECT_TRUE(w.state.mods.deleteEnabled);
}

TEST(ModList, TickingAndUntickingRenamesOnDiskAndWritesTheStepLog) {
    ContentWorld w;
    w.debug = true;
    w.writeGame("Tanks.kvw", archivePlaceholder("tanks", 64));
    w.writeLauncher("Mods/INI/KDG Files/Tanks.ini",
                    "AuthorName = \"Rolf\"\r\nDescription = \"Heavy\\nArmour\"\r\n");
    refreshModList(w.state, w.env());
    EXPECT_EQ(w.state.mods.entries[0].authorName + "|" + w.state.mods.entries[0].description,
              "Rolf|Heavy\r\nArmour");
    w.state.busy = true; // tick events while the list is busy are ignored
    setModChecked(w.state, w.env(), 0, true);
    EXPECT_TRUE(w.gameHas("Tanks.kvw"));
    w.state.busy = false;
    setModChecked(w.state, w.env(), 0, true);
    EXPECT_TRUE(w.gameHas("Tanks.kdg"));
    EXPECT_FALSE(w.gameHas("Tanks.kvw"));
    EXPECT_EQ(w.modEntries(), Texts{"Tanks+"});
    EXPECT_TRUE(w.state.mods.enabled);
    Texts log;
    ASSERT_TRUE(platform::readTextLines(w.launcher("Debug.dat"), log));
    EXPECT_EQ(log, (Texts{"_______________Initialized (Tanks)", "->Enabled",
                          "->Prepairing to rename MOD to KDG", "->Finished, refreshing MOD List",
                          "__________________________DONE___________________________"}));

    w.debug = false; // the next operation deletes the old log and writes none
    setModChecked(w.state, w.env(), 0, false);
    EXPECT_TRUE(w.gameHas("Tanks.kvw"));
    EXPECT_EQ(w.modEntries(), Texts{"Tanks-"});
    EXPECT_FALSE(platform::fileExists(w.launcher("Debug.dat")));
    EXPECT_TRUE(w.ui.messages().empty());
}

TEST(ModList, UntickingAsksWhetherToDeleteTheOldDisabledOne) {
    const std::string question =
        "Can't disable MOD, you already have a disabled 'Tanks' MOD. Delete old file?";
    for (const bool yes : {true, false}) {
        SCOPED_TRACE(yes);
        ContentWorld w;
        w.debug = true;
        w.writeGame("Tanks.kdg", "new archive");
        w.writeGame("Tanks.kvw", "old archive");
        refreshModList(w.state, w.env());
        w.ui.answerMessage(yes ? Answer::Yes : Answer::No);
        setModChecked(w.state, w.env(), 0, false);
        EXPECT_EQ(w.ui.messageTexts(),
                  (yes ? Texts{question} : Texts{question, "MOD was not disabled."}));
        EXPECT_EQ(w.gameHas("Tanks.kdg"), !yes);
        EXPECT_EQ(w.readGame("Tanks.kvw"), yes ? "new archive" : "old archive");
        EXPECT_EQ(w.modEntries(), (yes ? Texts{"Tanks-"} : Texts{"Tanks+", "Tanks-"}));
        std::string log;
        platform::readFile(w.launcher("Debug.dat"), log);
        EXPECT_NE(log.find(yes ? "->Disabled MOD deleted, error status:0\r\n"
                               : "->User has choosen not to delete old disabled MOD, finishing"),
                  std::string::npos);
    }
}

// The archive was renamed outside the launcher after the list was built: the only copy
// is the target, so nothing is asked, nothing deleted and the list shows the truth.
TEST(ModList, TickingAnEntryWhoseArchiveWasRenamedMeanwhileKeepsTheOnlyCopy) {
    for (const bool tick : {false, true}) {
        SCOPED_TRACE(tick);
        ContentWorld w;
        const char* listed = tick ? "Tanks.kvw" : "Tanks.kdg";
        const char* renamed = tick ? "Tanks.kdg" : "Tanks.kvw";
        w.writeGame(listed, "the only copy");
        refreshModList(w.state, w.env());
        ASSERT_TRUE(platform::renameEntry(w.inGame(listed), w.inGame(renamed)));
        setModChecked(w.state, w.env(), 0, tick);
        EXPECT_TRUE(w.ui.messages().empty());
        EXPECT_EQ(w.readGame(renamed), "the only copy");
        EXPECT_EQ(w.modEntries(), Texts{tick ? "Tanks+" : "Tanks-"});
        EXPECT_TRUE(w.state.mods.enabled);
    }
}

TEST(ModList, DisableAllAsksInsteadOfOverwritingAnInactiveArchive) {
    ContentWorld w;
    for (const auto& [name, text] : {std::pair{"Game.kdg", "original"}, {"Maps.kdg", "maps"},
                                     {"Tanks.kdg", "new"}, {"Tanks.kvw", "old"}})
        w.writeGame(name, text);
    w.ui.answerMessage(Answer::No);
    DisableAllMODs(w.state, w.env());
    EXPECT_TRUE(w.gameHas("Game.kdg"));
    EXPECT_EQ(w.readGame("Maps.kvw"), "maps");
    EXPECT_EQ(w.readGame("Tanks.kdg"), "new");
    EXPECT_EQ(w.readGame("Tanks.kvw"), "old");
    EXPECT_EQ(w.ui.messageTexts(),
              (Texts{"Can't disable MOD, you already have a disabled 'Tanks' MOD. Delete old file?",
                     "MOD was not disabled."}));

    w.ui.clear();
    w.ui.answerMessage(Answer::Yes);
    DisableAllMODs(w.state, w.env());
    EXPECT_FALSE(w.gameHas("Tanks.kdg"));
    EXPECT_EQ(w.readGame("Tanks.kvw"), "new");
}

TEST(ModList, DeleteAsksForTheFileOfTheEntrysState) {
    ContentWorld w;
    w.writeGame("Tanks.kvw", "a");
    refreshModList(w.state, w.env());
    deleteMod(w.state, w.env());
    EXPECT_EQ(w.ui.messageTexts(), Texts{"No KDG's selected!"});

    w.ui.clear();
    selectMod(w.state, w.env(), 0);
    w.ui.answerMessage(Answer::No);
    deleteMod(w.state, w.env());
    EXPECT_TRUE(w.gameHas("Tanks.kvw"));
    EXPECT_EQ(w.ui.messageTexts(),
              Texts{"Are you sure you want to delete 'Tanks.kvw' from your HD?"});

    selectMod(w.state, w.env(), 0);
    w.ui.answerMessage(Answer::Yes);
    deleteMod(w.state, w.env());
    EXPECT_FALSE(w.gameHas("Tanks.kvw"));
    EXPECT_TRUE(w.state.mods.entries.empty());
}

TEST(ModList, RenameFileAndRenameKdgsOnExit) {
    ContentWorld w;
    EXPECT_FALSE(RenameFile(w.env(), w.inGame("None.kdg"), w.inGame("None.kvw"), false));
    EXPECT_EQ(w.ui.messageTexts(),
              Texts{"RenameFile() - '" + w.inGame("None.kdg") + "' doesn't exist."});

    w.writeGame("A.kdg", "new");
    w.writeGame("A.kvw", "old");
    EXPECT_FALSE(RenameFile(w.env(), w.inGame("A.kdg"), w.inGame("A.kvw"), false));
    EXPECT_EQ(w.readGame("A.kvw"), "old");
    EXPECT_TRUE(RenameFile(w.env(), w.inGame("A.kdg"), w.inGame("A.kvw"), true));
    EXPECT_EQ(w.readGame("A.kvw"), "new");

    // An entry left unticked whose archive came back active is switched off on exit.
    w.writeGame("B.kvw", "b");
    refreshModList(w.state, w.env());
    platform::renameEntry(w.inGame("B.kvw"), w.inGame("B.kdg"));
    RenameKDGs(w.state, w.env());
    EXPECT_TRUE(w.gameHas("B.kvw"));
    EXPECT_FALSE(w.gameHas("B.kdg"));
}

TEST(ModList, DisableUnsafeSwitchesOffArchivesWithCustomContent) {
    ContentWorld w;
    // The sample mod carries a names list; the plain one only an unnamed file.
    const worldgen::KdgSample mod = worldgen::sampleModArchive("Names", 7, 1);
    worldgen::KdgArchiveSpec plain;
    plain.sections.push_back({worldgen::kdgNameHash("Plain.krf"), {worldgen::kdgFile(0x52, "data", 0x51)}});
    w.writeGame("Names.kdg", worldgen::buildKdgArchive(mod.plan));
    w.writeGame("Plain.kdg", worldgen::buildKdgArchive(plain));
    w.writeGame("Broken.kdg", "not an archive");
    w.writeGame("Off.kvw", worldgen::buildKdgArchive(mod.plan));
    refreshModList(w.state, w.env());
    const kdg::NameTables tables(mod.files, worldgen::sampleTypeRows());
    DisableUnsafeMODs(w.state, w.env(), tables);
    for (const char* name : {"Names.kvw", "Plain.kdg", "Broken.kdg", "Off.kvw"})
        EXPECT_TRUE(w.gameHas(name)) << name;
    EXPECT_EQ(w.ui.messageTexts(), Texts{"Failed to load '" + w.inGame("Broken.kdg") + "'."});
}

} // namespace
} // namespace kv::content
