#include "kdg/archive_reader.h"
#include "tests/support/temp_folder.h"
#include "tools/worldgen/kdg_writer.h"

#include <gtest/gtest.h>

namespace kv::kdg {
namespace {

using worldgen::KdgArchiveSpec;
using worldgen::KdgFileSpec;
using worldgen::KdgSectionSpec;

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
    EXPECT_EQ(std::tuple(info.Loaded, info.Version, info.InternalId, info.InternalName),
              std::tuple(true, 4, "0", "korvane"));
    EXPECT_TRUE(info.RequiredArchives.empty());
    ASSERT_EQ(info.Entries.size(), 1u);
    EXPECT_EQ(info.Entries[0].DataOffset, 8u + 12 + 20); // header, directory, one record

    plan.version = 5;
    plan.internalName = "mymod";
    plan.internalId = 4000000000u;
    info = read(plan);
    EXPECT_EQ(info.InternalId + " " + info.InternalName, "4000000000 mymod");
    EXPECT_EQ(info.Entries.at(0).DataOffset, 32u + 12 + 20);
    plan.required = {{"base", 3}, {"NewMaps", 0}};
    info = read(plan);
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
    KdgSectionSpec first{0x1, {}}, second{0x2, {}};
    for (int i = 0; i < 6; ++i)
        first.files.push_back(file(0x100 + i, std::string(kinds[i]) + "-body"));
    first.files.push_back(file(0xBEEF, "game-save"));
    for (int i = 0; i < 6; ++i)
        second.files.push_back(file(0x200 + i, std::string(kinds[i]) + "-body"));
    second.files.push_back(file(0xCAFE, "game-two"));
    KdgArchiveSpec plan;
    plan.sections = {first, second}; // the counters run across sections
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
    EXPECT_TRUE(info.Entries[8].IsEmpty);
    EXPECT_EQ(info.Entries[8].Size, 0xFFFFFFFFu);
    EXPECT_FALSE(info.Entries[9].IsEmpty);
    EXPECT_EQ(info.Entries[9].DataOffset, info.Entries[7].DataOffset + 5);
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
    const std::string path = dir.write("Mods/My Mod.kdg", worldgen::buildKdgArchive(plan));

    KdgArchiveInfo info;
    info.Sections = {"stale"};
    EXPECT_FALSE(LoadArchiveInfo(dir / "Mods/none.kdg", info, {}));
    EXPECT_FALSE(info.Loaded || !info.Sections.empty());

    std::string windowsStyle = path;
    windowsStyle.replace(windowsStyle.rfind('/'), 1, "\\");
    ASSERT_TRUE(LoadArchiveInfo(windowsStyle, info, {}));
    EXPECT_EQ(info.FileName + "|" + info.InternalName + "|" +
                  std::to_string(info.Entries.at(0).Size),
              "My Mod.kdg|disk|7");
}

} // namespace
} // namespace kv::kdg
