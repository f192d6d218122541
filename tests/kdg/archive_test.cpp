// Reading KDG archives: the header and directory, naming entries through the tables,
// refusing damaged images, and the saved file list.
#include "kdg/archive_reader.h"
#include "kdg/file_list.h"
#include "kdg/name_tables.h"
#include "tests/support/scripted_ui.h"
#include "tests/support/temp_folder.h"
#include "tools/worldgen/kdg_sample.h"
#include "tools/worldgen/kdg_small_archives.h"
#include "tools/worldgen/kdg_writer.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace kv::kdg {
namespace {

using worldgen::KdgArchiveSpec;
using worldgen::KdgFileSpec;
using worldgen::KdgSectionSpec;
using Texts = std::vector<std::string>;

constexpr std::uint32_t kMisc = 0x0E778391;
constexpr std::uint32_t kText = 0x0000ABCD;

KdgFileSpec file(std::uint32_t hash, std::string data, std::uint32_t type = 0x1234) {
    return worldgen::kdgFile(hash, std::move(data), type);
}

KdgArchiveInfo read(const KdgArchiveSpec& plan, const NameTables& tables = {}) {
    KdgArchiveInfo info;
    std::string reason;
    EXPECT_TRUE(readArchiveImage(worldgen::buildKdgArchive(plan), tables, info, &reason)) << reason;
    return info;
}

// Name|Group|TypeName per entry, and " by content" when the name came from the data.
std::vector<std::string> rows(const KdgArchiveInfo& info) {
    std::vector<std::string> out;
    for (const KdgEntry& e : info.Entries)
        out.push_back(e.Name + "|" + e.Group + "|" + e.TypeName +
                      (e.NamedByContent ? " by content" : ""));
    return out;
}

// Version 4 has a fixed identity and no required archives; version 5 carries both, and
// its directory starts after them.
TEST(KdgReader, HeaderOfVersionFourAndFive) {
    KdgArchiveSpec plan;
    plan.version = 4;
    plan.sections = {{0x11, {file(0xAA, "abc")}}};
    KdgArchiveInfo info = read(plan);
    EXPECT_EQ(std::tuple(info.Loaded, info.Version, info.InternalId, info.InternalName,
                         info.RequiredArchives.size(), info.Entries.size()),
              std::tuple(true, 4, "0", "korvane", 0u, 1u));
    EXPECT_EQ(info.Entries[0].DataOffset, 8u + 12 + 20); // header, directory, one record

    plan.version = 5;
    plan.internalName = "mymod";
    plan.internalId = 4000000000u;
    plan.required = {{"base", 3}, {"NewMaps", 0}};
    info = read(plan);
    EXPECT_EQ(info.InternalId + " " + info.InternalName, "4000000000 mymod");
    EXPECT_EQ(info.RequiredArchives, (std::vector<std::string>{"(3) base", "(0) NewMaps"}));
    EXPECT_EQ(info.Entries.at(0).DataOffset, 32u + 40 + 12 + 20);

    // An unterminated internal name stops at the end of its field.
    std::string image = worldgen::buildKdgArchive(KdgArchiveSpec{});
    image.replace(8, 16, "ABCDEFGHIJKLMNOP");
    ASSERT_TRUE(readArchiveImage(image, {}, info));
    EXPECT_EQ(info.InternalName, "ABCDEFGHIJKLMNOP");
}

TEST(KdgReader, SectionNamesFromTableOrHash) {
    const NameTables tables({{"100", "Named.krf", "KRF", ""}, {"300", " ", "", ""}}, {});
    KdgArchiveSpec plan;
    plan.sections = {{0x100, {}}, {0xABC6, {}}, {0xABC7, {}}, {0x300, {file(1, "x")}}};
    const KdgArchiveInfo info = read(plan, tables);
    // A blank name is never a list item, but its files still carry it.
    EXPECT_EQ(info.Sections, (std::vector<std::string>{"Named.krf", "$ABC6.krf", "$ABC7"}));
    EXPECT_EQ(info.Entries.at(0).Section, " ");
    EXPECT_FALSE(info.HasNamesList);
    // The names list is found in any field without regard to case.
    EXPECT_TRUE(read(plan, NameTables({{"1", "NAMES.TXT", "", ""}}, {})).HasNamesList);
    EXPECT_TRUE(read(plan, NameTables({{"1", "a", "", "names.Txt"}}, {})).HasNamesList);
}

TEST(KdgReader, MapFilesAreGroupedInSixesAndSavedGamesDoNotShiftTheGrouping) {
    const char* kinds[] = {"dint", "feat", "map ", "stru", "tagl", "ttyp"};
    KdgArchiveSpec plan; // the counters run across sections
    for (std::uint32_t section : {1u, 2u}) {
        plan.sections.push_back({section, {}});
        for (std::uint32_t i = 0; i < 6; ++i)
            plan.sections.back().files.push_back(
                file(0x100 * section + i, std::string(kinds[i]) + "-body"));
        plan.sections.back().files.push_back(file(section == 1 ? 0xBEEF : 0xCAFE, "game-save"));
    }
    const KdgArchiveInfo info = read(plan);

    const std::vector<std::string> maps = {"DInit.bjo",  "Feat.bjo",    "Game.map",
                                           "Struct.bjo", "TagList.tag", "TTypes.ttp"};
    const std::vector<std::string> all = rows(info);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(all[i], maps[i] + "|Map1|MISCDATA by content");
        EXPECT_EQ(all[7 + i], maps[i] + "|Map2|MISCDATA by content");
    }
    EXPECT_EQ(all[6].substr(0, 15) + all[13].substr(0, 15), "(1) $BEEF.gam||(2) $CAFE.gam||");
    EXPECT_TRUE(info.Entries[6].NamedByContent);
}

// Names come from the files table, then from a map file's first bytes ("map " and more
// than five bytes, exact case), then from the type table; the miscellaneous type stays
// MISCDATA even when the type table knows it.
TEST(KdgReader, EntryNamesFromTablesContentAndTypes) {
    const NameTables tables({{"e0", "Tank.pie", "PIE", "components\\bodies"}},
                            {{"TEXT", "abcd", "txt"}, {"LISTED", "e778391", "dat"}});
    KdgArchiveSpec plan;
    plan.sections = {{0x5,
                      {file(0xE0, "map whatever", kMisc), file(0xA1, "map !"), file(0xA2, "map !!"),
                       file(0xA3, "MAP !!"), file(0xA4, "gam"), file(0x10, "hello", kText),
                       file(0x11, "hello", kMisc), file(0x12, "hello", 0xFEED),
                       worldgen::kdgEmptySlot(0xE7, kMisc), file(0x2, "tail")}}};
    const KdgArchiveInfo info = read(plan, tables);
    EXPECT_EQ(rows(info),
              (std::vector<std::string>{"Tank.pie|components\\bodies|PIE", "$A1||$1234",
                                        "Game.map|Map1|MISCDATA by content", "$A3||$1234",
                                        "$A4||$1234", "$10.txt||TEXT", "$11||MISCDATA",
                                        "$12||$FEED", "$E7||MISCDATA", "$2||$1234"}));
    EXPECT_EQ(info.Entries[0].Section + " " + std::to_string(info.Entries[0].Size), "$5 12");
    // An empty slot is a row without data: the next file's data follows the one before.
    EXPECT_EQ(std::tuple(info.Entries[8].IsEmpty, info.Entries[8].Size, info.Entries[9].IsEmpty,
                         info.Entries[9].DataOffset),
              std::tuple(true, 0xFFFFFFFFu, false, info.Entries[7].DataOffset + 5));
}

// At most 5001 file records; sections and required archives are limited only by the
// archive's length.
TEST(KdgReader, LimitsCountFileRecordsOnly) {
    KdgArchiveSpec plan;
    plan.required = std::vector<worldgen::KdgRequiredSpec>(6000, {"base", 1});
    plan.sections = std::vector<KdgSectionSpec>(6000, {0x1, {}});
    plan.sections.push_back({0x2, std::vector<KdgFileSpec>(2500, worldgen::kdgEmptySlot(1))});
    plan.sections.push_back({0x3, std::vector<KdgFileSpec>(2501, file(0x7, "data"))});
    const KdgArchiveInfo info = read(plan);
    EXPECT_EQ(std::tuple(info.RequiredArchives.size(), info.Sections.size(), info.Entries.size()),
              std::tuple(6000u, 6002u, 5001u));
    EXPECT_EQ(info.Entries.back().Section, "$3");

    plan.sections.back().files.push_back(worldgen::kdgEmptySlot(3));
    KdgArchiveInfo refused;
    std::string reason;
    EXPECT_FALSE(readArchiveImage(worldgen::buildKdgArchive(plan), {}, refused, &reason));
    EXPECT_NE(reason.find("5002 file records"), std::string::npos) << reason;
}

TEST(KdgReader, LoadArchiveInfoFromFile) {
    test::TempFolder dir;
    KdgArchiveSpec plan;
    plan.internalName = "disk";
    plan.sections = {{0x1, {file(0x1, "payload")}}};
    dir.write("Mods/My Mod.kdg", worldgen::buildKdgArchive(plan));

    KdgArchiveInfo info;
    info.Sections = {"stale"};
    EXPECT_FALSE(LoadArchiveInfo(dir / "Mods/none.kdg", info, {}) || !info.Sections.empty());
    ASSERT_TRUE(LoadArchiveInfo(dir / "Mods\\My Mod.kdg", info, {}));
    EXPECT_EQ(info.FileName + "|" + info.InternalName + "|" +
                  std::to_string(info.Entries.at(0).Size),
              "My Mod.kdg|disk|7");
}

void putLE32(std::string& image, std::uint64_t offset, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        image[offset + i] = char((value >> (8 * i)) & 0xFF);
}

// Checks that `image` is refused with a reason and leaves nothing of an earlier archive.
void expectRefused(const std::string& image, const std::string& what) {
    KdgArchiveInfo info;
    info.FileName = "kept.kdg";
    info.Sections = {"from an earlier archive"};
    std::string reason;
    EXPECT_FALSE(readArchiveImage(image, {}, info, &reason)) << what;
    EXPECT_FALSE(reason.empty()) << what;
    EXPECT_FALSE(info.Loaded || !info.Sections.empty() || !info.Entries.empty()) << what;
    EXPECT_EQ(info.FileName, "kept.kdg") << what;
    EXPECT_FALSE(readArchiveDirectoryImage(reinterpret_cast<const std::uint8_t*>(image.data()),
                                           image.size(), {}, info))
        << what;
}

TEST(KdgCorruptArchive, EachDamageIsRefusedWithAReason) {
    const KdgArchiveSpec plan = worldgen::smallTwoSectionArchive();
    const std::string good = worldgen::buildKdgArchive(plan);
    const std::uint64_t dir = worldgen::kdgDirectoryOffset(plan);
    const std::uint64_t table0 = worldgen::kdgFileTableOffset(plan, 0);
    const std::uint64_t table1 = worldgen::kdgFileTableOffset(plan, 1);
    // Little-endian 32-bit values written over the archive, one or two at a time.
    const struct {
        const char* what;
        std::vector<std::pair<std::uint64_t, std::uint32_t>> values;
    } damages[] = {
        {"required count past the end", {{28, 100000}}},
        {"required count far past the end", {{28, 0xFFFFFFFF}}},
        {"section count past the end", {{4, 4000}}},
        {"section count far past the end", {{4, 0x80000000}}},
        {"table inside the header", {{dir + 4, 12}}},
        {"table inside the directory", {{dir + 12 + 4, std::uint32_t(dir + 20)}}},
        {"table past the end", {{dir + 4, 0xFFFFFFF0}}},
        {"file count past the end", {{dir + 12 + 8, 3000}}},
        {"file counts beyond the limit", {{dir + 8, 0xFFFFFFFF}, {dir + 12 + 8, 0xFFFFFFFF}}},
        {"data offset past the end", {{table0 + 8, 5000}}},
        {"size past the end", {{table1 + 20 + 12, 9}}},
        {"half an empty slot", {{table1 + 8, 0xFFFFFFFF}}},
        // Many entries on one block would extract to far more than the archive holds.
        {"two files share their data", {{table0 + 28, 3}}},
    };
    for (const auto& d : damages) {
        std::string image = good;
        for (const auto& [offset, value] : d.values)
            putLE32(image, offset, value);
        expectRefused(image, d.what);
    }
    std::string wrongSignature = good;
    wrongSignature[3] = '6';
    expectRefused(wrongSignature, "wrong signature");
    expectRefused("", "empty file");
    expectRefused("KDG4\1", "version 4 shorter than its header");
    expectRefused(good.substr(0, 31), "version 5 shorter than its header");
    expectRefused(good.substr(0, good.size() - 1), "last byte missing");
}

TEST(KdgCorruptArchive, EveryTruncationOfARealArchiveFails) {
    // The sample's last file ends the archive, so no shorter prefix is complete.
    const std::string image =
        worldgen::buildKdgArchive(worldgen::sampleModArchive("cut", 1, 7).plan);
    KdgArchiveInfo info;
    ASSERT_TRUE(readArchiveImage(image, {}, info));
    for (std::size_t length = 0; length < image.size(); ++length) {
        // A copy of exactly `length` bytes, so the sanitizer sees any read past it.
        const std::string prefix = image.substr(0, length);
        EXPECT_FALSE(readArchiveImage(prefix, {}, info)) << length;
    }
}

TEST(KdgCorruptArchive, EmptySectionsMayPointAnywhere) {
    KdgArchiveSpec plan = worldgen::smallTwoSectionArchive();
    plan.sections.push_back({0x30, {}});
    std::string image = worldgen::buildKdgArchive(plan);
    putLE32(image, worldgen::kdgDirectoryOffset(plan) + 24 + 4, 0);
    KdgArchiveInfo info;
    EXPECT_TRUE(readArchiveImage(image, {}, info));
    EXPECT_EQ(info.Sections.size(), 3u);
}

TEST(KdgNameTables, LinesSplitIntoColumnsAndKeysMatchOnlyAsTheExactLowerCaseHexText) {
    // Short lines leave the missing columns empty; the last column takes the rest; fields
    // are the text between the commas, blanks included.
    const std::tuple<const char*, std::size_t, std::vector<std::string>> splits[] = {
        {"ab12,Tank.pie", 4, {"ab12", "Tank.pie", "", ""}},
        {"TEXT,abcd,txt,extra", 3, {"TEXT", "abcd", "txt,extra"}},
        {" ab12 , Tank.pie ,PIE,", 4, {" ab12 ", " Tank.pie ", "PIE", ""}},
    };
    for (const auto& [line, columns, fields] : splits)
        EXPECT_EQ(splitTableLine(line, columns), fields) << line;

    struct Case {
        const char* filesLine;
        std::uint32_t hash;
        bool found;
    };
    const Case cases[] = {
        {"e778391,N", 0x0E778391, true},
        {"E778391,N", 0x0E778391, false},
        {"0e778391,N", 0x0E778391, false},
        {" e778391,N", 0x0E778391, false},
        {"e778391 ,N", 0x0E778391, false},
        {"0,N", 0, true},
        {"00,N", 0, false},
        {"ffffffff,N", 0xFFFFFFFF, true},
        {"+ff,N", 0xFF, false},
        {"0xff,N", 0xFF, false},
    };
    for (const Case& c : cases) {
        const NameTables tables =
            NameTables::fromText(c.filesLine, std::string("T,") + c.filesLine);
        EXPECT_EQ(tables.findFile(c.hash) != nullptr, c.found) << c.filesLine;
        // Types.txt keeps its key in column 1.
        EXPECT_EQ(tables.findType(c.hash) != nullptr, c.found) << c.filesLine;
    }
    // A name keeps its blanks, and a CR LF line end is not part of the last field.
    const NameTables tables = NameTables::fromText("a1, Tank .pie,PIE,\\bodies \r\n", "");
    ASSERT_NE(tables.findFile(0xA1), nullptr);
    EXPECT_EQ(tables.findFile(0xA1)->name + "|" + tables.findFile(0xA1)->group,
              " Tank .pie|\\bodies ");

    // Lookup stops at the first row without a key, and the first match wins.
    const NameTables gap = NameTables::fromText("a1,First\r\nA1,Second\r\nb2,Upper\r\n"
                                                ",Gap\r\nc3,AfterGap\r\n",
                                                "T,ff,x\nU,,y\nV,ee,z\n");
    ASSERT_NE(gap.findFile(0xA1), nullptr);
    EXPECT_EQ(gap.findFile(0xA1)->name + gap.findFile(0xB2)->name, "FirstUpper");
    EXPECT_EQ(gap.findFile(0xC3), nullptr);
    EXPECT_EQ(gap.findType(0xFF)->typeName, "T");
    EXPECT_EQ(gap.findType(0xEE), nullptr);
}

TEST(KdgNameTables, RowLimits) {
    std::string files;
    for (int i = 1; i <= 5002; ++i)
        files += std::to_string(i) + std::string(",N") + std::to_string(i) + "\n";
    std::string types;
    for (int i = 1; i <= 52; ++i)
        types += "T" + std::to_string(i) + "," + std::to_string(i) + ",e\n";
    const NameTables tables = NameTables::fromText(files, types);
    EXPECT_EQ(tables.files().size(), 5001u);
    EXPECT_EQ(tables.types().size(), 51u);
    // Keys are hexadecimal: row i holds the key written as decimal digits.
    EXPECT_NE(tables.findFile(0x5000), nullptr); // row 4999, the last searched
    EXPECT_EQ(tables.findFile(0x5001), nullptr); // row 5000, kept but not searched
    EXPECT_NE(tables.findType(0x50), nullptr);
    EXPECT_EQ(tables.findType(0x51), nullptr);
}

TEST(KdgFileList, WritesTheListBesideTheNoticesAndLeavesOutEmptySlots) {
    KdgArchiveSpec plan;
    plan.internalId = 77;
    plan.internalName = "mymod";
    plan.sections = {{0x100, {file(0x1, "r")}},
                     {0xABC6, {worldgen::kdgEmptySlot(0xE7), file(0x2, "map whatever")}}};
    KdgArchiveInfo info =
        read(plan, NameTables({{"1", "Readme.txt", "", ""}, {"100", "Texts.krf", "", ""}}, {}));
    info.FileName = "My Mod.kdg";
    test::TempFolder dir;
    test::ScriptedUi ui;
    EXPECT_TRUE(SaveFileList("C:\\Game\\My Mod.kdg", dir.path(), info, ui));
    EXPECT_EQ(ui.messageTexts(), (Texts{"True", dir.path() + "My Mod.kdg"}));
    EXPECT_EQ(
        dir.read("My Mod.txt"),
        "File name:\t\tMy Mod.kdg\r\nInternal ID:\t\t77\r\nInternal name:\t\tmymod\r\n\r\n\r\n"
        "Number of KRFs:\t\t2\r\n\r\n\r\nTexts.krf\r\n$ABC6.krf\r\n\r\n\r\n"
        "Total Files in KDG:\t3\r\n\r\n\r\nReadme.txt\t\t(Texts.krf)\r\n"
        "Game.map\t\t($ABC6.krf)\r\n");
    // The list is named after the archive without its last extension.
    EXPECT_EQ(fileListName(" v1.2.kvw ") + fileListName("NoDot"), "v1.2.txtNoDot.txt");

    // Refusals write nothing: blank paths say nothing, the others say how far they got.
    const struct {
        std::string archive, folder, fileName;
        bool loaded;
        Texts notices;
    } refusals[] = {
        {"  ", dir.path(), "x.kdg", true, {}},
        {"a.kdg", " ", "x.kdg", true, {}},
        {"a.kdg", dir.path(), "x.kdg", false, {"False"}},
        {"a.kdg", dir.path(), "", true, {"True", dir.path()}},
    };
    for (const auto& r : refusals) {
        test::ScriptedUi quiet;
        info.FileName = r.fileName;
        info.Loaded = r.loaded;
        EXPECT_FALSE(SaveFileList(r.archive, r.folder, info, quiet)) << r.archive << r.folder;
        EXPECT_EQ(quiet.messageTexts(), r.notices) << r.archive << r.folder;
    }
    // A folder that is not there: the error box, no file.
    test::ScriptedUi failing;
    info.FileName = "x.kdg";
    EXPECT_FALSE(SaveFileList("a.kdg", dir / "missing/", info, failing));
    EXPECT_NE(failing.messageTexts().at(2).find("Error in: SaveFileList()"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir / "x.txt"));
}

} // namespace
} // namespace kv::kdg
