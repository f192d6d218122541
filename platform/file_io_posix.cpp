#include "platform/file_io.h"

#include "platform/errno_status.h"
#include "platform/files.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>
#include <utility>

namespace kv::platform {

std::optional<std::uint64_t> freeSpace(std::string_view folder) {
    std::string path = resolvePath(folder);
    while (!path.empty()) {
        struct statvfs fs;
        if (::statvfs(path.c_str(), &fs) == 0)
            return std::uint64_t(fs.f_bavail) * fs.f_frsize;
        if (errno != ENOENT)
            return std::nullopt;
        while (!path.empty() && path.back() == '/')
            path.pop_back();
        path.erase(path.find_last_of('/') + 1);
    }
    return std::nullopt;
}

MappedFile::~MappedFile() {
    close();
}

MappedFile::MappedFile(MappedFile&& other) noexcept
    : data_(other.data_), size_(other.size_), mapping_(other.mapping_) {
    other.data_ = nullptr;
    other.size_ = 0;
    other.mapping_ = nullptr;
}

MappedFile& MappedFile::operator=(MappedFile&& other) noexcept {
    if (this != &other) {
        close();
        std::swap(data_, other.data_);
        std::swap(size_, other.size_);
        std::swap(mapping_, other.mapping_);
    }
    return *this;
}

Status MappedFile::open(std::string_view path) {
    close();
    const std::string full = resolvePath(path);
    int fd = -1;
    if (Status s = openRegularFile(full, fd, size_); !s)
        return s;
    if (size_ == 0) {
        static const std::uint8_t kNothing = 0;
        data_ = &kNothing;
        ::close(fd);
        return {};
    }
    void* p = ::mmap(nullptr, size_t(size_), PROT_READ, MAP_PRIVATE, fd, 0);
    const int e = errno;
    ::close(fd);
    if (p == MAP_FAILED) {
        size_ = 0;
        return statusFromErrno(e, full);
    }
    mapping_ = p;
    data_ = static_cast<const std::uint8_t*>(p);
    return {};
}

void MappedFile::close() {
    if (mapping_)
        ::munmap(mapping_, size_t(size_));
    mapping_ = nullptr;
    data_ = nullptr;
    size_ = 0;
}

RandomAccessFile::~RandomAccessFile() {
    close();
}

Status RandomAccessFile::open(std::string_view path) {
    close();
    path_ = resolvePath(path);
    return openRegularFile(path_, fd_, size_);
}

void RandomAccessFile::close() {
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    size_ = 0;
}

Status RandomAccessFile::readAt(std::uint64_t offset, void* buffer, std::size_t length) const {
    auto* p = static_cast<char*>(buffer);
    while (length > 0) {
        const ssize_t n = ::pread(fd_, p, length, off_t(offset));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return statusFromErrno(errno, path_);
        }
        if (n == 0)
            return {62, "Input past end of file"};
        p += n;
        offset += std::uint64_t(n);
        length -= std::size_t(n);
    }
    return {};
}

void RandomAccessFile::adviseSequential(std::uint64_t offset, std::uint64_t length) const {
    if (fd_ >= 0)
        ::posix_fadvise(fd_, off_t(offset), off_t(length), POSIX_FADV_SEQUENTIAL);
}

} // namespace kv::platform
