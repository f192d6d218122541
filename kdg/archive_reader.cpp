#include "kdg/archive_reader.h"

#include "kdg/byte_reader.h"
#include "kdg/hex_text.h"
#include "platform/file_io.h"
#include "platform/files.h"
#include "platform/text.h"

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

namespace kv::kdg {

namespace {

constexpr std::uint32_t kEmptyMark = 0xFFFFFFFFu;
constexpr std::uint32_t kMiscDataType = 0x0E778391u;

struct MapSignature {
    const char* bytes;
    const char* name;
};
constexpr std::array<MapSignature, 6> kMapSignatures = {{
    {"dint", "DInit.bjo"},
    {"feat", "Feat.bjo"},
    {"map ", "Game.map"},
    {"stru", "Struct.bjo"},
    {"tagl", "TagList.tag"},
    {"ttyp", "TTypes.ttp"},
}};

bool isBlank(const std::string& s) {
    return s.find_first_not_of(" \t") == std::string::npos;
}

std::string sectionName(std::uint32_t hash, const NameTables& tables) {
    if (const FileNameRow* row = tables.findFile(hash))
        return row->name;
    std::string name = "$" + upperHex(hash);
    if (name.back() == '6')
        name += ".krf";
    return name;
}

// Names the entries of one archive; the map and "game" counters run across sections.
class EntryNamer {
public:
    EntryNamer(const ByteReader& bytes, const NameTables& tables, bool peekData)
        : bytes_(bytes), tables_(tables), peekData_(peekData) {}

    void name(KdgEntry& e) {
        if (const FileNameRow* row = tables_.findFile(e.NameHash)) {
            e.Name = row->name;
            e.TypeName = row->typeName;
            e.Group = row->group;
            e.NamedByContent = false;
            return;
        }
        if (peekData_ && e.Size > 5 && !e.IsEmpty && nameByContent(e))
            return;
        e.Name = "$" + upperHex(e.NameHash);
        e.NamedByContent = false;
        if (e.TypeId == kMiscDataType) {
            e.TypeName = "MISCDATA";
        } else if (const TypeRow* type = tables_.findType(e.TypeId)) {
            e.TypeName = type->typeName;
            e.Name += "." + type->extension;
        } else {
            e.TypeName = "$" + upperHex(e.TypeId);
        }
    }

private:
    bool nameByContent(KdgEntry& e) {
        for (const MapSignature& sig : kMapSignatures) {
            if (bytes_.bytesEqual(e.DataOffset, sig.bytes, 4)) {
                e.Name = sig.name;
                e.Group = "Map" + std::to_string(maps_ / 6 + 1);
                ++maps_;
                return true;
            }
        }
        if (bytes_.bytesEqual(e.DataOffset, "game", 4)) {
            ++games_;
            e.Name = "(" + std::to_string(games_) + ") $" + upperHex(e.NameHash) + ".gam";
            return true;
        }
        return false;
    }

    const ByteReader& bytes_;
    const NameTables& tables_;
    bool peekData_;
    std::uint64_t maps_ = 0;
    std::uint64_t games_ = 0;
};

bool fail(KdgArchiveInfo& info, std::string* reason, std::string why) {
    std::string fileName = std::move(info.FileName);
    ClearArchiveInfo(info);
    info.FileName = std::move(fileName);
    if (reason)
        *reason = std::move(why);
    return false;
}

// Two entries whose data share bytes: the writer never makes them, and an archive that
// points thousands of entries at one block would write far more than it holds.
std::optional<std::string> sharedData(const std::vector<KdgEntry>& entries) {
    std::vector<std::size_t> order;
    order.reserve(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (!entries[i].IsEmpty && entries[i].Size > 0)
            order.push_back(i);
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return entries[a].DataOffset < entries[b].DataOffset;
    });
    for (std::size_t k = 1; k < order.size(); ++k) {
        const KdgEntry& before = entries[order[k - 1]];
        if (before.DataOffset + before.Size > entries[order[k]].DataOffset) {
            // Numbered, not named: the directory-only read names fewer files.
            const auto [first, second] = std::minmax(order[k - 1], order[k]);
            return "File records " + std::to_string(first + 1) + " and " +
                   std::to_string(second + 1) + " share their data: the archive is damaged.";
        }
    }
    return std::nullopt;
}

bool readImage(const std::uint8_t* data, std::uint64_t size, const NameTables& tables,
               KdgArchiveInfo& info, std::string* reason, bool peekData) {
    info.Loaded = false;
    const ByteReader bytes(data, size);
    KdgArchiveInfo out;

    if (bytes.bytesEqual(0, "KDG4", 4))
        out.Version = 4;
    else if (bytes.bytesEqual(0, "KDG5", 4))
        out.Version = 5;
    else
        return fail(info, reason,
                    "This is not a KDG archive (it does not begin with KDG4 or KDG5).");

    std::uint64_t base = 8;
    if (out.Version == 4) {
        if (!bytes.has(0, 8))
            return fail(info, reason, "The archive is shorter than its header.");
        out.InternalId = "0";
        out.InternalName = "korvane";
    } else {
        if (!bytes.has(0, 32))
            return fail(info, reason, "The archive is shorter than its header.");
        out.InternalId = std::to_string(bytes.le32(24));
        out.InternalName = bytes.ReadZString(8, 16);
        const std::uint64_t required = bytes.le32(28);
        // Counts are bounded by the archive's length only: the records must fit in it.
        base = 32 + 20 * required;
        if (!bytes.has(0, base))
            return fail(info, reason,
                        "The list of required archives runs past the end of the archive.");
        out.RequiredArchives.reserve(required);
        for (std::uint64_t i = 0; i < required; ++i) {
            const std::uint64_t record = 32 + 20 * i;
            out.RequiredArchives.push_back("(" + std::to_string(bytes.le32(record + 16)) + ") " +
                                           bytes.ReadZString(record, 16));
        }
    }

    const std::uint64_t sections = bytes.le32(4);
    const std::uint64_t directoryEnd = base + 12 * sections;
    if (!bytes.has(0, directoryEnd))
        return fail(info, reason, "The section directory runs past the end of the archive.");

    std::uint64_t records = 0;
    for (std::uint64_t i = 0; i < sections; ++i)
        records += bytes.le32(base + 12 * i + 8);
    if (records > kMaxEntries)
        return fail(info, reason,
                    "The archive holds " + std::to_string(records) +
                        " file records; at most 5001 are supported.");
    out.Entries.reserve(records);
    out.Sections.reserve(sections);

    EntryNamer namer(bytes, tables, peekData);
    for (std::uint64_t i = 0; i < sections; ++i) {
        const std::uint64_t record = base + 12 * i;
        const std::string section = sectionName(bytes.le32(record), tables);
        const std::uint64_t table = bytes.le32(record + 4);
        const std::uint64_t count = bytes.le32(record + 8);
        // An empty section's table is never read, so its offset does not matter.
        if (count > 0 && table < directoryEnd)
            return fail(info, reason,
                        "The file table of section " + section + " overlaps the archive's header.");
        const std::uint64_t dataArea = table + 20 * count;
        if (count > 0 && !bytes.has(0, dataArea))
            return fail(info, reason,
                        "The file table of section " + section +
                            " runs past the end of the archive.");
        if (!isBlank(section))
            out.Sections.push_back(section);

        for (std::uint64_t j = 0; j < count; ++j) {
            const std::uint64_t file = table + 20 * j;
            KdgEntry& e = out.Entries.emplace_back();
            e.NamedByContent = true;
            e.TypeId = bytes.le32(file);
            e.NameHash = bytes.le32(file + 4);
            e.TypeName = "MISCDATA";
            const std::uint32_t offset = bytes.le32(file + 8);
            e.Size = bytes.le32(file + 12);
            e.Flag1 = *bytes.at(file + 16);
            e.Flag2 = *bytes.at(file + 17);
            e.IsEmpty = offset == kEmptyMark && e.Size == kEmptyMark;
            e.DataOffset = offset + dataArea;
            e.Section = section;
            if (!e.IsEmpty && !bytes.has(e.DataOffset, e.Size))
                return fail(info, reason,
                            "File " + std::to_string(j + 1) + " of section " + section +
                                " lies past the end of the archive.");
            namer.name(e);
        }
    }

    if (auto why = sharedData(out.Entries))
        return fail(info, reason, *why);

    for (const KdgEntry& e : out.Entries) {
        for (const std::string* field : {&e.Name, &e.TypeName, &e.Group, &e.Section}) {
            if (platform::equalsNoCase(*field, "Names.txt")) {
                out.HasNamesList = true;
                break;
            }
        }
        if (out.HasNamesList)
            break;
    }
    out.FileName = std::move(info.FileName);
    out.Loaded = true;
    info = std::move(out);
    return true;
}

bool readFile(const std::string& path, KdgArchiveInfo& info, const NameTables& tables,
              std::string* reason, bool peekData) {
    info.Loaded = false;
    platform::MappedFile file;
    if (platform::Status s = file.open(path); !s)
        return fail(info, reason, "The archive cannot be opened: " + s.description);
    return readImage(file.data(), file.size(), tables, info, reason, peekData);
}

} // namespace

bool readArchiveImage(const std::uint8_t* data, std::uint64_t size, const NameTables& tables,
                      KdgArchiveInfo& info, std::string* reason) {
    return readImage(data, size, tables, info, reason, true);
}

bool readArchiveDirectoryImage(const std::uint8_t* data, std::uint64_t size,
                               const NameTables& tables, KdgArchiveInfo& info,
                               std::string* reason) {
    return readImage(data, size, tables, info, reason, false);
}

bool ReadArchive(const std::string& path, KdgArchiveInfo& info, const NameTables& tables,
                 std::string* reason) {
    return readFile(path, info, tables, reason, true);
}

bool ReadArchiveDirectory(const std::string& path, KdgArchiveInfo& info, const NameTables& tables,
                          std::string* reason) {
    return readFile(path, info, tables, reason, false);
}

bool LoadArchiveInfo(const std::string& path, KdgArchiveInfo& info, const NameTables& tables,
                     std::string* reason) {
    ClearArchiveInfo(info);
    const std::size_t slash = path.find_last_of("\\/");
    if (slash != std::string::npos) {
        std::string name = path.substr(slash + 1);
        const std::size_t first = name.find_first_not_of(" \t");
        const std::size_t last = name.find_last_not_of(" \t");
        info.FileName = first == std::string::npos ? "" : name.substr(first, last - first + 1);
    }
    // A folder or FIFO exists: the reader says why it is no archive.
    if (!platform::pathExists(path)) {
        if (reason)
            *reason = "The archive does not exist: " + path;
        return false;
    }
    return ReadArchive(path, info, tables, reason);
}

} // namespace kv::kdg
