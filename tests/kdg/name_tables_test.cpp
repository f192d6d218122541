#include "kdg/name_tables.h"
#include "tests/support/temp_folder.h"
#include "tools/worldgen/kdg_name_tables.h"

#include <gtest/gtest.h>

namespace kv::kdg {
namespace {

TEST(KdgNameTables, LinesSplitIntoTheTablesColumns) {
    EXPECT_EQ(splitTableLine("ab12,Tank.pie,PIE,components", 4),
              (std::vector<std::string>{"ab12", "Tank.pie", "PIE", "components"}));
    // Short lines leave the missing columns empty; the last column takes the rest.
    EXPECT_EQ(splitTableLine("ab12,Tank.pie", 4),
              (std::vector<std::string>{"ab12", "Tank.pie", "", ""}));
    EXPECT_EQ(splitTableLine("TEXT,abcd,txt,extra", 3),
              (std::vector<std::string>{"TEXT", "abcd", "txt,extra"}));
    EXPECT_EQ(splitTableLine(" ab12 , Tank.pie ,PIE,\r", 4),
              (std::vector<std::string>{"ab12", "Tank.pie", "PIE", ""}));
}

TEST(KdgNameTables, LookupStopsAtTheFirstRowWithoutAKeyAndFirstMatchWins) {
    const NameTables tables = NameTables::fromText("a1,First\r\nA1,Second\r\nb2,Upper\r\n"
                                                   ",Gap\r\nc3,AfterGap\r\n",
                                                   "T,ff,x\nU,,y\nV,ee,z\n");
    ASSERT_NE(tables.findFile(0xA1), nullptr);
    EXPECT_EQ(tables.findFile(0xA1)->name, "First");
    EXPECT_EQ(tables.findFile(0xB2)->name, "Upper");
    EXPECT_EQ(tables.findFile(0xC3), nullptr);
    EXPECT_EQ(tables.findType(0xFF)->typeName, "T");
    EXPECT_EQ(tables.findType(0xEE), nullptr);
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

TEST(KdgNameTables, LoadedFromTheWrittenFilesAndMissingFilesAreEmpty) {
    test::TempFolder dir;
    ASSERT_TRUE(worldgen::writeNameTables(dir.path(), {{"e0", "Tank.pie", "PIE", "\\bodies"}},
                                          {{"TEXT", "abcd", "txt"}}));
    const NameTables tables = LoadNameTables(dir.path());
    EXPECT_EQ(tables.findFile(0xE0)->group, "\\bodies");
    EXPECT_EQ(tables.findType(0xABCD)->extension, "txt");

    const NameTables none = LoadNameTables(dir / "nowhere/");
    EXPECT_TRUE(none.files().empty());
    EXPECT_EQ(none.findFile(0xE0), nullptr);
}

} // namespace
} // namespace kv::kdg
