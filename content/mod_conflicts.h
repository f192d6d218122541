#pragma once
// Which files the active MODs of a game folder fight over: entries held by more than one
// active MOD, and entries of the game's own archives a MOD replaces. Worked out from the
// archives' directories alone; no file's data is read.
#include "content/original_kdgs.h"
#include "kdg/archive_info.h"
#include "kdg/name_tables.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kv::content {

// One entry of a MOD that some other archive holds too.
struct SharedEntry {
    std::string name;                   // as the MOD's entry is shown, group folder first
    std::vector<std::string> mods;      // the other active MODs holding it, by list text
    std::vector<std::string> originals; // the game's own archives holding it, by file name
};

struct ModConflicts {
    std::string mod; // the MOD list's text: the file name without ".kdg"
    std::vector<SharedEntry> entries;
};

struct DamagedArchive {
    std::string fileName;
    std::string reason;
};

struct ConflictReport {
    std::vector<ModConflicts> mods; // every active MOD that could be read, in folder order
    std::vector<DamagedArchive> damaged;
    bool stopped = false; // the caller gave up before the end; the report is partial
};

// One archive's files as compared. Archives store only hashes: two entries are the same
// file when their type and name hash are equal; the name is what a reader is shown.
struct ComparedEntry {
    std::uint64_t key = 0; // type id in the high half, name hash in the low half
    std::string name;
};
struct ArchiveNames {
    std::string label; // list text for a MOD, file name for an original
    bool original = false;
    std::vector<ComparedEntry> entries; // empty slots have no file and are left out
};

// The name an entry is shown by: its group folder and its name ("audio\sfx\Horn.wav").
std::string conflictEntryName(const kdg::KdgEntry& entry);
ArchiveNames archiveNames(std::string label, bool original, const kdg::KdgArchiveInfo& info);

// The shared entries of each MOD among `archives`. An entry held twice by one archive
// counts once; entries keep the MOD's own order.
ConflictReport compareArchives(const std::vector<ArchiveNames>& archives);

// Reads the directories of the active archives (".kdg") of `gameFolder`: those listed in
// `originals` are the game's own, the others are the active MODs. `stopRequested` is
// asked between archives; when it says yes, the partial report is marked stopped.
ConflictReport findModConflicts(const std::string& gameFolder, const OriginalKdgs& originals,
                                const kdg::NameTables& tables,
                                const std::function<bool()>& stopRequested = {});

} // namespace kv::content
