#pragma once
// One KDG archive as the launcher knows it: header values, required archives, KRF
// sections and one named row per stored file. Callers own it and may keep copies.
#include <cstdint>
#include <string>
#include <vector>

namespace kv::kdg {

struct KdgEntry {
    bool NamedByContent = false; // named from its first four data bytes
    std::uint32_t NameHash = 0;
    std::uint32_t TypeId = 0;
    std::string Name;     // display and output file name
    std::string TypeName; // type label
    std::uint32_t Size = 0;
    bool IsEmpty = false;         // an empty slot: no data, never listed or extracted
    std::uint64_t DataOffset = 0; // absolute offset of the data in the archive
    std::string Group;            // sub-folder on extraction; empty when none
    std::string Section;          // display name of the owning KRF section
    std::uint8_t Flag1 = 0;       // the record's two flag bytes, shown but not interpreted
    std::uint8_t Flag2 = 0;
};

struct KdgArchiveInfo {
    std::string FileName;                      // the archive's file name without folder
    int Version = 0;                           // 4 or 5 once loaded
    std::vector<std::string> RequiredArchives; // "(" number ") " name
    std::vector<std::string> Sections;         // in directory order
    std::string InternalName;
    std::string InternalId;
    std::vector<KdgEntry> Entries; // one per file record, empty slots included
    bool Loaded = false;
    bool HasNamesList = false;
};

// Empties the record so that nothing of a previously read archive survives a failed read.
void ClearArchiveInfo(KdgArchiveInfo& info);

} // namespace kv::kdg
