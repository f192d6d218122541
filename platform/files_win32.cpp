#include "platform/files.h"

#include <windows.h>

#include <algorithm>
#include <string>

namespace kv::platform {

namespace {

// Windows names are matched without regard to case by the file system itself, so a path
// text only needs its separators made native.
std::string native(std::string_view path) {
    std::string out(path);
    for (char& c : out)
        if (c == '/')
            c = '\\';
    return out;
}

Status fromError(DWORD e, std::string_view path) {
    Status s;
    switch (e) {
    case ERROR_FILE_NOT_FOUND:
        s.code = err::FileNotFound;
        s.description = "File not found";
        break;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
        s.code = err::PathNotFound;
        s.description = "Path not found";
        break;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_WRITE_PROTECT:
        s.code = err::PermissionDenied;
        s.description = "Permission denied";
        break;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
    case ERROR_DIR_NOT_EMPTY:
        s.code = err::FileAlreadyExists;
        s.description = "File already exists";
        break;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        s.code = err::DiskFull;
        s.description = "Disk full";
        break;
    default:
        s.code = err::PathFileAccess;
        s.description = "Path/File access error";
        break;
    }
    s.description += " (error " + std::to_string(e) + ": " + std::string(path) + ")";
    return s;
}

Status lastError(std::string_view path) {
    return fromError(::GetLastError(), path);
}

DWORD attributesOf(const std::string& path) {
    return ::GetFileAttributesA(path.c_str());
}

bool isReadOnlyFile(const std::string& path) {
    const DWORD a = attributesOf(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
           (a & FILE_ATTRIBUTE_READONLY) != 0;
}

// The same refusal the POSIX side gives, so both report a read-only file alike.
Status readOnlyError(const std::string& path) {
    Status s;
    s.code = err::PathFileAccess;
    s.description = "Path/File access error (read-only: " + path + ")";
    return s;
}

// A folder, pipe or device is not read as a file, as on POSIX.
Status notAFile(const std::string& path) {
    Status s;
    s.code = err::PathFileAccess;
    s.description = "Path/File access error (not a regular file: " + path + ")";
    return s;
}

unsigned publicBits(DWORD a) {
    return unsigned(a) & (AttrReadOnly | AttrHidden | AttrDirectory);
}

std::string folderOf(const std::string& path) {
    const size_t slash = path.find_last_of('\\');
    if (slash == std::string::npos)
        return ".";
    return path.substr(0, slash + 1);
}

class Handle {
public:
    explicit Handle(HANDLE h) : h_(h) {}
    ~Handle() {
        if (valid())
            ::CloseHandle(h_);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    bool valid() const { return h_ != INVALID_HANDLE_VALUE && h_ != nullptr; }
    HANDLE get() const { return h_; }
    bool close() {
        const bool ok = ::CloseHandle(h_) != FALSE;
        h_ = INVALID_HANDLE_VALUE;
        return ok;
    }

private:
    HANDLE h_;
};

} // namespace

char nativeSeparator() {
    return '\\';
}

std::string resolvePath(std::string_view pathText) {
    return native(pathText);
}

bool pathExists(std::string_view path) {
    return attributesOf(native(path)) != INVALID_FILE_ATTRIBUTES;
}

bool fileExists(std::string_view path) {
    const DWORD a = attributesOf(native(path));
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool folderExists(std::string_view path) {
    const DWORD a = attributesOf(native(path));
    return !path.empty() && a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::optional<std::uint64_t> fileLength(std::string_view path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExA(native(path).c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return std::nullopt;
    return (std::uint64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

std::vector<DirEntry> listDirectory(std::string_view folder, std::string_view pattern) {
    std::vector<DirEntry> out;
    std::string query = native(folder);
    if (query.empty())
        query = ".";
    if (query.back() != '\\')
        query += '\\';
    query += native(pattern);
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA(query.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return out;
    do {
        const std::string_view name = found.cFileName;
        if (name == "." || name == "..")
            continue;
        DirEntry entry;
        entry.name = std::string(name);
        entry.isFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        entry.size =
            entry.isFolder ? 0 : (std::uint64_t(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
        entry.attributes = publicBits(found.dwFileAttributes);
        out.push_back(std::move(entry));
    } while (::FindNextFileA(search, &found));
    ::FindClose(search);
    return out;
}

std::optional<unsigned> getAttributes(std::string_view path) {
    const DWORD a = attributesOf(native(path));
    if (a == INVALID_FILE_ATTRIBUTES)
        return std::nullopt;
    return publicBits(a);
}

Status setAttributes(std::string_view path, unsigned attributes) {
    const std::string full = native(path);
    DWORD a = attributes & (AttrReadOnly | AttrHidden);
    if (a == 0)
        a = FILE_ATTRIBUTE_NORMAL;
    if (!::SetFileAttributesA(full.c_str(), a))
        return lastError(full);
    return {};
}

Status clearAttributes(std::string_view path) {
    return setAttributes(path, AttrNormal);
}

Status createFolder(std::string_view path) {
    const std::string full = native(path);
    if (!::CreateDirectoryA(full.c_str(), nullptr))
        return lastError(full);
    return {};
}

Status createFolderTree(std::string_view path) {
    const std::string full = native(path);
    // Skip the drive ("C:\") or the share ("\\server\share\") at the start.
    size_t start = 0;
    if (full.size() >= 2 && full[1] == ':')
        start = 3;
    else if (full.rfind("\\\\", 0) == 0) {
        const size_t server = full.find('\\', 2);
        const size_t share = server == std::string::npos ? server : full.find('\\', server + 1);
        start = share == std::string::npos ? full.size() : share + 1;
    }
    for (size_t pos = start; pos <= full.size(); ++pos) {
        if (pos != full.size() && full[pos] != '\\')
            continue;
        if (pos == 0 || full[pos - 1] == '\\')
            continue;
        const std::string prefix = full.substr(0, pos);
        if (attributesOf(prefix) != INVALID_FILE_ATTRIBUTES)
            continue;
        if (!::CreateDirectoryA(prefix.c_str(), nullptr) &&
            ::GetLastError() != ERROR_ALREADY_EXISTS)
            return lastError(prefix);
    }
    return {};
}

Status copyFile(std::string_view from, std::string_view to, bool overwrite) {
    const std::string source = native(from);
    const std::string target = native(to);
    if (!overwrite && attributesOf(target) != INVALID_FILE_ATTRIBUTES)
        return fromError(ERROR_FILE_EXISTS, target);
    if (isReadOnlyFile(target))
        return readOnlyError(target);
    std::string data;
    if (Status s = readFile(source, data); !s)
        return s;
    if (Status s = writeFileAtomic(target, data); !s)
        return s;
    // As CopyFile does: the copy takes the source's attributes.
    const DWORD a = attributesOf(source);
    if (a != INVALID_FILE_ATTRIBUTES)
        ::SetFileAttributesA(target.c_str(), a & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                                  FILE_ATTRIBUTE_ARCHIVE));
    return {};
}

Status renameEntry(std::string_view from, std::string_view to) {
    const std::string source = native(from);
    const std::string target = native(to);
    // MoveFile refuses an existing target but allows a change of letter case only.
    if (!::MoveFileA(source.c_str(), target.c_str()))
        return lastError(source);
    return {};
}

Status deleteFile(std::string_view path) {
    const std::string full = native(path);
    if (isReadOnlyFile(full))
        return readOnlyError(full);
    if (!::DeleteFileA(full.c_str()))
        return lastError(full);
    return {};
}

Status removeFolder(std::string_view path) {
    const std::string full = native(path);
    if (!::RemoveDirectoryA(full.c_str()))
        return lastError(full);
    return {};
}

Status readFile(std::string_view path, std::string& contents, std::uint64_t maxBytes) {
    const std::string full = native(path);
    contents.clear();
    // Opening a folder fails as "access denied"; say what the POSIX twin says.
    const DWORD attributes = attributesOf(full);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return notAFile(full);
    Handle file(::CreateFileA(full.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid())
        return lastError(full);
    // A pipe or device could block or never end.
    if (::GetFileType(file.get()) != FILE_TYPE_DISK)
        return notAFile(full);
    LARGE_INTEGER size;
    if (::GetFileSizeEx(file.get(), &size) && size.QuadPart > 0) {
        if (std::uint64_t(size.QuadPart) > maxBytes)
            return fromError(ERROR_FILE_TOO_LARGE, full);
        contents.reserve(size_t(size.QuadPart));
    }
    char buffer[1 << 16];
    for (;;) {
        DWORD n = 0;
        if (!::ReadFile(file.get(), buffer, sizeof buffer, &n, nullptr))
            return lastError(full);
        if (n == 0)
            break;
        if (contents.size() + n > maxBytes) {
            contents.clear();
            return fromError(ERROR_FILE_TOO_LARGE, full);
        }
        contents.append(buffer, n);
    }
    return {};
}

Status writeFileAtomic(std::string_view path, std::string_view contents) {
    std::string target = native(path);
    // Refused like a delete, so both twins stop at a read-only file alike.
    if (isReadOnlyFile(target))
        return readOnlyError(target);
    // A rewritten file keeps its name as stored on disk and its attributes.
    const DWORD oldAttributes = attributesOf(target);
    if (oldAttributes != INVALID_FILE_ATTRIBUTES) {
        WIN32_FIND_DATAA found;
        const HANDLE search = ::FindFirstFileA(target.c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            ::FindClose(search);
            target.replace(target.find_last_of('\\') + 1, std::string::npos, found.cFileName);
        }
    }
    char temp[MAX_PATH];
    if (!::GetTempFileNameA(folderOf(target).c_str(), "kvt", 0, temp))
        return lastError(target);
    {
        Handle file(::CreateFileA(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.valid()) {
            const DWORD e = ::GetLastError();
            ::DeleteFileA(temp);
            return fromError(e, target);
        }
        size_t written = 0;
        while (written < contents.size()) {
            const DWORD chunk = DWORD(std::min<size_t>(contents.size() - written, 1u << 30));
            DWORD n = 0;
            if (!::WriteFile(file.get(), contents.data() + written, chunk, &n, nullptr)) {
                const DWORD e = ::GetLastError();
                file.close();
                ::DeleteFileA(temp);
                return fromError(e, target);
            }
            written += n;
        }
        // On disk before it takes the target's place.
        if (!::FlushFileBuffers(file.get()) || !file.close()) {
            const DWORD e = ::GetLastError();
            ::DeleteFileA(temp);
            return fromError(e, target);
        }
    }
    if (!::MoveFileExA(temp, target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD e = ::GetLastError();
        ::DeleteFileA(temp);
        return fromError(e, target);
    }
    if (oldAttributes != INVALID_FILE_ATTRIBUTES)
        ::SetFileAttributesA(target.c_str(),
                             oldAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE |
                                              FILE_ATTRIBUTE_SYSTEM));
    return {};
}

// Windows has no cheap flush of a whole volume: each file pays its own.
Status writeFilesAtomic(const std::vector<FileContents>& files) {
    Status first;
    for (const FileContents& f : files)
        if (Status s = writeFileAtomic(f.path, f.contents); !s && first)
            first = s;
    return first;
}

std::string currentDirectory() {
    const DWORD needed = ::GetCurrentDirectoryA(0, nullptr);
    if (needed == 0)
        return {};
    std::string buffer(needed, '\0');
    const DWORD n = ::GetCurrentDirectoryA(needed, buffer.data());
    buffer.resize(n);
    if (buffer.empty() || buffer.back() != '\\')
        buffer += '\\';
    return buffer;
}

Status setCurrentDirectory(std::string_view path) {
    const std::string full = native(path);
    if (!::SetCurrentDirectoryA(full.c_str()))
        return lastError(full);
    return {};
}

} // namespace kv::platform
