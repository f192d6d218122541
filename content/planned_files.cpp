#include "content/planned_files.h"

#include "content/text_util.h"
#include "platform/files.h"

namespace kv::content {

std::string PlannedFiles::key(const std::string& path) {
    return toLower(platform::resolvePath(path));
}

const PlannedFiles::Entry* PlannedFiles::find(const std::string& path) const {
    const auto it = entries_.find(key(path));
    return it == entries_.end() ? nullptr : &it->second;
}

bool PlannedFiles::exists(const std::string& path) const {
    if (const Entry* e = find(path))
        return e->exists;
    return platform::fileExists(path);
}

std::optional<std::uint64_t> PlannedFiles::length(const std::string& path) const {
    if (const Entry* e = find(path))
        return e->exists ? std::optional<std::uint64_t>(e->size) : std::nullopt;
    if (!platform::fileExists(path))
        return std::nullopt;
    return platform::fileLength(path);
}

std::optional<std::string> PlannedFiles::read(const std::string& path) const {
    const Entry* e = find(path);
    if (e && !e->exists)
        return std::nullopt;
    if (e && e->bytes)
        return e->bytes;
    std::string bytes;
    if (!platform::readFile(e ? e->copiedFrom : path, bytes))
        return std::nullopt;
    return bytes;
}

bool PlannedFiles::holds(const std::string& path, std::string_view bytes) const {
    if (length(path) != bytes.size())
        return false;
    const auto contents = read(path);
    return contents && *contents == bytes;
}

void PlannedFiles::write(const std::string& path, std::string bytes) {
    Entry& e = entries_[key(path)];
    e.exists = true;
    e.size = bytes.size();
    e.bytes = std::move(bytes);
    e.copiedFrom.clear();
}

void PlannedFiles::copy(const std::string& from, const std::string& to) {
    Entry copied;
    copied.exists = true;
    copied.size = length(from).value_or(0);
    if (const Entry* e = find(from)) {
        copied.bytes = e->bytes;
        copied.copiedFrom = e->copiedFrom;
    } else {
        copied.copiedFrom = from;
    }
    entries_[key(to)] = std::move(copied);
}

void PlannedFiles::rename(const std::string& from, const std::string& to) {
    copy(from, to);
    remove(from);
}

void PlannedFiles::remove(const std::string& path) {
    entries_[key(path)] = Entry{};
}

} // namespace kv::content
