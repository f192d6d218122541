#pragma once
// A small archive of files the name tables name, one section: the game's own archives in
// the demo world, and archives whose entries overlap on purpose in tests and benchmarks.
#include "kdg/name_tables.h"
#include "tools/worldgen/kdg_sample.h"

#include <string>
#include <vector>

namespace kv::worldgen {

struct NamedKdgFile {
    std::string name;
    std::string group; // folder of the file, may be empty
    std::string data;
};

// Hashes are drawn from internalName + "/" + name, so two archives holding a file of the
// same name hold it under different hashes, named alike only through the tables.
KdgSample namedFilesArchive(const std::string& internalName,
                            const std::vector<NamedKdgFile>& files);

// An archive sketched by its files, "group\\name" each, the group optional.
struct ArchiveSketch {
    std::string fileName;
    std::vector<std::string> files;
};

// Writes the sketched archives into `folder`; the tables returned name their files, so
// that archives can be compared by name.
kdg::NameTables writeNamedArchives(const std::string& folder,
                                   const std::vector<ArchiveSketch>& archives);

} // namespace kv::worldgen
