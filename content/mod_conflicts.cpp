#include "content/mod_conflicts.h"

#include "common/paths.h"
#include "kdg/archive_reader.h"
#include "platform/files.h"
#include "platform/text.h"

#include <cstdint>
#include <unordered_map>

namespace kv::content {

namespace {

std::string lowerKey(std::string_view text) {
    std::string key(text);
    for (char& c : key)
        c = platform::lowerAscii(c);
    return key;
}

// The group as a folder path: '\' separators, none at either end.
std::string groupFolder(std::string_view group) {
    std::string folder(group);
    for (char& c : folder)
        if (c == '/')
            c = '\\';
    const std::size_t first = folder.find_first_not_of("\\ ");
    if (first == std::string::npos)
        return {};
    const std::size_t last = folder.find_last_not_of("\\ ");
    return folder.substr(first, last - first + 1);
}

using Holders = std::vector<std::uint32_t>; // archive indexes, ascending, no repeats

struct HeldName {
    const std::string* name;
    const Holders* holders;
};

} // namespace

std::string conflictEntryName(const kdg::KdgEntry& entry) {
    const std::string folder = groupFolder(entry.Group);
    return folder.empty() ? entry.Name : folder + "\\" + entry.Name;
}

ArchiveNames archiveNames(std::string label, bool original, const kdg::KdgArchiveInfo& info) {
    ArchiveNames out{std::move(label), original, {}};
    out.names.reserve(info.Entries.size());
    for (const kdg::KdgEntry& e : info.Entries)
        if (!e.IsEmpty)
            out.names.push_back(conflictEntryName(e));
    return out;
}

ConflictReport compareArchives(const std::vector<ArchiveNames>& archives) {
    std::size_t total = 0;
    for (const ArchiveNames& a : archives)
        total += a.names.size();
    std::unordered_map<std::string, Holders> holders;
    holders.reserve(total);
    // Each archive's names once each, with who else holds them; map nodes never move.
    std::vector<std::vector<HeldName>> held(archives.size());
    for (std::uint32_t i = 0; i < archives.size(); ++i) {
        held[i].reserve(archives[i].names.size());
        for (const std::string& name : archives[i].names) {
            Holders& h = holders[lowerKey(name)];
            if (!h.empty() && h.back() == i)
                continue;
            h.push_back(i);
            held[i].push_back({&name, &h});
        }
    }

    ConflictReport report;
    for (std::uint32_t i = 0; i < archives.size(); ++i) {
        if (archives[i].original)
            continue;
        ModConflicts& mod = report.mods.emplace_back();
        mod.mod = archives[i].label;
        for (const HeldName& n : held[i]) {
            if (n.holders->size() < 2)
                continue;
            SharedEntry& entry = mod.entries.emplace_back();
            entry.name = *n.name;
            for (std::uint32_t other : *n.holders) {
                if (other == i)
                    continue;
                (archives[other].original ? entry.originals : entry.mods)
                    .push_back(archives[other].label);
            }
        }
    }
    return report;
}

ConflictReport findModConflicts(const std::string& gameFolder, const OriginalKdgs& originals,
                                const kdg::NameTables& tables,
                                const std::function<bool()>& stopRequested) {
    std::vector<ArchiveNames> archives;
    std::vector<DamagedArchive> damaged;
    bool stopped = false;
    const std::string folder = withTrailingSeparator(gameFolder);
    for (const platform::DirEntry& e : platform::listDirectory(folder, "*.kdg")) {
        if (e.isFolder || e.name.size() < 4)
            continue;
        if (stopRequested && stopRequested()) {
            stopped = true;
            break;
        }
        const std::string base = e.name.substr(0, e.name.size() - 4);
        const bool original = originals.isOriginalBase(base);
        kdg::KdgArchiveInfo info;
        std::string reason;
        if (!kdg::ReadArchiveDirectory(folder + e.name, info, tables, &reason)) {
            damaged.push_back({e.name, reason});
            continue;
        }
        archives.push_back(archiveNames(original ? e.name : base, original, info));
    }
    ConflictReport report = compareArchives(archives);
    report.damaged = std::move(damaged);
    report.stopped = stopped;
    return report;
}

} // namespace kv::content
