#pragma once
// Large-file access beside the whole-file helpers of files.h: a read-only memory map for
// formats read at many offsets, a file read at chosen offsets, and (atomic_file.h) the
// streamed writer that only replaces its target once everything was written.
#include "platform/atomic_file.h"
#include "platform/status.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kv::platform {

// The bytes an unprivileged writer may still put into `folder`, or into the nearest folder
// above it that exists; nothing when that cannot be learned.
std::optional<std::uint64_t> freeSpace(std::string_view folder);

// A read-only view of a whole file. Another process truncating the file while it is
// mapped is outside what readers guard against.
class MappedFile {
public:
    MappedFile() = default;
    ~MappedFile();
    MappedFile(MappedFile&& other) noexcept;
    MappedFile& operator=(MappedFile&& other) noexcept;
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    Status open(std::string_view path);
    void close();

    const std::uint8_t* data() const { return data_; }
    std::uint64_t size() const { return size_; }

private:
    const std::uint8_t* data_ = nullptr;
    std::uint64_t size_ = 0;
    void* mapping_ = nullptr; // what to unmap; null for an empty file
};

// A file read at chosen offsets, one system call per read. Unlike a memory map it cannot
// fault when another process shortens the file: the read just comes back short.
class RandomAccessFile {
public:
    RandomAccessFile() = default;
    ~RandomAccessFile();
    RandomAccessFile(const RandomAccessFile&) = delete;
    RandomAccessFile& operator=(const RandomAccessFile&) = delete;

    Status open(std::string_view path);
    void close();
    std::uint64_t size() const { return size_; } // when it was opened

    // Reads exactly `length` bytes at `offset`; error 62 when the file ends first.
    Status readAt(std::uint64_t offset, void* buffer, std::size_t length) const;
    // Hints that [offset, offset + length) is about to be read front to back.
    void adviseSequential(std::uint64_t offset, std::uint64_t length) const;

private:
    int fd_ = -1;
    std::uint64_t size_ = 0;
    std::string path_;
};

} // namespace kv::platform
