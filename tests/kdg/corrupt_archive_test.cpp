#include "kdg/archive_reader.h"
#include "tools/worldgen/kdg_sample.h"
#include "tools/worldgen/kdg_small_archives.h"

#include <gtest/gtest.h>

namespace kv::kdg {
namespace {

using worldgen::KdgArchiveSpec;

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

} // namespace
} // namespace kv::kdg
