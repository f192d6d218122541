#include "tools/worldgen/kdg_small_archives.h"

namespace kv::worldgen {

const char* const kControlCharacterName = "\x1b]0;owned\x07"
                                          "evil\x1b[2J.txt";

KdgArchiveSpec smallTwoSectionArchive() {
    KdgArchiveSpec plan;
    plan.internalName = "small";
    plan.required = {{"base", 1}};
    plan.sections = {{0x10, {kdgFile(0xA, "first file"), kdgFile(0xB, "second")}},
                     {0x20, {kdgFile(0xC, "third"), kdgFile(0xD, "last one")}}};
    return plan;
}

KdgArchiveSpec twoFileArchive() {
    KdgArchiveSpec plan;
    plan.sections = {{0x1, {kdgFile(0x1, "evil data"), kdgFile(0x2, "plain")}}};
    return plan;
}

std::string controlCharacterFilesTable() {
    return std::string("1,") + kControlCharacterName + ",TEXT,\r\n2,plain.txt,TEXT,\r\n";
}

std::string textTypesTable() {
    return "TEXT,1,txt\r\n";
}

std::string patternBytes(std::size_t n, unsigned seed) {
    std::string out(n, '\0');
    for (std::size_t i = 0; i < n; ++i)
        out[i] = char((i * 131 + seed * 7 + i / 251) & 0xFF);
    return out;
}

KdgArchiveSpec oneSectionArchive(const std::vector<std::string>& data) {
    KdgArchiveSpec plan;
    plan.sections = {{0x1, {}}};
    for (std::size_t i = 0; i < data.size(); ++i)
        plan.sections[0].files.push_back(kdgFile(std::uint32_t(i + 1), data[i]));
    return plan;
}

} // namespace kv::worldgen
