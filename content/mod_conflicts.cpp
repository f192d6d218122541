#include "content/mod_conflicts.h"

#include "common/paths.h"
#include "kdg/archive_reader.h"
#include "platform/files.h"

#include <cstdint>
#include <unordered_map>

namespace kv::content {

namespace {

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

} // namespace

std::string conflictEntryName(const kdg::KdgEntry& entry) {
    const std::string folder = groupFolder(entry.Group);
    return folder.empty() ? entry.Name : folder + "\\" + entry.Name;
}

ArchiveNames archiveNames(std::string label, bool original, const kdg::KdgArchiveInfo& info) {
    ArchiveNames out{std::move(label), original, {}};
    out.entries.reserve(info.Entries.size());
    for (const kdg::KdgEntry& e : info.Entries)
        if (!e.IsEmpty)
            out.entries.push_back({std::uint64_t(e.TypeId) << 32 | e.NameHash, conflictEntryName(e)});
    return out;
}

ConflictReport compareArchives(const std::vector<ArchiveNames>& archives) {
    // Each distinct entry gets an id; an occurrence is one archive holding one entry, kept
    // once per archive and in archive order, so each entry's holders come out ascending.
    struct Occurrence {
        std::uint32_t archive;
        std::uint32_t name;
        const std::string* text;
    };
    std::size_t total = 0;
    for (const ArchiveNames& a : archives)
        total += a.entries.size();
    std::unordered_map<std::uint64_t, std::uint32_t> ids;
    ids.reserve(total);
    std::vector<Occurrence> occurrences;
    occurrences.reserve(total);
    std::vector<std::uint32_t> lastHolder; // per name: the archive that last held it, + 1
    for (std::uint32_t i = 0; i < archives.size(); ++i) {
        for (const ComparedEntry& e : archives[i].entries) {
            const auto [it, added] = ids.try_emplace(e.key, std::uint32_t(lastHolder.size()));
            if (added)
                lastHolder.push_back(0);
            const std::uint32_t id = it->second;
            if (lastHolder[id] == i + 1)
                continue; // the same entry again in the same archive
            lastHolder[id] = i + 1;
            occurrences.push_back({i, id, &e.name});
        }
    }
    // The holders of every entry, side by side: holders[start[id] .. start[id + 1]).
    std::vector<std::uint32_t> start(lastHolder.size() + 1, 0);
    for (const Occurrence& o : occurrences)
        ++start[o.name + 1];
    for (std::size_t id = 1; id < start.size(); ++id)
        start[id] += start[id - 1];
    std::vector<std::uint32_t> holders(occurrences.size());
    std::vector<std::uint32_t> filled(start.begin(), start.end() - 1);
    for (const Occurrence& o : occurrences)
        holders[filled[o.name]++] = o.archive;

    ConflictReport report;
    std::size_t next = 0;
    for (std::uint32_t i = 0; i < archives.size(); ++i) {
        const std::size_t begin = next;
        while (next < occurrences.size() && occurrences[next].archive == i)
            ++next;
        if (archives[i].original)
            continue;
        ModConflicts& mod = report.mods.emplace_back();
        mod.mod = archives[i].label;
        for (std::size_t k = begin; k < next; ++k) {
            const Occurrence& o = occurrences[k];
            if (start[o.name + 1] - start[o.name] < 2)
                continue;
            SharedEntry& entry = mod.entries.emplace_back();
            entry.name = *o.text;
            for (std::uint32_t h = start[o.name]; h < start[o.name + 1]; ++h) {
                const std::uint32_t other = holders[h];
                if (other != i)
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
        if (e.isFolder || e.name.size() <= 4)
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
