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

KdgFileSpec emptySlot(std::uint32_t hash) {
    return worldgen::kdgEmptySlot(hash, kMisc);
}

KdgArchiveInfo read(const KdgArchiveSpec& plan, const NameTables& tables = {}) {
    KdgArchiveInfo info;
    std::string reason;
    EXPECT_TRUE(readArchiveImage(worldgen::buildKdgArchive(plan), tables, info, &reason)) << reason;
    return info;
}

std::vector<std::string> names(const KdgArchiveInfo& info) {
    std::vector<std::string> out;
    for (const KdgEntry& e : info.Entries)
        out.push_back(e.Name);
    return out;
}

// Name|Group|TypeName, and " by content" when the name came from the data.
std::string row(const KdgEntry& e) {
    return e.Name + "|" + e.Group + "|" + e.TypeName + (e.NamedByContent ? " by content" : "");
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
}

TEST(KdgReader, EntryNamedFromFilesTable) {
    const NameTables tables({{"e0", "Tank.pie", "PIE", "components\\bodies"}}, {});
    KdgArchiveSpec plan;
    plan.sections = {{0x5, {file(0xE0, "map whatever", kMisc)}}};
    const KdgEntry e = read(plan, tables).Entries.at(0);
    EXPECT_EQ(row(e), "Tank.pie|components\\bodies|PIE");
    EXPECT_EQ(e.Section + " " + std::to_string(e.Size), "$5 12");
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
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(row(info.Entries[i]), maps[i] + "|Map1|MISCDATA by content");
        EXPECT_EQ(info.Entries[7 + i].Name + "|" + info.Entries[7 + i].Group, maps[i] + "|Map2");
    }
    EXPECT_EQ(row(info.Entries[6]).substr(0, 15), "(1) $BEEF.gam||");
    EXPECT_TRUE(info.Entries[6].NamedByContent);
    EXPECT_EQ(info.Entries[13].Name, "(2) $CAFE.gam");
}

TEST(KdgReader, SignatureNeedsMoreThanFiveBytesAndExactCase) {
    KdgArchiveSpec plan;
    plan.sections = {
        {0x1,
         {file(0xA1, "map !"), file(0xA2, "map !!"), file(0xA3, "MAP !!"), file(0xA4, "gam")}}};
    EXPECT_EQ(names(read(plan)), (std::vector<std::string>{"$A1", "Game.map", "$A3", "$A4"}));
}

TEST(KdgReader, TypeResolutionOfUnnamedFiles) {
    // The miscellaneous type stays MISCDATA even when the type table knows it.
    const NameTables tables({}, {{"TEXT", "abcd", "txt"}, {"LISTED", "e778391", "dat"}});
    KdgArchiveSpec plan;
    plan.sections = {
        {0x1,
         {file(0x10, "hello", kText), file(0x11, "hello", kMisc), file(0x12, "hello", 0xFEED)}}};
    const KdgArchiveInfo info = read(plan, tables);
    std::vector<std::string> rows;
    for (const KdgEntry& e : info.Entries)
        rows.push_back(row(e));
    EXPECT_EQ(rows, (std::vector<std::string>{"$10.txt||TEXT", "$11||MISCDATA", "$12||$FEED"}));
}

TEST(KdgReader, EmptySlotsAreRowsWithoutData) {
    KdgArchiveSpec plan;
    plan.sections = {{0x1, {file(0x1, "abcdefgh"), emptySlot(0xE7), file(0x2, "tail")}}};
    const KdgArchiveInfo info = read(plan);
    ASSERT_EQ(info.Entries.size(), 3u);
    EXPECT_TRUE(info.Entries[1].IsEmpty);
    EXPECT_EQ(info.Entries[1].Name, "$E7");
    EXPECT_EQ(info.Entries[1].Size, 0xFFFFFFFFu);
    EXPECT_FALSE(info.Entries[2].IsEmpty);
    EXPECT_EQ(info.Entries[2].DataOffset, info.Entries[0].DataOffset + 8);
}

TEST(KdgReader, NamesListIsFoundInAnyFieldWithoutRegardToCase) {
    KdgArchiveSpec plan;
    plan.sections = {{0x1, {file(0x1, "x")}}};
    EXPECT_FALSE(read(plan).HasNamesList);
    EXPECT_TRUE(read(plan, NameTables({{"1", "NAMES.TXT", "", ""}}, {})).HasNamesList);
    EXPECT_TRUE(read(plan, NameTables({{"1", "a", "", "names.Txt"}}, {})).HasNamesList);
}

TEST(KdgReader, AtMost5001FileRecords) {
    KdgArchiveSpec plan;
    plan.sections = {{0x1, std::vector<KdgFileSpec>(2500, emptySlot(1))},
                     {0x2, std::vector<KdgFileSpec>(2501, emptySlot(2))}};
    EXPECT_EQ(read(plan).Entries.size(), 5001u);

    plan.sections[1].files.push_back(emptySlot(3));
    KdgArchiveInfo info;
    std::string reason;
    EXPECT_FALSE(readArchiveImage(worldgen::buildKdgArchive(plan), {}, info, &reason));
    EXPECT_NE(reason.find("5002 file records"), std::string::npos) << reason;
}

TEST(KdgReader, SectionsAndRequiredArchivesAreNotLimitedBeyondTheirFileRecords) {
    KdgArchiveSpec plan;
    plan.required = std::vector<worldgen::KdgRequiredSpec>(6000, {"base", 1});
    plan.sections = std::vector<KdgSectionSpec>(6000, {0x1, {}});
    plan.sections.push_back({0x2, {file(0x7, "data")}});
    const KdgArchiveInfo info = read(plan);
    EXPECT_EQ(info.RequiredArchives.size(), 6000u);
    EXPECT_EQ(info.Sections.size(), 6001u);
    ASSERT_EQ(info.Entries.size(), 1u);
    EXPECT_EQ(info.Entries[0].Section, "$2");
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
    EXPECT_FALSE(info.Loaded);
    EXPECT_TRUE(info.Sections.empty());

    std::string windowsStyle = path;
    windowsStyle.replace(windowsStyle.rfind('/'), 1, "\\");
    ASSERT_TRUE(LoadArchiveInfo(windowsStyle, info, {}));
    EXPECT_EQ(info.FileName, "My Mod.kdg");
    EXPECT_EQ(info.InternalName, "disk");
    EXPECT_EQ(info.Entries.at(0).Size, 7u);
}

} // namespace
} // namespace kv::kdg
