#pragma once
// The KDG archive reader: signature, header, required archives, section directory and
// every file record, named through the name tables. Corrupt input makes it return false
// with a reason; it never reads outside the archive.
#include "kdg/archive_info.h"
#include "kdg/name_tables.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace kv::kdg {

// The one working limit: an archive with more file records is treated as corrupt.
// Sections and required archives are limited only by the archive's length.
inline constexpr std::uint64_t kMaxEntries = 5001;

// Reads an archive image held in memory. On failure `info` is cleared (its FileName
// kept), Loaded is false and `reason` holds a sentence for the user.
bool readArchiveImage(const std::uint8_t* data, std::uint64_t size, const NameTables& tables,
                      KdgArchiveInfo& info, std::string* reason = nullptr);
inline bool readArchiveImage(std::string_view image, const NameTables& tables, KdgArchiveInfo& info,
                             std::string* reason = nullptr) {
    return readArchiveImage(reinterpret_cast<const std::uint8_t*>(image.data()), image.size(),
                            tables, info, reason);
}

// Reads the archive file at `path` (through a memory map).
bool ReadArchive(const std::string& path, KdgArchiveInfo& info, const NameTables& tables,
                 std::string* reason = nullptr);

// The same checks and names, but no file's data is touched: files the tables do not name
// keep their "$" name and type, as if their first bytes matched no map signature. For
// comparing many archives by name without paging in their contents.
bool readArchiveDirectoryImage(const std::uint8_t* data, std::uint64_t size,
                               const NameTables& tables, KdgArchiveInfo& info,
                               std::string* reason = nullptr);
bool ReadArchiveDirectory(const std::string& path, KdgArchiveInfo& info, const NameTables& tables,
                          std::string* reason = nullptr);

// Clears `info`, sets FileName from the text after the last '\' or '/' of `path` when
// there is one, and reads the archive; false when there is no file at `path`.
bool LoadArchiveInfo(const std::string& path, KdgArchiveInfo& info, const NameTables& tables,
                     std::string* reason = nullptr);

} // namespace kv::kdg
