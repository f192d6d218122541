#pragma once
// The two name tables shipped beside the program: "Files.txt" (hash, file name, type
// label, group folder) and "Types.txt" (type label, type ID, extension). Archives store
// only hashes; these tables turn them into names.
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kv::kdg {

// Largest name table read; the rows kept fit in a small part of it.
inline constexpr std::uint64_t kNameTableReadLimit = std::uint64_t(8) << 20;
inline constexpr std::size_t kFilesRowsKept = 5001;
inline constexpr std::size_t kFilesRowsSearched = 5000;
inline constexpr std::size_t kTypesRowsKept = 51;
inline constexpr std::size_t kTypesRowsSearched = 50;

struct FileNameRow {
    std::string hash; // lower-case hexadecimal
    std::string name;
    std::string typeName;
    std::string group;
};

struct TypeRow {
    std::string typeName;
    std::string typeId;    // lower-case hexadecimal
    std::string extension; // without the dot
};

class NameTables {
public:
    NameTables() = default;
    NameTables(std::vector<FileNameRow> files, std::vector<TypeRow> types);

    // Parsed from the tables' text (lines of comma-separated columns).
    static NameTables fromText(std::string_view filesText, std::string_view typesText);

    // The row naming this hash or type ID, or null. Like a linear search of the searched
    // rows that stops at the first row without a key, so the first matching row wins.
    const FileNameRow* findFile(std::uint32_t hash) const;
    const TypeRow* findType(std::uint32_t typeId) const;

    const std::vector<FileNameRow>& files() const { return files_; }
    const std::vector<TypeRow>& types() const { return types_; }

private:
    void index();

    std::vector<FileNameRow> files_;
    std::vector<TypeRow> types_;
    // Keyed by value: only keys written as lowerHex() writes them can ever match.
    std::unordered_map<std::uint32_t, std::uint32_t> fileIndex_;
    std::unordered_map<std::uint32_t, std::uint32_t> typeIndex_;
};

// Reads "Files.txt" and "Types.txt" from `folder`. A missing or short file leaves the
// remaining rows empty; it is not an error.
NameTables LoadNameTables(const std::string& folder);

// Splits one table line into exactly `columns` fields: the text between commas, the last
// field taking the rest of the line. Fields are kept as written, blanks included.
std::vector<std::string> splitTableLine(std::string_view line, std::size_t columns);

} // namespace kv::kdg
