#include "platform/atomic_file.h"

#include "platform/errno_status.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <mutex>
#include <set>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace kv::platform {

namespace {

// The mode a new file gets: 0666 less the umask, read without changing the umask (the
// umask(0)/umask(m) dance would briefly open every other thread's new files to all).
mode_t newFileMode() {
    mode_t mask = 022;
    if (FILE* f = std::fopen("/proc/self/status", "re")) {
        char line[256];
        while (std::fgets(line, sizeof line, f)) {
            unsigned value = 0;
            if (std::sscanf(line, "Umask: %o", &value) == 1) {
                mask = mode_t(value);
                break;
            }
        }
        std::fclose(f);
    }
    return 0666 & ~mask;
}

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return "./";
    return path.substr(0, slash + 1);
}

bool sameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Sweeping is done once per folder and process: a write killed later is swept by the
// next run, and a folder written thousands of times is listed once.
void sweepOnce(const std::string& folder) {
    static std::mutex mutex;
    static std::set<std::string> swept;
    {
        const std::lock_guard<std::mutex> lock(mutex);
        if (!swept.insert(folder).second)
            return;
    }
    sweepStaleTemporaries(folder);
}

} // namespace

bool isTemporaryName(std::string_view name) {
    if (name.size() < kTempNameLength)
        return false;
    const std::string_view tail = name.substr(name.size() - kTempNameLength);
    if (tail.substr(0, kTempPrefix.size()) != kTempPrefix)
        return false;
    for (char c : tail.substr(kTempPrefix.size()))
        if (!std::isalnum(static_cast<unsigned char>(c)))
            return false;
    return true;
}

std::string followFileLinks(const std::string& path) {
    std::string current = path;
    // As many hops as the kernel allows before ELOOP.
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st;
        if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return current;
        std::string link(std::size_t(st.st_size > 0 ? st.st_size : 255) + 1, '\0');
        const ssize_t n = ::readlink(current.c_str(), link.data(), link.size());
        if (n <= 0 || std::size_t(n) >= link.size())
            return current;
        link.resize(std::size_t(n));
        current = link.front() == '/' ? link : folderOf(current) + link;
    }
    return current;
}

std::size_t sweepStaleTemporaries(const std::string& folder) {
    std::string dir = folder.empty() ? std::string("./") : folder;
    if (dir.back() != '/')
        dir += '/';
    std::vector<std::string> candidates;
    if (DIR* d = ::opendir(dir.c_str())) {
        while (const dirent* e = ::readdir(d))
            if (isTemporaryName(e->d_name))
                candidates.push_back(dir + e->d_name);
        ::closedir(d);
    }
    std::size_t removed = 0;
    for (const std::string& path : candidates) {
        const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat held, named;
        // A writer holds its lock until the rename; an unlocked temporary is a dead one's.
        if (::fstat(fd, &held) == 0 && S_ISREG(held.st_mode) &&
            ::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::lstat(path.c_str(), &named) == 0 &&
            sameFile(held, named) && ::unlink(path.c_str()) == 0)
            ++removed;
        ::close(fd);
    }
    return removed;
}

AtomicFileWriter::~AtomicFileWriter() {
    abandon();
}

AtomicFileWriter::AtomicFileWriter(AtomicFileWriter&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), target_(std::move(other.target_)),
      temp_(std::move(other.temp_)) {
    other.temp_.clear();
}

AtomicFileWriter& AtomicFileWriter::operator=(AtomicFileWriter&& other) noexcept {
    if (this != &other) {
        abandon();
        fd_ = std::exchange(other.fd_, -1);
        target_ = std::move(other.target_);
        temp_ = std::move(other.temp_);
        other.temp_.clear();
    }
    return *this;
}

Status AtomicFileWriter::open(std::string_view targetPath, AtLink atLink) {
    abandon();
    target_ = atLink == AtLink::Follow ? followFileLinks(std::string(targetPath))
                                       : std::string(targetPath);
    const std::string folder = folderOf(target_);
    sweepOnce(folder);
    // A sweeper may take a temporary in the moment between its creation and its lock;
    // the writer then finds its name gone and makes another.
    for (int attempt = 0; attempt < 8; ++attempt) {
        temp_ = folder + std::string(kTempPrefix) + "XXXXXX";
        fd_ = ::mkostemp(temp_.data(), O_CLOEXEC);
        if (fd_ < 0) {
            const int e = errno;
            temp_.clear();
            return statusFromErrno(e, target_);
        }
        struct stat held, named;
        if (::flock(fd_, LOCK_EX) == 0 && ::fstat(fd_, &held) == 0 &&
            ::lstat(temp_.c_str(), &named) == 0 && sameFile(held, named))
            return {};
        ::close(fd_);
        fd_ = -1;
    }
    temp_.clear();
    return statusFromErrno(EAGAIN, target_);
}

Status AtomicFileWriter::write(const void* data, std::size_t length) {
    if (fd_ < 0)
        return statusFromErrno(EBADF, target_);
    const auto* p = static_cast<const char*>(data);
    while (length > 0) {
        const ssize_t n = ::write(fd_, p, length);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return fail(errno);
        }
        p += n;
        length -= std::size_t(n);
    }
    return {};
}

Status AtomicFileWriter::finishData() {
    if (fd_ < 0)
        return statusFromErrno(EBADF, target_);
    // lstat: a link still at the target (Replace) lends its mode to nothing.
    struct stat existing;
    const mode_t mode = ::lstat(target_.c_str(), &existing) == 0 && S_ISREG(existing.st_mode)
                            ? existing.st_mode & 07777
                            : newFileMode();
    if (::fchmod(fd_, mode) != 0)
        return fail(errno);
    // Starts the write-back now, so that the later flush mostly waits for work under way.
    ::sync_file_range(fd_, 0, 0, SYNC_FILE_RANGE_WRITE);
    return {};
}

Status AtomicFileWriter::renameIntoPlace() {
    // Renamed while the lock is still held, so no sweeper takes it on the way.
    if (::rename(temp_.c_str(), target_.c_str()) != 0)
        return fail(errno);
    temp_.clear();
    ::close(fd_);
    fd_ = -1;
    return {};
}

Status AtomicFileWriter::commit() {
    if (Status s = finishData(); !s)
        return s;
    // On disk before the rename, so a crash cannot leave an empty file in its place.
    if (::fdatasync(fd_) != 0 && errno != EINVAL)
        return fail(errno);
    return renameIntoPlace();
}

Status AtomicFileWriter::fail(int error) {
    Status s = statusFromErrno(error, target_);
    abandon();
    return s;
}

void AtomicFileWriter::abandon() {
    if (!temp_.empty())
        ::unlink(temp_.c_str());
    temp_.clear();
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

AtomicFileBatch::~AtomicFileBatch() {
    abandon();
}

Status AtomicFileBatch::add(AtomicFileWriter&& writer) {
    if (Status s = writer.finishData(); !s)
        return s;
    pending_.push_back(std::move(writer));
    return {};
}

std::vector<AtomicFileBatch::Failure> AtomicFileBatch::commit() {
    std::vector<Failure> failures;
    // One flush per file system covers every pending file on it.
    std::vector<std::pair<dev_t, int>> flushed; // device, errno of its flush
    for (std::size_t i = 0; i < pending_.size(); ++i) {
        AtomicFileWriter& w = pending_[i];
        struct stat st;
        if (::fstat(w.fd_, &st) != 0) {
            failures.push_back({i, w.target_, w.fail(errno)});
            continue;
        }
        int error = 0;
        bool known = false;
        for (const auto& [device, e] : flushed) {
            if (device == st.st_dev) {
                known = true;
                error = e;
            }
        }
        if (!known) {
            error = ::syncfs(w.fd_) == 0 ? 0 : errno;
            flushed.emplace_back(st.st_dev, error);
        }
        if (error != 0) {
            failures.push_back({i, w.target_, w.fail(error)});
            continue;
        }
        if (Status s = w.renameIntoPlace(); !s)
            failures.push_back({i, w.target_, s});
    }
    pending_.clear();
    return failures;
}

void AtomicFileBatch::abandon() {
    pending_.clear(); // each writer removes its temporary
}

} // namespace kv::platform
