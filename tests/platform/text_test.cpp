#include "platform/text.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

namespace kv::platform {
namespace {

using Lines = std::vector<std::string>;

TEST(Text, Windows1252AndUtf8ConvertBothWays) {
    EXPECT_EQ(cp1252ToUtf8("Caf\xE9 \x80 \x93q\x94"),
              "Caf\xC3\xA9 \xE2\x82\xAC \xE2\x80\x9Cq\xE2\x80\x9D");
    // Every byte survives a round trip, the five unassigned ones too.
    std::string all;
    for (int b = 1; b < 256; ++b)
        all += char(b);
    EXPECT_EQ(utf8ToCp1252(cp1252ToUtf8(all)), all);
    // Characters outside the code page and broken sequences become '?'.
    EXPECT_EQ(utf8ToCp1252("\xE4\xB8\xAD|\xC3|\xED\xA0\x80"), "?|?|???");

    // Display: UTF-8 passes through, anything else is read as Windows-1252.
    EXPECT_EQ(toDisplayText("Caf\xC3\xA9") + "|" + toDisplayText("Caf\xE9") + "|" +
                  fromDisplayText("Caf\xC3\xA9", true) + "|" + fromDisplayText("Caf\xC3\xA9"),
              "Caf\xC3\xA9|Caf\xC3\xA9|Caf\xE9|Caf\xC3\xA9");
}

TEST(Text, LinesAreReadWithEitherLineEndAndWrittenWithCrLf) {
    const std::pair<const char*, Lines> cases[] = {
        {"a\r\nb\nc", {"a", "b", "c"}}, {"a\r\n\r\n", {"a", ""}}, {"", {}}, {"\n", {""}},
        {"x\ry\r\n", {"x\ry"}}, // a lone CR is not a line end
    };
    for (const auto& [text, lines] : cases)
        EXPECT_EQ(splitLines(text), lines) << text;

    test::TempFolder tmp;
    ASSERT_TRUE(writeTextLines(tmp / "f.txt", {"one", "", "thr\xE9"}));
    EXPECT_EQ(tmp.read("f.txt"), "one\r\n\r\nthr\xE9\r\n");
    Lines lines;
    EXPECT_TRUE(readTextLines(tmp / "F.TXT", lines) && lines == Lines({"one", "", "thr\xE9"}));
    EXPECT_TRUE(!readTextLines(tmp / "none.txt", lines) && lines.empty());
}

} // namespace
} // namespace kv::platform
