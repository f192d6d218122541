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
std::string headerAndDirectory(const KdgArchiveSpec& plan) {
    std::string out = plan.version == 4 ? "KDG4" : "KDG5";
    putLE32(out, std::uint32_t(plan.sections.size()));
    if (plan.version != 4) {
        putField(out, plan.internalName, 16);
        putLE32(out, plan.internalId);
        putLE32(out, std::uint32_t(plan.required.size()));
        for (const KdgRequiredSpec& r : plan.required) {
            putField(out, r.name, 16);
            putLE32(out, r.number);
        }
    }
    std::uint64_t table = out.size() + 12 * plan.sections.size();
    for (const KdgSectionSpec& s : plan.sections) {
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

template <typename Sink> bool emit(const KdgArchiveSpec& plan, Sink&& sink, std::string* error) {
    sink(headerAndDirectory(plan));
    std::string buffer;
    for (const KdgSectionSpec& s : plan.sections) {
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

std::uint64_t kdgDirectoryOffset(const KdgArchiveSpec& plan) {
    return plan.version == 4 ? 8 : 32 + 20 * plan.required.size();
}

std::uint64_t kdgFileTableOffset(const KdgArchiveSpec& plan, std::size_t section) {
    std::uint64_t table = kdgDirectoryOffset(plan) + 12 * plan.sections.size();
    for (std::size_t i = 0; i < section; ++i)
        table += sectionBytes(plan.sections[i]);
    return table;
}

std::string buildKdgArchive(const KdgArchiveSpec& plan) {
    std::string out;
    emit(
        plan, [&](std::string_view bytes) { out += bytes; }, nullptr);
    return out;
}

bool writeKdgArchive(const std::string& path, const KdgArchiveSpec& plan, std::string* error) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) {
        if (error)
            *error = "cannot create " + path;
        return false;
    }
    if (!emit(
            plan,
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
