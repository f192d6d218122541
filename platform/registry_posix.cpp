#include "platform/atomic_file.h"
#include "platform/files.h"
#include "platform/registry.h"
#include "platform/registry_file.h"
#include "platform/user_folders.h"

#include <cerrno>
#include <fcntl.h>
#include <functional>
#include <sys/file.h>
#include <unistd.h>

namespace kv::platform {

namespace {

// Every change is a read-modify-write of the whole file under an exclusive lock on a
// companion lock file; the store itself is replaced by rename, so readers need no lock
// and two launchers (or a launcher and a test) never lose each other's values.
class FileLock {
public:
    explicit FileLock(const std::string& path) {
        fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        if (fd_ < 0)
            return;
        while (::flock(fd_, LOCK_EX) != 0) {
            if (errno != EINTR) {
                ::close(fd_);
                fd_ = -1;
                return;
            }
        }
    }
    ~FileLock() {
        if (fd_ >= 0)
            ::close(fd_); // closing releases the lock
    }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    bool locked() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

bool validSubKey(std::string_view subKey) {
    if (subKey.empty())
        return true;
    if (subKey.front() == '\\' || subKey.back() == '\\')
        return false;
    return subKey.find("\\\\") == std::string_view::npos;
}

std::string keyPath(RegistryRoot root, std::string_view subKey) {
    std::string path(registryRootName(root));
    if (!subKey.empty()) {
        path += '\\';
        path += subKey;
    }
    return path;
}

std::string parentFolder(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos || slash == 0 ? std::string() : path.substr(0, slash);
}

class FileRegistry : public RegistryBackend {
public:
    explicit FileRegistry(std::string storePath) : path_(std::move(storePath)) {}

    long createKey(RegistryRoot root, std::string_view subKey) override {
        if (!validSubKey(subKey))
            return regerr::InvalidParameter;
        return change([&](RegFile& file) {
            // Like the registry, creating a key creates every missing parent as well.
            size_t pos = 0;
            while (pos < subKey.size()) {
                size_t next = subKey.find('\\', pos);
                if (next == std::string_view::npos)
                    next = subKey.size();
                const std::string path = keyPath(root, subKey.substr(0, next));
                if (!file.findKey(path))
                    file.addKey(path);
                pos = next + 1;
            }
            return regerr::Success;
        });
    }

    long setString(RegistryRoot root, std::string_view subKey, std::string_view name,
                   std::string_view value) override {
        return setData(root, subKey, name, encodeRegString(value));
    }

    long setDword(RegistryRoot root, std::string_view subKey, std::string_view name,
                  std::uint32_t value) override {
        return setData(root, subKey, name, encodeRegDword(value));
    }

    std::optional<RegistryValue> query(RegistryRoot root, std::string_view subKey,
                                       std::string_view name) override {
        std::string text;
        if (!readFile(path_, text))
            return std::nullopt;
        auto file = parseRegFile(text);
        if (!file)
            return std::nullopt;
        const RegFileKey* key = file->findKey(keyPath(root, subKey));
        if (!key)
            return std::nullopt;
        const RegFileValue* value = RegFile::findValue(*key, name);
        return value ? decodeRegData(value->data) : std::nullopt;
    }

private:
    long setData(RegistryRoot root, std::string_view subKey, std::string_view name,
                 std::string data) {
        if (!validSubKey(subKey))
            return regerr::InvalidParameter;
        return change([&](RegFile& file) {
            const std::string path = keyPath(root, subKey);
            RegFileKey* key = file.findKey(path);
            // A root key always exists, as in the registry.
            if (!key && !subKey.empty())
                return regerr::FileNotFound;
            file.setValue(key ? *key : file.addKey(path), name, std::move(data));
            return regerr::Success;
        });
    }

    long change(const std::function<long(RegFile&)>& edit) {
        // A linked store is changed where it lives, under the lock every link shares.
        const std::string store = followFileLinks(path_);
        const std::string folder = parentFolder(store);
        if (!folder.empty() && !folderExists(folder) && !createFolderTree(folder))
            return regerr::AccessDenied;
        FileLock lock(store + ".lock");
        if (!lock.locked())
            return regerr::AccessDenied;
        std::string text;
        if (Status s = readFile(store, text); !s && s.code != err::FileNotFound)
            return regerr::AccessDenied;
        auto file = parseRegFile(text);
        if (!file)
            return regerr::BadDatabase; // never overwrite a file that is not ours
        const std::string before = formatRegFile(*file);
        const long result = edit(*file);
        if (result != regerr::Success)
            return result;
        const std::string after = formatRegFile(*file);
        if (after == before && !text.empty())
            return regerr::Success;
        return writeFileAtomic(store, after) ? regerr::Success : regerr::AccessDenied;
    }

    std::string path_;
};

} // namespace

std::unique_ptr<RegistryBackend> makeRegistryBackend(const std::string& storePath) {
    return std::make_unique<FileRegistry>(storePath);
}

std::string defaultRegistryStorePath() {
    return userConfigFolder() + "/KorvaneStarter/registry.reg";
}

} // namespace kv::platform
