#include "kdg/name_tables.h"

#include "common/paths.h"
#include "kdg/hex_text.h"
#include "platform/files.h"
#include "platform/text.h"

#include <optional>

namespace kv::kdg {

namespace {

// The value whose lowerHex() text the key is; nothing for any other text ("0a", "A",
// " a"), which no look-up can match.
std::optional<std::uint32_t> keyValue(const std::string& key) {
    if (key.empty() || key.size() > 8)
        return std::nullopt;
    std::uint32_t value = 0;
    for (char c : key) {
        if (c >= '0' && c <= '9')
            value = value << 4 | std::uint32_t(c - '0');
        else if (c >= 'a' && c <= 'f')
            value = value << 4 | std::uint32_t(c - 'a' + 10);
        else
            return std::nullopt;
    }
    if (lowerHex(value) != key)
        return std::nullopt;
    return value;
}

// Keys of the searched rows, up to the first row without a key; the first row wins.
// A key matches only as the exact lower-case text the reader looks up.
template <typename Row, typename KeyOf>
void indexRows(const std::vector<Row>& rows, std::size_t searched, KeyOf keyOf,
               std::unordered_map<std::uint32_t, std::uint32_t>& index) {
    index.clear();
    for (std::size_t i = 0; i < rows.size() && i < searched; ++i) {
        const std::string& key = keyOf(rows[i]);
        if (key.empty())
            break;
        if (const std::optional<std::uint32_t> value = keyValue(key))
            index.emplace(*value, std::uint32_t(i));
    }
}

} // namespace

std::vector<std::string> splitTableLine(std::string_view line, std::size_t columns) {
    std::vector<std::string> fields;
    fields.reserve(columns);
    while (fields.size() + 1 < columns) {
        const std::size_t comma = line.find(',');
        if (comma == std::string_view::npos)
            break;
        fields.emplace_back(line.substr(0, comma));
        line.remove_prefix(comma + 1);
    }
    fields.emplace_back(line);
    fields.resize(columns);
    return fields;
}

NameTables::NameTables(std::vector<FileNameRow> files, std::vector<TypeRow> types)
    : files_(std::move(files)), types_(std::move(types)) {
    if (files_.size() > kFilesRowsKept)
        files_.resize(kFilesRowsKept);
    if (types_.size() > kTypesRowsKept)
        types_.resize(kTypesRowsKept);
    index();
}

NameTables NameTables::fromText(std::string_view filesText, std::string_view typesText) {
    std::vector<FileNameRow> files;
    for (const std::string& line : platform::splitLines(filesText)) {
        if (files.size() == kFilesRowsKept)
            break;
        auto f = splitTableLine(line, 4);
        files.push_back({std::move(f[0]), std::move(f[1]), std::move(f[2]), std::move(f[3])});
    }
    std::vector<TypeRow> types;
    for (const std::string& line : platform::splitLines(typesText)) {
        if (types.size() == kTypesRowsKept)
            break;
        auto f = splitTableLine(line, 3);
        types.push_back({std::move(f[0]), std::move(f[1]), std::move(f[2])});
    }
    return NameTables(std::move(files), std::move(types));
}

void NameTables::index() {
    indexRows(
        files_, kFilesRowsSearched,
        [](const FileNameRow& r) -> const std::string& { return r.hash; }, fileIndex_);
    indexRows(
        types_, kTypesRowsSearched, [](const TypeRow& r) -> const std::string& { return r.typeId; },
        typeIndex_);
}

const FileNameRow* NameTables::findFile(std::uint32_t hash) const {
    const auto it = fileIndex_.find(hash);
    return it == fileIndex_.end() ? nullptr : &files_[it->second];
}

const TypeRow* NameTables::findType(std::uint32_t typeId) const {
    const auto it = typeIndex_.find(typeId);
    return it == typeIndex_.end() ? nullptr : &types_[it->second];
}

NameTables LoadNameTables(const std::string& folder) {
    std::string filesText, typesText;
    // Missing tables are allowed: every name then comes from its hash.
    (void)platform::readFile(joinPath(folder, "Files.txt"), filesText, kNameTableReadLimit);
    (void)platform::readFile(joinPath(folder, "Types.txt"), typesText, kNameTableReadLimit);
    return NameTables::fromText(filesText, typesText);
}

} // namespace kv::kdg
