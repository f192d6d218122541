#pragma once
// Writes the name tables "Files.txt" and "Types.txt" that name an archive's entries.
#include "kdg/name_tables.h"
#include "platform/status.h"

#include <string>
#include <vector>

namespace kv::worldgen {

// The tables' text: one CR LF line per row, columns joined with ",".
std::string filesTableText(const std::vector<kdg::FileNameRow>& rows);
std::string typesTableText(const std::vector<kdg::TypeRow>& rows);

// Writes both tables into `folder`.
platform::Status writeNameTables(const std::string& folder,
                                 const std::vector<kdg::FileNameRow>& files,
                                 const std::vector<kdg::TypeRow>& types);

} // namespace kv::worldgen
