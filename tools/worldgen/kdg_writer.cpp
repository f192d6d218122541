#include "tools/worldgen/kdg_writer.h"

#include <filesystem>
#include <fstream>

namespace kv::worldgen {

namespace {

void putLE32(std::string& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out += char((v >> (8 * i)) & 0xFF);
}

void putField(std::string& out, const std::string& text, std::size_t width) {
    std::string field = text.substr(0, width - 1);
    field.resize(width, '\0');
    out += field;
}

std::uint64_t dataSize(const KdgFileSpec& f) {
    if (f.emptySlot)
        return 0;
    if (f.sourcePath.empty())
        return f.data.size();
    std::error_code ec;
    const auto size = std::filesystem::file_size(f.sourcePath, ec);
    return ec ? 0 : size;
}

std::uint64_t sectionBytes(const KdgSectionSpec& s) {
    std::uint64_t bytes = 20 * s.files.size();
    for (const KdgFileSpec& f : s.files)
        bytes += dataSize(f);
    return bytes;
}

// Everything before the first file table.
std::string headerAndDirectory(const KdgArchiveSpec& spec) {
    std::string out = spec.version == 4 ? "KDG4" : "KDG5";
    putLE32(out, std::uint32_t(spec.sections.size()));
    if (spec.version != 4) {
        putField(out, spec.internalName, 16);
        putLE32(out, spec.internalId);
        putLE32(out, std::uint32_t(spec.required.size()));
        for (const KdgRequiredSpec& r : spec.required) {
            putField(out, r.name, 16);
            putLE32(out, r.number);
        }
    }
    std::uint64_t table = out.size() + 12 * spec.sections.size();
    for (const KdgSectionSpec& s : spec.sections) {
        putLE32(out, s.nameHash);
        putLE32(out, std::uint32_t(table));
        putLE32(out, std::uint32_t(s.files.size()));
        table += sectionBytes(s);
    }
    return out;
}

std::string fileTable(const KdgSectionSpec& s) {
    std::string out;
    std::uint64_t offset = 0;
    for (const KdgFileSpec& f : s.files) {
        putLE32(out, f.typeId);
        putLE32(out, f.nameHash);
        const std::uint64_t size = dataSize(f);
        putLE32(out, f.emptySlot ? 0xFFFFFFFFu : std::uint32_t(offset));
        putLE32(out, f.emptySlot ? 0xFFFFFFFFu : std::uint32_t(size));
        out += char(f.flag1);
        out += char(f.flag2);
        out += std::string(2, '\0');
        offset += size;
    }
    return out;
}

template <typename Sink> bool emit(const KdgArchiveSpec& spec, Sink&& sink, std::string* error) {
    sink(headerAndDirectory(spec));
    std::string buffer;
    for (const KdgSectionSpec& s : spec.sections) {
        sink(fileTable(s));
        for (const KdgFileSpec& f : s.files) {
            if (f.emptySlot)
                continue;
            if (f.sourcePath.empty()) {
                sink(f.data);
                continue;
            }
            std::ifstream in(f.sourcePath, std::ios::binary);
            if (!in) {
                if (error)
                    *error = "cannot read " + f.sourcePath;
                return false;
            }
            buffer.resize(1 << 20);
            while (in) {
                in.read(buffer.data(), std::streamsize(buffer.size()));
                sink(std::string_view(buffer.data(), std::size_t(in.gcount())));
            }
        }
    }
    return true;
}

} // namespace

std::uint64_t kdgDirectoryOffset(const KdgArchiveSpec& spec) {
    return spec.version == 4 ? 8 : 32 + 20 * spec.required.size();
}

std::uint64_t kdgFileTableOffset(const KdgArchiveSpec& spec, std::size_t section) {
    std::uint64_t table = kdgDirectoryOffset(spec) + 12 * spec.sections.size();
    for (std::size_t i = 0; i < section; ++i)
        table += sectionBytes(spec.sections[i]);
    return table;
}

std::string buildKdgArchive(const KdgArchiveSpec& spec) {
    std::string out;
    emit(
        spec, [&](std::string_view bytes) { out += bytes; }, nullptr);
    return out;
}

bool writeKdgArchive(const std::string& path, const KdgArchiveSpec& spec, std::string* error) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) {
        if (error)
            *error = "cannot create " + path;
        return false;
    }
    if (!emit(
            spec,
            [&](std::string_view bytes) { out.write(bytes.data(), std::streamsize(bytes.size())); },
            error))
        return false;
    out.close();
    if (!out) {
        if (error)
            *error = "cannot write " + path;
        return false;
    }
    return true;
}

std::uint32_t kdgNameHash(std::string_view name) {
    std::uint32_t h = 2166136261u;
    for (char c : name) {
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
        h = (h ^ std::uint8_t(c)) * 16777619u;
    }
    return h;
}

} // namespace kv::worldgen
