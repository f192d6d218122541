#pragma once
// The tile types of the standard tile set (KorvaneDataC1), one per texture: written into
// converted LND files and used to colour binary maps, which carry no table of their own.
#include <array>
#include <string>
#include <vector>

namespace kv::mapview {

inline constexpr std::array<int, 91> kStandardTileTypes = {
    2, 1, 0, 2, 2, 0, 2, 2, 2, 2, 1, 1, 1, 0, 7, 7, //
    7, 7, 7, 8, 6, 4, 4, 6, 3, 3, 3, 2, 4, 1, 4, 7, //
    7, 7, 7, 4, 4, 2, 2, 2, 2, 1, 4, 0, 4, 4, 8, 8, //
    2, 4, 4, 4, 4, 4, 4, 4, 9, 9, 6, 9, 6, 4, 4, 9, //
    9, 9, 9, 9, 9, 9, 9, 9, 8, 4, 4, 4, 8, 5, 6, 2, //
    2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 0};

// The type of a texture ID (counted from 1), -1 outside the table.
inline int standardTileType(int texture) {
    return texture >= 1 && texture <= int(kStandardTileTypes.size())
               ? kStandardTileTypes[std::size_t(texture) - 1]
               : -1;
}

} // namespace kv::mapview
