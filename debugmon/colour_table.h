#pragma once
// The game's player colours by the index it keeps for each player.
#include <cstdint>
#include <string>

namespace kv::debugmon {

struct Rgb {
    std::uint8_t red = 0, green = 0, blue = 0;
    bool operator==(const Rgb&) const = default;
};

struct PlayerColour {
    std::string name; // "Blue"; "Unknown (9)" for an index the table lacks
    Rgb swatch;
    bool known = true; // false: the swatch is a neutral placeholder, not a player colour
};

// Indexes 0 to 7 have a name and a colour. Any other index is shown with its number, so a
// game release with more colours (or a wrong address) is visible rather than guessed.
PlayerColour playerColour(unsigned index);

} // namespace kv::debugmon
