#include "content/mod_activation.h"

#include "content/mod_conflicts.h"
#include "kdg/name_tables.h"
#include "platform/files.h"
#include "platform/text.h"
#include "tests/content/content_world.h"
#include "tests/support/tool_run.h"
#include "tools/worldgen/kdg_name_tables.h"
#include "tools/worldgen/kdg_named_archive.h"
#include "tools/worldgen/kdg_sample.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

namespace kv::content {
namespace {

using test::ContentWorld;
using test::Texts;
using worldgen::archivePlaceholder;
using worldgen::writeNamedArchives;

TEST(ModList, ActiveFirstThenInactiveWithOriginalsHiddenInAnyLetterCase) {
    ContentWorld w;
    for (const char* name : {"GAME.KDG", "sounds.kvw", "Tanks.kvw", "Maps.kdg"})
        w.writeGame(name, archivePlaceholder(name, 64));
    w.writeGame("Notes.txt", "x");
    w.writeGame(".kdg", "x"); // a name that is all extension is no MOD
    refreshModList(w.state, w.env());
    ASSERT_EQ(w.modEntries(), (Texts{"Maps+", "Tanks-"}));
    EXPECT_EQ(w.state.mods.entries[1].fileName, "Tanks.kvw");
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
    for (const auto& [name, text] : {std::pair{"Game.kdg", "original"},
                                     {"Maps.kdg", "maps"},
                                     {"Tanks.kdg", "new"},
                                     {"Tanks.kvw", "old"}})
        w.writeGame(name, text);
    w.ui.answerMessage(Answer::No);
    DisableAllMODs(w.state, w.env());
    EXPECT_TRUE(w.gameHas("Game.kdg"));
    EXPECT_EQ(w.readGame("Maps.kvw") + "|" + w.readGame("Tanks.kdg") + "|" +
                  w.readGame("Tanks.kvw"),
              "maps|new|old");
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

TEST(ModList, DisableUnsafeSwitchesOffArchivesWithCustomContent) {
    ContentWorld w;
    // The sample mod carries a names list; the plain one only an unnamed file.
    const worldgen::KdgSample mod = worldgen::sampleModArchive("Names", 7, 1);
    worldgen::KdgArchiveSpec plain;
    plain.sections.push_back(
        {worldgen::kdgNameHash("Plain.krf"), {worldgen::kdgFile(0x52, "data", 0x51)}});
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

std::string sortedList(Texts items) {
    std::sort(items.begin(), items.end());
    std::string out;
    for (const std::string& s : items)
        out += (out.empty() ? "" : ",") + s;
    return out;
}

// MOD -> "entry <mods> | <originals>", order-free: the folder's order is the system's.
std::map<std::string, Texts> describe(const ConflictReport& report) {
    std::map<std::string, Texts> out;
    for (const ModConflicts& mod : report.mods) {
        Texts& lines = out[mod.mod];
        for (const SharedEntry& e : mod.entries)
            lines.push_back(e.name + " <" + sortedList(e.mods) + "> | " + sortedList(e.originals));
        std::sort(lines.begin(), lines.end());
    }
    return out;
}

struct Case {
    const char* what;
    std::vector<worldgen::ArchiveSketch> archives;
    std::map<std::string, Texts> expected;
};

TEST(ModConflicts, SharedAndReplacedEntriesOfTheActiveMods) {
    const std::vector<Case> cases = {
        {"two MODs share entries, letter case aside; one of them replaces an original",
         {{"Game.kdg", {"texpages\\Tank.pie", "Readme.txt"}},
          {"Tanks.kdg", {"texpages\\Tank.pie", "Names.txt", "Only.txt"}},
          {"Islands.kdg", {"NAMES.TXT", "multiplay\\maps\\Game.map"}}},
         {{"Tanks", {"Names.txt <Islands> | ", "texpages\\Tank.pie <> | Game.kdg"}},
          {"Islands", {"Names.txt <Tanks> | "}}}},
        {"inactive MODs and the game's own inactive copies are left out",
         {{"Sounds.kvw", {"x.wav"}},
          {"Old.kvw", {"x.wav", "shared.txt"}},
          {"New.kdg", {"x.wav", "shared.txt"}}},
         {{"New", {}}}},
        {"entries are the same file by hash: a name shown alike with another hash is not",
         {{"A.kdg", {"one\\x.txt", "\\two\\\\y.txt", "z.txt"}},
          {"B.kdg", {"two\\x.txt", "two\\y.txt", "one\\z.txt"}}},
         {{"A", {}}, {"B", {}}}},
        {"a name twice in one archive counts once; three MODs name each other",
         {{"A.kdg", {"m.txt", "M.txt"}}, {"B.kdg", {"m.txt"}}, {"C.kdg", {"m.txt"}}},
         {{"A", {"m.txt <B,C> | "}}, {"B", {"m.txt <A,C> | "}}, {"C", {"m.txt <A,B> | "}}}},
        {"an original listed in another letter case, and originals never compared together",
         {{"GAME.KDG", {"u.txt", "v.txt"}}, {"sounds.kdg", {"u.txt"}}, {"Mod.kdg", {"u.txt"}}},
         {{"Mod", {"u.txt <> | GAME.KDG,sounds.kdg"}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ContentWorld w;
        const kdg::NameTables tables = writeNamedArchives(w.game, c.archives);
        const ConflictReport report = findModConflicts(w.game, w.state.originals, tables);
        EXPECT_TRUE(report.damaged.empty());
        EXPECT_FALSE(report.stopped);
        EXPECT_EQ(describe(report), c.expected);
    }
}

TEST(ModConflicts, DamagedArchivesAreReportedAndTheRestStillCompared) {
    ContentWorld w;
    const kdg::NameTables tables = writeNamedArchives(
        w.game, {{"A.kdg", {"x.txt"}}, {"B.kdg", {"x.txt"}}, {"Game.kdg", {"x.txt"}}});
    const std::string whole = w.readGame("B.kdg");
    w.writeGame("Cut.kdg", whole.substr(0, whole.size() - 3)); // data runs past the end
    w.writeGame("Text.kdg", "just some text");
    w.writeGame("Sounds.kdg", ""); // a damaged original is reported too
    ConflictReport report = findModConflicts(w.game, w.state.originals, tables);
    EXPECT_EQ(describe(report), (std::map<std::string, Texts>{{"A", {"x.txt <B> | Game.kdg"}},
                                                              {"B", {"x.txt <A> | Game.kdg"}}}));
    std::map<std::string, std::string> damaged;
    for (const auto& d : report.damaged)
        damaged[d.fileName] = d.reason;
    ASSERT_EQ(damaged.size(), 3u);
    EXPECT_EQ(damaged["Cut.kdg"], "File 1 of section B.kdg.krf lies past the end of the archive.");
    EXPECT_TRUE(damaged.count("Sounds.kdg"));
    EXPECT_NE(damaged["Text.kdg"].find("not a KDG archive"), std::string::npos);
}

// Files the tables do not name are compared like the others: the same hash and type in
// two MODs is the same file, even when its data would have named it a map file.
TEST(ModConflicts, UnnamedFilesCompareByHashWithoutTheirDataBeingRead) {
    ContentWorld w;
    const std::vector<kdg::TypeRow> types = worldgen::sampleTypeRows();
    for (const char* mod : {"A.kdg", "B.kdg"}) {
        using worldgen::kdgFile;
        worldgen::KdgArchiveSpec plan;
        // The last: one hash under two types, two different files.
        plan.sections.push_back(
            {0x10,
             {kdgFile(0xBEEF, "text here", 0x0A1B2C3D),
              kdgFile(0xF00D, "dint....", 0x0E778391),
              {0x0E778391, 0xCAFE, {}, {}, true, 0, 0},
              kdgFile(0x5EED, "x", mod[0] == 'A' ? 0x0A1B2C3Du : 0x0E778391u)}});
        w.writeGame(mod, worldgen::buildKdgArchive(plan));
    }
    const kdg::NameTables tables({}, types);
    EXPECT_EQ(describe(findModConflicts(w.game, w.state.originals, tables))["A"],
              (Texts{"$BEEF.txt <B> | ", "$F00D <B> | "}));
    // A stop request ends the look between archives: only the first one was read.
    int asked = 0;
    const ConflictReport report =
        findModConflicts(w.game, w.state.originals, tables, [&] { return ++asked == 2; });
    EXPECT_TRUE(report.stopped && asked == 2 && report.mods.size() == 1);
}

TEST(ModConflicts, KvstoolPrintsTheSameReportAsJson) {
    ContentWorld w;
    const kdg::NameTables tables = writeNamedArchives(
        w.game, {{"Game.kdg", {"h.wav"}}, {"Tanks.kdg", {"h.wav"}}, {"Desert.kvw", {"h.wav"}}});
    w.writeGame("Bad.kdg", "KDG4");
    ASSERT_TRUE(worldgen::writeNameTables(w.paths.launcherFolder, tables.files(), {}));
    const std::string tool = std::string("'") + KVSTOOL_PATH + "' kdg conflicts ";
    const std::string game = "'" + w.game + "'";
    const std::string launcher = " --launcher '" + w.paths.launcherFolder + "'";

    test::ToolRun r = test::runShell(tool + game + launcher + " --json");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const QJsonObject out = QJsonDocument::fromJson(QByteArray::fromStdString(r.out)).object();
    const QJsonArray mods = out["mods"].toArray();
    ASSERT_EQ(mods.size(), 1);
    EXPECT_EQ(mods[0]["entries"][0]["originals"], QJsonValue(QJsonArray{"Game.kdg"}));
    EXPECT_EQ(out["damaged"],
              (QJsonArray{QJsonObject{{"archive", "Bad.kdg"},
                                      {"reason", "The archive is shorter than its header."}}}));

    const std::tuple<std::string, int, const char*> runs[] = {
        {"", 2, "exactly one game folder"},
        {game + " --launcher", 2, "--launcher needs a folder"},
        {"'" + w.game + "none'" + launcher, 1, "the game folder does not exist"},
        {game + " --launcher '" + w.game + "'", 1, "OriginalKDGs.ini"},
    };
    for (const auto& [arguments, exitCode, errorPart] : runs) {
        r = test::runShell(tool + arguments);
        EXPECT_EQ(r.exitCode, exitCode) << arguments;
        EXPECT_NE(r.err.find(errorPart), std::string::npos) << r.err;
        EXPECT_TRUE(exitCode != 1 || std::count(r.err.begin(), r.err.end(), '\n') == 1) << r.err;
    }
}

} // namespace
} // namespace kv::content
