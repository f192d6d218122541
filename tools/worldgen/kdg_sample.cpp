#include "tools/worldgen/kdg_sample.h"

#include "kdg/hex_text.h"

#include <algorithm>

namespace kv::worldgen {

namespace {

using kdg::lowerHex;

std::string le32(std::uint32_t v) {
    std::string out;
    for (int i = 0; i < 4; ++i)
        out += char((v >> (8 * i)) & 0xFF);
    return out;
}

// Map files other than the map itself: their signature and a little body.
std::string mapPart(const char* signature, std::uint32_t seed, int length) {
    std::string out = signature;
    out += le32(seed);
    for (int i = 0; i < length; ++i)
        out += char((seed * 31 + std::uint32_t(i) * 7) & 0xFF);
    return out;
}

constexpr std::uint32_t kTextType = 0x0A1B2C3D;
constexpr std::uint32_t kSoundType = 0x00D15C06;
constexpr std::uint32_t kModelType = 0x0B0D1E55;
constexpr std::uint32_t kMiscType = 0x0E778391;

} // namespace

std::vector<kdg::TypeRow> sampleTypeRows() {
    return {{"TEXT", lowerHex(kTextType), "txt"},
            {"WAV", lowerHex(kSoundType), "wav"},
            {"PIE", lowerHex(kModelType), "pie"},
            {"MISCDATA", lowerHex(kMiscType), "dat"}};
}

std::string sampleBinaryMap(int width, int height, std::uint32_t seed) {
    std::string out = "map ";
    out += le32(2);
    out += le32(std::uint32_t(height));
    out += le32(std::uint32_t(width));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int dx = x - width / 2, dy = y - height / 2;
            const int hill =
                255 - (dx * dx + dy * dy) * 255 / (width * width / 4 + height * height / 4 + 1);
            out += char((x / 4 + y / 4 + int(seed)) % 8);  // texture
            out += char((x + y) % 9 == 0 ? 8 : 0);         // tile bits
            out += char(std::max(0, std::min(255, hill))); // height
        }
    }
    return out;
}

KdgSample sampleModArchive(const std::string& internalName, std::uint32_t internalId,
                           std::uint32_t seed) {
    KdgSample sample;
    KdgArchiveSpec& plan = sample.plan;
    plan.version = 5;
    plan.internalName = internalName;
    plan.internalId = internalId;
    plan.required = {{"korvane", 0}, {"NewMaps", 2}};

    auto named = [&](const std::string& name, const std::string& type, const std::string& group,
                     std::uint32_t typeId, std::string data) {
        // A file's hash follows its path, so two MODs holding one file share it.
        const std::uint32_t hash = kdgNameHash(group + "/" + name);
        sample.files.push_back({lowerHex(hash), name, type, group});
        return KdgFileSpec{typeId, hash, std::move(data), {}, false, 1, 0};
    };
    auto unnamed = [&](const std::string& key, std::uint32_t typeId, std::string data) {
        return KdgFileSpec{
            typeId, kdgNameHash(internalName + "#" + key), std::move(data), {}, false, 0, 0};
    };

    // Sections: their names come from the table, except the unnamed one.
    const std::uint32_t textsHash = kdgNameHash(internalName + "/texts.krf");
    sample.files.push_back({lowerHex(textsHash), "Texts.krf", "KRF", ""});
    KdgSectionSpec texts{textsHash, {}};
    texts.files.push_back(named("Names.txt", "TEXT", "messages", kTextType,
                                "Korvane Tactics mod " + internalName + "\r\n"));
    texts.files.push_back(named("Readme.txt", "TEXT", "", kTextType,
                                "A sample mod generated for the demo world.\r\n"));
    texts.files.push_back(unnamed("strings", kTextType, "unnamed strings table\r\n"));
    texts.files.push_back(kdgEmptySlot(kdgNameHash(internalName + "#slot"), kMiscType));
    plan.sections.push_back(std::move(texts));

    const std::uint32_t mapHash =
        (kdgNameHash(internalName + "/maps") & ~0xFu) | 0x6u; // unnamed: "$...6.krf"
    KdgSectionSpec maps{mapHash, {}};
    maps.files.push_back(unnamed("dinit", kMiscType, mapPart("dint", seed, 40)));
    maps.files.push_back(unnamed("feat", kMiscType, mapPart("feat", seed, 60)));
    maps.files.push_back(unnamed("map", kMiscType, sampleBinaryMap(48, 32, seed)));
    maps.files.push_back(unnamed("save", kMiscType, mapPart("game", seed, 20)));
    maps.files.push_back(unnamed("struct", kMiscType, mapPart("stru", seed, 80)));
    maps.files.push_back(unnamed("tags", kMiscType, mapPart("tagl", seed, 16)));
    maps.files.push_back(unnamed("ttypes", kMiscType, mapPart("ttyp", seed, 24)));
    plan.sections.push_back(std::move(maps));

    const std::uint32_t soundHash = kdgNameHash(internalName + "/sounds.krf");
    sample.files.push_back({lowerHex(soundHash), "Sounds.krf", "KRF", ""});
    KdgSectionSpec sounds{soundHash, {}};
    std::string wave = "RIFF";
    for (std::uint32_t i = 0; i < 3000; ++i)
        wave += char((i * (seed + 3)) & 0xFF);
    sounds.files.push_back(named("Horn.wav", "WAV", "\\audio\\sfx", kSoundType, wave));
    sounds.files.push_back(unnamed("click", kSoundType, "RIFF-click"));
    sounds.files.push_back(unnamed("model", kModelType, "PIE 2\r\nTYPE 200\r\n"));
    plan.sections.push_back(std::move(sounds));
    return sample;
}

void addNamedMapSection(KdgSample& sample, const std::string& group,
                        const std::vector<std::pair<std::string, std::string>>& files) {
    const std::string& owner = sample.plan.internalName;
    const std::string sectionName = owner + "Map.krf";
    const std::uint32_t sectionHash = kdgNameHash(owner + "/" + sectionName);
    sample.files.push_back({lowerHex(sectionHash), sectionName, "KRF", ""});
    KdgSectionSpec section{sectionHash, {}};
    for (const auto& [name, contents] : files) {
        const std::uint32_t hash = kdgNameHash(group + "/" + name);
        sample.files.push_back({lowerHex(hash), name, "MISCDATA", group});
        section.files.push_back(KdgFileSpec{kMiscType, hash, contents, {}, false, 1, 0});
    }
    sample.plan.sections.insert(sample.plan.sections.begin(), std::move(section));
}

} // namespace kv::worldgen
