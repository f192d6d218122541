#pragma once
// Archives the launcher copied into the game folder for the coming game, per player slot
// and for the rules. Worked off before the next install and when the launcher closes.
// Skirmish scripts are never listed: they are overwritten, not removed.
#include "common/file_gate.h"

#include <array>
#include <string>
#include <vector>

namespace kv::content {

class OriginalKdgs;

class InstalledFiles {
public:
    static constexpr int kRules = -1;

    // `slot` is a player 0..7 or kRules. A path already listed there is not added again.
    void add(int slot, std::string path);
    const std::vector<std::string>& of(int slot) const;
    bool empty() const;

    // Deletes every listed file that is not one of the game's own archives (errors
    // ignored), puts back a user's file the copy had borrowed the name of, and empties
    // the lists.
    void workOff(const OriginalKdgs& originals, FileGate& gate);

private:
    std::vector<std::string>& list(int slot);
    std::array<std::vector<std::string>, 9> lists_;
};

} // namespace kv::content
