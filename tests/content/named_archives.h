#pragma once
// Archives of named files in a test world's game folder, for comparing MODs by name.
#include "kdg/name_tables.h"
#include "tests/content/content_world.h"

#include <string>
#include <vector>

namespace kv::test {

// An archive of the game folder: "group\name" per file, the group optional.
struct ArchiveSketch {
    std::string fileName;
    std::vector<std::string> files;
};

// Writes the archives into the world's game folder; the tables returned name their files.
kdg::NameTables writeNamedArchives(ContentWorld& w, const std::vector<ArchiveSketch>& archives);

} // namespace kv::test
