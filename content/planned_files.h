#pragma once
// The game folder as it will be after the steps planned so far: files the plan writes,
// copies, renames or deletes shadow what is on disk. Planning reads through it and never
// touches the disk beyond reading.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace kv::content {

class PlannedFiles {
public:
    bool exists(const std::string& path) const;
    std::optional<std::uint64_t> length(const std::string& path) const;
    // The contents the file will have; nothing when it will not exist or cannot be read.
    std::optional<std::string> read(const std::string& path) const;
    // Whether the file will hold exactly `bytes`.
    bool holds(const std::string& path, std::string_view bytes) const;

    void write(const std::string& path, std::string bytes);
    void copy(const std::string& from, const std::string& to);
    void rename(const std::string& from, const std::string& to);
    void remove(const std::string& path);

private:
    struct Entry {
        bool exists = false;
        std::optional<std::string> bytes; // unset: the contents of `copiedFrom`
        std::string copiedFrom;
        std::uint64_t size = 0;
    };
    // Names on disk are matched without regard to case, so the key is folded too.
    static std::string key(const std::string& path);
    const Entry* find(const std::string& path) const;

    std::map<std::string, Entry> entries_;
};

} // namespace kv::content
