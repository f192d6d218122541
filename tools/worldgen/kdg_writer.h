#pragma once
// Writes KDG archives (versions 4 and 5) from a description: required archives, KRF
// sections, file records with their data, empty slots. Layout: header, section directory,
// then each section's file table followed by its data, files back to back.
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kv::worldgen {

struct KdgFileSpec {
    std::uint32_t typeId = 0;
    std::uint32_t nameHash = 0;
    std::string data;       // the stored bytes...
    std::string sourcePath; // ...or, when set, the bytes of this file (for large archives)
    bool emptySlot = false; // written with offset and size 0xFFFFFFFF, no data
    std::uint8_t flag1 = 0;
    std::uint8_t flag2 = 0;
};

// A stored file, or an empty slot, of the given type.
inline KdgFileSpec kdgFile(std::uint32_t hash, std::string data, std::uint32_t typeId = 1) {
    return KdgFileSpec{typeId, hash, std::move(data), {}, false, 0, 0};
}
inline KdgFileSpec kdgEmptySlot(std::uint32_t hash, std::uint32_t typeId = 1) {
    return KdgFileSpec{typeId, hash, {}, {}, true, 0, 0};
}

struct KdgSectionSpec {
    std::uint32_t nameHash = 0;
    std::vector<KdgFileSpec> files;
};

struct KdgRequiredSpec {
    std::string name; // at most 15 characters are kept
    std::uint32_t number = 0;
};

struct KdgArchiveSpec {
    int version = 5;          // 4 or 5
    std::string internalName; // version 5, at most 15 characters are kept
    std::uint32_t internalId = 0;
    std::vector<KdgRequiredSpec> required; // version 5
    std::vector<KdgSectionSpec> sections;
};

// Where the parts of the archive go, for tests that damage one on purpose.
std::uint64_t kdgDirectoryOffset(const KdgArchiveSpec& plan);
std::uint64_t kdgFileTableOffset(const KdgArchiveSpec& plan, std::size_t section);

// The archive as bytes (files given by `sourcePath` are read in).
std::string buildKdgArchive(const KdgArchiveSpec& plan);

// Streams the archive to `path`; false with `error` set when a file cannot be read or
// the archive cannot be written.
bool writeKdgArchive(const std::string& path, const KdgArchiveSpec& plan,
                     std::string* error = nullptr);

// A stable 32-bit hash for generated names (FNV-1a of the lower-case name).
std::uint32_t kdgNameHash(std::string_view name);

} // namespace kv::worldgen
