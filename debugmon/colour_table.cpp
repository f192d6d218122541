#include "debugmon/colour_table.h"

#include <array>

namespace kv::debugmon {

namespace {

struct Entry {
    const char* name;
    Rgb swatch;
};

constexpr std::array<Entry, 8> kColours{{
    {"Green", {0, 255, 0}},
    {"Orange", {255, 200, 50}},
    {"Grey", {150, 150, 150}},
    {"Black", {0, 0, 0}},
    {"Red", {255, 0, 0}},
    {"Blue", {0, 0, 255}},
    {"Pink", {255, 128, 128}},
    {"Cyan", {0, 255, 255}},
}};

// White is no player's colour, so an unknown index cannot pass for a known one.
constexpr Rgb kUnknownSwatch{255, 255, 255};

} // namespace

PlayerColour playerColour(unsigned index) {
    if (index < kColours.size())
        return {kColours[index].name, kColours[index].swatch, true};
    return {"Unknown (" + std::to_string(index) + ")", kUnknownSwatch, false};
}

} // namespace kv::debugmon
