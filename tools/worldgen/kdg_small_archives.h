#pragma once
// Small archives for readers and extractors: one whose parts sit at known offsets, one
// whose file names carry terminal control characters, and data that differs byte by byte.
#include "tools/worldgen/kdg_writer.h"

#include <string>
#include <vector>

namespace kv::worldgen {

// Version 5, internal name "small", one required archive ("base", 1) and two sections
// (0x10 with "first file" and "second", 0x20 with "third" and "last one"), hashes 0xA-0xD.
KdgArchiveSpec smallTwoSectionArchive();

// One section (0x1): file 0x1 "evil data", file 0x2 "plain".
KdgArchiveSpec twoFileArchive();
// The name of file 0x1 in the tables below: an escape sequence that would retitle and clear
// a terminal, and a bell.
extern const char* const kControlCharacterName;
// Files.txt naming file 0x1 kControlCharacterName and file 0x2 "plain.txt", both of type
// TEXT; Types.txt giving TEXT the extension "txt".
std::string controlCharacterFilesTable();
std::string textTypesTable();

// `n` bytes, a different run for each `seed`, that repeat no short pattern.
std::string patternBytes(std::size_t n, unsigned seed);

// Files 0x1, 0x2... of one section (0x1) holding `data`.
KdgArchiveSpec oneSectionArchive(const std::vector<std::string>& data);

} // namespace kv::worldgen
