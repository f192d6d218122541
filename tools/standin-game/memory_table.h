#pragma once
// The figures the debug monitor reads, kept at the fixed addresses the game release it
// was written for uses. Mapped into this process so another process can read and write
// them exactly as in the real game.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace kv::standin {

inline constexpr int kPlayers = 8;

constexpr std::uintptr_t powerAddress(int player) {
    return 0x038B8438 + 12 * player;
}
constexpr std::uintptr_t colourAddress(int player) {
    return 0x00620D08 + player;
}
constexpr std::uintptr_t trucksAddress(int player) {
    return 0x00526828 + 4 * player;
}
constexpr std::uintptr_t unitsAddress(int player) {
    return 0x00526848 + 4 * player;
}
constexpr std::uintptr_t derricksAddress(int player) {
    return 0x047B822C + 452 * player;
}
inline constexpr std::uintptr_t kDebugFlagAddress = 0x0052611C;

struct PlayerFigures {
    std::uint32_t power = 0;
    std::uint8_t colour = 0;
    std::uint32_t trucks = 0;
    std::uint32_t units = 0;
    std::uint8_t derricks = 0;
};

// One player's figures at the given second of play: they move a little every second.
// Shared by the native and the Windows stand-in, so both show the same game.
constexpr PlayerFigures figuresAt(int player, unsigned second) {
    const unsigned p = unsigned(player);
    return {1000 + 100 * p + (second * (p + 1) * 7) % 500, std::uint8_t(player),
            2 + (second / 3 + p) % 4, 10 + p + second % 5, std::uint8_t((p + second / 2) % 9)};
}

// The table read and written in place, at this process's own addresses. Only for a table
// whose pages are all there: the native and the Windows stand-in each put them there
// their own way.
namespace in_place {

template <typename T> void store(std::uintptr_t address, T value) {
    std::memcpy(reinterpret_cast<void*>(address), &value, sizeof value);
}

template <typename T> T load(std::uintptr_t address) {
    T value;
    std::memcpy(&value, reinterpret_cast<const void*>(address), sizeof value);
    return value;
}

inline void storeFigures(unsigned second) {
    for (int i = 0; i < kPlayers; ++i) {
        const PlayerFigures f = figuresAt(i, second);
        store(powerAddress(i), f.power);
        store(colourAddress(i), f.colour);
        store(trucksAddress(i), f.trucks);
        store(unitsAddress(i), f.units);
        store(derricksAddress(i), f.derricks);
    }
}

inline PlayerFigures loadFigures(int i) {
    return {load<std::uint32_t>(powerAddress(i)), load<std::uint8_t>(colourAddress(i)),
            load<std::uint32_t>(trucksAddress(i)), load<std::uint32_t>(unitsAddress(i)),
            load<std::uint8_t>(derricksAddress(i))};
}

} // namespace in_place

class MemoryTable {
public:
    MemoryTable() = default;
    ~MemoryTable();
    MemoryTable(const MemoryTable&) = delete;
    MemoryTable& operator=(const MemoryTable&) = delete;

    // Maps every page the table touches; on failure `error` says which and why, and the
    // pages already mapped are released.
    bool map(std::string& error);
    bool mapped() const { return !pages_.empty(); }

    // Sets the figures for the given second of play: they move a little every second.
    void tick(unsigned second);
    PlayerFigures player(int index) const;
    std::uint16_t debugFlag() const;

private:
    std::vector<std::uintptr_t> pages_;
    std::size_t pageSize_ = 0;
};

} // namespace kv::standin
