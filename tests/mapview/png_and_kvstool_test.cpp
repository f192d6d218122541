#include "mapview/png_writer.h"

#include "tests/support/temp_folder.h"
#include "tools/worldgen/map_binary_writer.h"
#include "tools/worldgen/map_demo.h"

#include <QImage>
#include <QProcess>
#include <QStringList>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace kv::mapview {
namespace {

TEST(PngWriter, DecodesToTheSamePixels) {
    RgbImage image(7, 5);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x)
            image.set(x, y, Rgb{std::uint8_t(x * 36), std::uint8_t(y * 60), std::uint8_t(x ^ y)});
    const std::string png = encodePng(image);
    QImage decoded;
    ASSERT_TRUE(
        decoded.loadFromData(reinterpret_cast<const uchar*>(png.data()), int(png.size()), "PNG"));
    ASSERT_EQ(decoded.width(), 7);
    ASSERT_EQ(decoded.height(), 5);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x)
            EXPECT_EQ(decoded.pixel(x, y), qRgb(x * 36, y * 60, x ^ y)) << x << "," << y;
    EXPECT_EQ(crc32("123456789"), 0xCBF43926u); // the check value of the standard CRC-32
}

struct ToolRun {
    int code = -1;
    std::string out, err;
};

ToolRun kvstool(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(KVSTOOL_PATH), QStringList{QStringLiteral("map")} + args);
    p.waitForFinished(60000);
    return {p.exitCode(), p.readAllStandardOutput().toStdString(),
            p.readAllStandardError().toStdString()};
}

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

class KvstoolMap : public ::testing::Test {
protected:
    void SetUp() override {
        for (const auto& f : worldgen::demoLndMaps())
            folder.write(f.name, f.contents);
        for (const auto& f : worldgen::demoBinaryMap())
            folder.write(f.name, f.contents);
    }
    test::TempFolder folder;
};

TEST_F(KvstoolMap, CheckPrintsEveryFaultAndSetsTheExitCode) {
    const ToolRun bad = kvstool({QStringLiteral("check"), q(folder / "Rivermouth.lnd")});
    EXPECT_EQ(bad.code, 1);
    EXPECT_EQ(bad.out, "Some objects  have identical coordinates. (8X6)\n"
                       "\"OilResource\" is placed on water tile! 24 X 16\n"
                       "There are no gateways, each map must have at least 1 gateway or the "
                       "game may crash.\n");
    const ToolRun good = kvstool({QStringLiteral("check"), q(folder / "Highlands.lnd")});
    EXPECT_EQ(good.code, 0);
    EXPECT_EQ(good.out, "No erros were found\n");
    // Nothing was repaired or rewritten.
    EXPECT_EQ(folder.read("Rivermouth.lnd"), worldgen::demoLndMaps()[1].contents);
}

TEST_F(KvstoolMap, InfoConvertAndRender) {
    const ToolRun info = kvstool({QStringLiteral("info"), q(folder / "Highlands.lnd")});
    EXPECT_EQ(info.code, 0);
    EXPECT_THAT(info.out, ::testing::HasSubstr("MapWidth: 64\n"));
    EXPECT_THAT(info.out, ::testing::HasSubstr("\"A0FacMod1\"\t20 X 30\tPlayer0\n"));

    const ToolRun conv =
        kvstool({QStringLiteral("convert"), q(folder / "Game.map"), q(folder / "Out.lnd")});
    EXPECT_EQ(conv.code, 0) << conv.err;
    const ToolRun back = kvstool({QStringLiteral("info"), q(folder / "Out.lnd")});
    EXPECT_THAT(back.out, ::testing::HasSubstr("MapWidth: 96\nTiles: 6144\n"));
    // The oil on binary tile (10, 10) is exported at world + (256, -128): the LND reader
    // puts it one column left and counts Y from the other side.
    EXPECT_THAT(back.out, ::testing::HasSubstr("Objects: 5\n\"OilResource\"\t9 X 55\tPlayer0\n"));

    const ToolRun render = kvstool(
        {QStringLiteral("render"), q(folder / "Highlands.lnd"), q(folder / "h.png"),
         QStringLiteral("--zoom"), QStringLiteral("2"), QStringLiteral("--layers"),
         QStringLiteral("terrain,objects"), QStringLiteral("--sea-level"), QStringLiteral("90")});
    EXPECT_EQ(render.code, 0) << render.err;
    QImage png(q(folder / "h.png"));
    ASSERT_EQ(png.width(), 128);
    EXPECT_EQ(png.pixel(40, 60), qRgb(255, 0, 0)); // the factory at tile (20, 30)
    // The window's larger zoom steps and its grid, which shows from 4x.
    for (const char* zoom : {"6", "3"}) {
        const ToolRun big =
            kvstool({QStringLiteral("render"), q(folder / "Highlands.lnd"), q(folder / "z.png"),
                     QStringLiteral("--zoom"), QLatin1String(zoom), QStringLiteral("--grid")});
        EXPECT_EQ(big.code, 0) << big.err;
        const QImage z(q(folder / "z.png"));
        const int step = QByteArray(zoom).toInt();
        ASSERT_EQ(z.width(), 64 * step);
        EXPECT_EQ(z.pixel(20 * step, 30 * step + 1) == qRgb(255, 0, 0), step < 4) << zoom;
        EXPECT_EQ(z.pixel(20 * step + 1, 30 * step + 1), qRgb(255, 0, 0)) << zoom;
    }
}

} // namespace
} // namespace kv::mapview
