#include "platform/errno_status.h"

#include <cerrno>
#include <cstring>
#include <string>

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

} // namespace kv::platform
