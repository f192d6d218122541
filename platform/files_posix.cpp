#include "platform/files.h"

#include "platform/atomic_file.h"
#include "platform/errno_status.h"
#include "platform/text.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace kv::platform {

namespace {

// Hidden is recorded in an extended attribute, as POSIX has no such bit; names with a
// leading dot count as hidden too.
constexpr const char* kHiddenXattr = "user.kv.hidden";

bool lexists(const std::string& p) {
    struct stat st;
    return ::lstat(p.c_str(), &st) == 0;
}

} // namespace

char nativeSeparator() {
    return '/';
}

std::string resolvePath(std::string_view pathText) {
    std::string text(pathText);
    for (char& c : text)
        if (c == '\\')
            c = '/';
    const bool trailing = !text.empty() && text.back() == '/';

    std::string resolved;
    size_t pos = 0;
    if (!text.empty() && text.front() == '/') {
        resolved.push_back('/');
        pos = 1;
    }
    bool existing = true; // the resolved prefix names an existing entry
    while (pos < text.size()) {
        size_t next = text.find('/', pos);
        if (next == std::string::npos)
            next = text.size();
        std::string name = text.substr(pos, next - pos);
        pos = next + 1;
        if (name.empty())
            continue;
        std::string candidate = resolved + name;
        if (existing && name != "." && name != ".." && !lexists(candidate)) {
            const std::string dir = resolved.empty() ? "." : resolved;
            existing = false;
            if (DIR* d = ::opendir(dir.c_str())) {
                while (dirent* e = ::readdir(d)) {
                    if (equalsNoCase(e->d_name, name)) {
                        candidate = resolved + e->d_name;
                        existing = true;
                        break;
                    }
                }
                ::closedir(d);
            }
        }
        resolved = candidate;
        if (pos < text.size())
            resolved += '/';
    }
    if (trailing && !resolved.empty() && resolved.back() != '/')
        resolved += '/';
    return resolved;
}

bool pathExists(std::string_view path) {
    struct stat st;
    return ::stat(resolvePath(path).c_str(), &st) == 0;
}

bool fileExists(std::string_view path) {
    struct stat st;
    return ::stat(resolvePath(path).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool folderExists(std::string_view path) {
    struct stat st;
    return !path.empty() && ::stat(resolvePath(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::optional<std::uint64_t> fileLength(std::string_view path) {
    struct stat st;
    if (::stat(resolvePath(path).c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    return std::uint64_t(st.st_size);
}

namespace {

bool globMatch(std::string_view pattern, std::string_view name) {
    size_t p = 0, n = 0, starP = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() &&
            (pattern[p] == '?' || lowerAscii(pattern[p]) == lowerAscii(name[n]))) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

// Windows listing rules: "x.*" also matches "x" (so "*.*" matches every name), and a
// pattern ending in "." matches names without an extension.
bool wildcardMatch(std::string_view pattern, std::string_view name) {
    if (globMatch(pattern, name))
        return true;
    if (pattern.size() >= 2 && pattern.substr(pattern.size() - 2) == ".*")
        return globMatch(pattern.substr(0, pattern.size() - 2), name);
    if (pattern.size() >= 2 && pattern.back() == '.' && pattern != "..")
        return name.find('.') == std::string_view::npos &&
               globMatch(pattern.substr(0, pattern.size() - 1), name);
    return false;
}

unsigned attributesOf(const std::string& full, std::string_view name, const struct stat& st) {
    unsigned a = AttrNormal;
    if (S_ISDIR(st.st_mode))
        a |= AttrDirectory;
    if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        a |= AttrReadOnly;
    char flag = 0;
    if ((!name.empty() && name.front() == '.') ||
        (::getxattr(full.c_str(), kHiddenXattr, &flag, 1) == 1 && flag == '1'))
        a |= AttrHidden;
    return a;
}

std::string lastName(const std::string& path) {
    std::string p = path;
    while (p.size() > 1 && p.back() == '/')
        p.pop_back();
    const size_t slash = p.rfind('/');
    return slash == std::string::npos ? p : p.substr(slash + 1);
}

// As on Windows, a read-only file is neither deleted nor overwritten until its
// attributes are cleared; code that forgets to clear them fails here too.
bool isReadOnly(const std::string& full) {
    struct stat st;
    return ::lstat(full.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
           (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

Status readOnlyError(const std::string& full) {
    Status s;
    s.code = err::PathFileAccess;
    s.description = "Path/File access error (read-only: " + full + ")";
    return s;
}

} // namespace

std::vector<DirEntry> listDirectory(std::string_view folder, std::string_view pattern) {
    std::vector<DirEntry> out;
    std::string dir = resolvePath(folder);
    if (dir.empty())
        dir.push_back('.');
    if (dir.back() != '/')
        dir += '/';
    DIR* d = ::opendir(dir.c_str());
    if (!d)
        return out;
    while (dirent* e = ::readdir(d)) {
        std::string_view name = e->d_name;
        if (name == "." || name == ".." || !wildcardMatch(pattern, name))
            continue;
        const std::string full = dir + e->d_name;
        struct stat st;
        if (::stat(full.c_str(), &st) != 0)
            continue; // vanished or a dangling link
        DirEntry entry;
        entry.name = std::string(name);
        entry.isFolder = S_ISDIR(st.st_mode);
        entry.size = entry.isFolder ? 0 : std::uint64_t(st.st_size);
        entry.attributes = attributesOf(full, name, st);
        out.push_back(std::move(entry));
    }
    ::closedir(d);
    return out;
}

std::optional<unsigned> getAttributes(std::string_view path) {
    const std::string full = resolvePath(path);
    struct stat st;
    if (::stat(full.c_str(), &st) != 0)
        return std::nullopt;
    return attributesOf(full, lastName(full), st);
}

Status setAttributes(std::string_view path, unsigned attributes) {
    const std::string full = resolvePath(path);
    struct stat st;
    if (::stat(full.c_str(), &st) != 0)
        return statusFromErrno(errno, full);
    mode_t mode = st.st_mode & 07777;
    if (attributes & AttrReadOnly)
        mode &= ~mode_t(S_IWUSR | S_IWGRP | S_IWOTH);
    else
        mode |= S_IWUSR;
    if (::chmod(full.c_str(), mode) != 0)
        return statusFromErrno(errno, full);
    if (attributes & AttrHidden) {
        if (::setxattr(full.c_str(), kHiddenXattr, "1", 1, 0) != 0 && errno != ENOTSUP)
            return statusFromErrno(errno, full);
    } else {
        ::removexattr(full.c_str(), kHiddenXattr);
    }
    return {};
}

Status clearAttributes(std::string_view path) {
    return setAttributes(path, AttrNormal);
}

Status createFolder(std::string_view path) {
    const std::string full = resolvePath(path);
    if (::mkdir(full.c_str(), 0777) != 0)
        return statusFromErrno(errno, full);
    return {};
}

Status createFolderTree(std::string_view path) {
    const std::string full = resolvePath(path);
    for (size_t pos = 1; pos <= full.size(); ++pos) {
        if (pos != full.size() && full[pos] != '/')
            continue;
        const std::string prefix = full.substr(0, pos);
        struct stat st;
        if (::stat(prefix.c_str(), &st) == 0)
            continue;
        if (::mkdir(prefix.c_str(), 0777) != 0 && errno != EEXIST)
            return statusFromErrno(errno, prefix);
    }
    return {};
}

namespace {

// Reads up to `limit` + 1 bytes, calling `sink` with each piece; EFBIG past the limit.
template <typename Sink>
Status readPieces(int fd, const std::string& full, std::uint64_t limit, Sink sink) {
    char buffer[1 << 16];
    std::uint64_t total = 0;
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return statusFromErrno(errno, full);
        }
        if (n == 0)
            return {};
        // A file may grow while it is read.
        total += std::uint64_t(n);
        if (total > limit)
            return statusFromErrno(EFBIG, full);
        if (Status s = sink(buffer, std::size_t(n)); !s)
            return s;
    }
}

} // namespace

Status copyFile(std::string_view from, std::string_view to, bool overwrite) {
    const std::string source = resolvePath(from);
    const std::string target = resolvePath(to);
    if (!overwrite && lexists(target))
        return statusFromErrno(EEXIST, target);
    if (isReadOnly(target))
        return readOnlyError(target);
    // Streamed: a copied archive may be far larger than any whole-file read allows.
    int fd = -1;
    std::uint64_t size = 0;
    if (Status s = openRegularFile(source, fd, size); !s)
        return s;
    AtomicFileWriter out;
    Status s = out.open(target, AtLink::Replace);
    if (s)
        s = readPieces(fd, source, UINT64_MAX,
                       [&](const char* data, std::size_t n) { return out.write(data, n); });
    ::close(fd);
    if (s)
        s = out.commit();
    if (!s)
        return s;
    struct stat st;
    if (::stat(source.c_str(), &st) == 0)
        ::chmod(target.c_str(), st.st_mode & 07777);
    return {};
}

Status renameEntry(std::string_view from, std::string_view to) {
    const std::string source = resolvePath(from);
    const std::string target = resolvePath(to);
    // Like the Windows rename: an existing target is an error, except that a name may
    // change only its letter case.
    if (lexists(target) && source != target) {
        struct stat a, b;
        if (!(::stat(source.c_str(), &a) == 0 && ::stat(target.c_str(), &b) == 0 &&
              a.st_ino == b.st_ino && a.st_dev == b.st_dev))
            return statusFromErrno(EEXIST, target);
    }
    std::string literalTarget(to);
    for (char& c : literalTarget)
        if (c == '\\')
            c = '/';
    // Keep the spelling the caller gave for the last name (a case-only rename).
    const size_t slash = target.rfind('/');
    const size_t literalSlash = literalTarget.rfind('/');
    std::string finalTarget = target;
    if (literalSlash != std::string::npos || slash == std::string::npos)
        finalTarget =
            (slash == std::string::npos ? std::string() : target.substr(0, slash + 1)) +
            literalTarget.substr(literalSlash == std::string::npos ? 0 : literalSlash + 1);
    if (::rename(source.c_str(), finalTarget.c_str()) != 0)
        return statusFromErrno(errno, source);
    return {};
}

Status deleteFile(std::string_view path) {
    const std::string full = resolvePath(path);
    if (isReadOnly(full))
        return readOnlyError(full);
    if (::unlink(full.c_str()) != 0)
        return statusFromErrno(errno, full);
    return {};
}

Status removeFolder(std::string_view path) {
    const std::string full = resolvePath(path);
    if (::rmdir(full.c_str()) != 0)
        return statusFromErrno(errno, full);
    return {};
}

Status readFile(std::string_view path, std::string& contents, std::uint64_t maxBytes) {
    const std::string full = resolvePath(path);
    contents.clear();
    int fd = -1;
    std::uint64_t size = 0;
    if (Status s = openRegularFile(full, fd, size); !s)
        return s;
    if (size > maxBytes) {
        ::close(fd);
        return statusFromErrno(EFBIG, full);
    }
    contents.reserve(std::size_t(size));
    Status s = readPieces(fd, full, maxBytes, [&](const char* data, std::size_t n) {
        contents.append(data, n);
        return Status{};
    });
    ::close(fd);
    if (!s)
        contents.clear();
    return s;
}

Status writeFileAtomic(std::string_view path, std::string_view contents) {
    AtomicFileWriter out;
    if (Status s = out.open(resolvePath(path)); !s)
        return s;
    if (Status s = out.write(contents.data(), contents.size()); !s)
        return s;
    return out.commit();
}

Status writeFilesAtomic(const std::vector<FileContents>& files) {
    std::vector<Status> results(files.size());
    std::vector<std::size_t> pending; // file index of each batch entry
    AtomicFileBatch batch;
    const auto commit = [&] {
        for (auto& failure : batch.commit())
            results[pending[failure.index]] = failure.status;
        pending.clear();
    };
    for (std::size_t i = 0; i < files.size(); ++i) {
        AtomicFileWriter out;
        Status& s = results[i];
        s = out.open(resolvePath(files[i].path), AtLink::Replace);
        if (s)
            s = out.write(files[i].contents.data(), files[i].contents.size());
        if (s)
            s = batch.add(std::move(out));
        if (s)
            pending.push_back(i);
        if (batch.full())
            commit();
    }
    commit();
    for (Status& s : results)
        if (!s)
            return s;
    return {};
}

std::string currentDirectory() {
    std::string buffer(4096, '\0');
    if (!::getcwd(buffer.data(), buffer.size()))
        return {};
    buffer.resize(std::strlen(buffer.c_str()));
    if (buffer.empty() || buffer.back() != '/')
        buffer += '/';
    return buffer;
}

Status setCurrentDirectory(std::string_view path) {
    const std::string full = resolvePath(path);
    if (::chdir(full.c_str()) != 0)
        return statusFromErrno(errno, full);
    return {};
}

} // namespace kv::platform
