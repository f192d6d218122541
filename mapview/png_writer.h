#pragma once
// A small PNG encoder (8-bit RGB, no interlace) so pictures can be saved without QtGui.
#include "mapview/rgb_image.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace kv::mapview {

std::string encodePng(const RgbImage& image);

// The CRC-32 of PNG chunks and zip files.
std::uint32_t crc32(std::string_view bytes, std::uint32_t crc = 0);

} // namespace kv::mapview
