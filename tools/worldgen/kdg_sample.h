#pragma once
// A sample mod archive for the demo world and for tests: named files, a complete map
// (the six map files, recognised by their first bytes), a saved game, an empty slot and
// files only the type table can name. The name-table rows that go with it come along.
#include "kdg/name_tables.h"
#include "tools/worldgen/kdg_writer.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace kv::worldgen {

struct KdgSample {
    KdgArchiveSpec plan;
    std::vector<kdg::FileNameRow> files; // Files.txt rows naming the sections and files
};

// The type table of the demo world.
std::vector<kdg::TypeRow> sampleTypeRows();

// A binary map ("map " signature, version, height, width, then three bytes per tile)
// with a smooth hill pattern.
std::string sampleBinaryMap(int width, int height, std::uint32_t seed);

// A mod archive named `internalName`; `seed` varies the contents between mods.
KdgSample sampleModArchive(const std::string& internalName, std::uint32_t internalId,
                           std::uint32_t seed);

// Puts `files` (name, contents) as named files of group `group` into a new first section
// "<internalName>Map.krf", so a reader of the archive meets them before anything else.
void addNamedMapSection(KdgSample& sample, const std::string& group,
                        const std::vector<std::pair<std::string, std::string>>& files);

} // namespace kv::worldgen
