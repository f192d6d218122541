#include "kdg/name_tables.h"
#include "tests/support/temp_folder.h"
#include "tools/worldgen/kdg_name_tables.h"

#include <gtest/gtest.h>

namespace kv::kdg {
namespace {

TEST(KdgNameTables, LinesSplitIntoTheTablesColumns) {
    // Short lines leave the missing columns empty; the last column takes the rest; fields
    // are the text between the commas, blanks included.
    const std::tuple<const char*, std::size_t, std::vector<std::string>> cases[] = {
        {"ab12,Tank.pie", 4, {"ab12", "Tank.pie", "", ""}},
        {"TEXT,abcd,txt,extra", 3, {"TEXT", "abcd", "txt,extra"}},
        {" ab12 , Tank.pie ,PIE,", 4, {" ab12 ", " Tank.pie ", "PIE", ""}},
    };
    for (const auto& [line, columns, fields] : cases)
        EXPECT_EQ(splitTableLine(line, columns), fields) << line;
}

TEST(KdgNameTables, KeysMatchOnlyAsTheExactLowerCaseHexText) {
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
}

TEST(KdgNameTables, LookupStopsAtTheFirstRowWithoutAKeyAndFirstMatchWins) {
    const NameTables tables = NameTables::fromText("a1,First\r\nA1,Second\r\nb2,Upper\r\n"
                                                   ",Gap\r\nc3,AfterGap\r\n",
                                                   "T,ff,x\nU,,y\nV,ee,z\n");
    ASSERT_NE(tables.findFile(0xA1), nullptr);
    EXPECT_EQ(tables.findFile(0xA1)->name + tables.findFile(0xB2)->name, "FirstUpper");
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

    EXPECT_TRUE(LoadNameTables(dir / "nowhere/").files().empty());
}

} // namespace
} // namespace kv::kdg
