#pragma once
// Large-file access beside the whole-file helpers of files.h: a read-only memory map for
// formats read at many offsets, and a streamed writer that only replaces its target once
// everything was written.
#include "platform/status.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kv::platform {

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

// Writes a file in pieces into a temporary file beside the target; commit() renames it
// into place. Until then the target is untouched; abandoning removes the temporary file.
class AtomicFileWriter {
public:
    AtomicFileWriter() = default;
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    // The target path is used as given, not matched without regard to case: callers pass
    // a path from resolvePath (or one they resolved themselves).
    Status open(std::string_view targetPath);
    Status write(const void* data, std::size_t length);
    Status commit();
    void abandon();

private:
    int fd_ = -1;
    std::string target_;
    std::string temp_;
};

} // namespace kv::platform
