#include "platform/errno_status.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace kv::platform {

Status statusFromErrno(int e, std::string_view path) {
    Status s;
    switch (e) {
    case ENOENT:
        s.code = err::FileNotFound;
        s.description = "File not found";
        break;
    case ENOTDIR:
        s.code = err::PathNotFound;
        s.description = "Path not found";
        break;
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY:
        s.code = err::PermissionDenied;
        s.description = "Permission denied";
        break;
    case EEXIST:
    case ENOTEMPTY:
        s.code = err::FileAlreadyExists;
        s.description = "File already exists";
        break;
    case ENOSPC:
        s.code = err::DiskFull;
        s.description = "Disk full";
        break;
    default:
        s.code = err::PathFileAccess;
        s.description = "Path/File access error";
        break;
    }
    s.description += " (";
    s.description += std::strerror(e);
    s.description += ": ";
    s.description += path;
    s.description += ")";
    return s;
}

Status notRegularFileStatus(bool isFolder, std::string_view path) {
    if (isFolder)
        return statusFromErrno(EISDIR, path);
    Status s;
    s.code = err::PathFileAccess;
    s.description = "Path/File access error (not a regular file: " + std::string(path) + ")";
    return s;
}

Status openRegularFile(const std::string& full, int& fd, std::uint64_t& size) {
    fd = ::open(full.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return statusFromErrno(errno, full);
    struct stat st;
    const bool statted = ::fstat(fd, &st) == 0;
    if (!statted || !S_ISREG(st.st_mode)) {
        const Status s = !statted ? statusFromErrno(errno, full)
                                  : notRegularFileStatus(S_ISDIR(st.st_mode), full);
        ::close(fd);
        fd = -1;
        return s;
    }
    size = std::uint64_t(st.st_size);
    return {};
}

} // namespace kv::platform
