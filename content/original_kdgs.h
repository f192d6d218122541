#pragma once
// The game's own archives ("Settings\KVS\OriginalKDGs.ini"): never listed as MODs, never
// renamed or deleted by the launcher.
#include "common/paths.h"

#include <string>
#include <string_view>
#include <vector>

namespace kv::content {

class OriginalKdgs {
public:
    std::vector<std::string> names; // file names with extension; empty lines kept

    // False when the file is missing (the caller ends the process with missingMessage()).
    bool load(const Paths& paths);
    static std::string filePath(const Paths& paths);
    static std::string missingMessage(const Paths& paths);

    // The whole file name matches a listed one, letter case ignored.
    bool isOriginalFile(std::string_view fileName) const;
    // The names without their last extension match ("Game" for "GAME.kdg" or "game.kvw").
    bool isOriginalBase(std::string_view baseName) const;
};

} // namespace kv::content
