#pragma once
// Contrast between two colours as the web's accessibility guidelines measure it, for the
// colours of the links file (0x00BBGGRR). A text needs 4.5:1 on its background to be
// read with ease; black or white always reaches that on one side.
#include <cstdint>

namespace kv {

double relativeLuminance(std::uint32_t colour);
// From 1 (the same luminance) to 21 (black on white).
double contrastRatio(std::uint32_t a, std::uint32_t b);
// Black or white, whichever contrasts more with `background`.
std::uint32_t readableTextOn(std::uint32_t background);

} // namespace kv
