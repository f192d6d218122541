#include "mapview/png_writer.h"

#include <QByteArray>

#include <array>

namespace kv::mapview {

namespace {

const std::array<std::uint32_t, 256>& crcTable() {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    return table;
}

void putU32(std::string& out, std::uint32_t v) {
    out += char(v >> 24);
    out += char(v >> 16);
    out += char(v >> 8);
    out += char(v);
}

void putChunk(std::string& out, std::string_view type, std::string_view data) {
    putU32(out, std::uint32_t(data.size()));
    std::string body(type);
    body.append(data);
    out.append(body);
    putU32(out, crc32(body));
}

} // namespace

std::uint32_t crc32(std::string_view bytes, std::uint32_t crc) {
    crc = ~crc;
    for (unsigned char b : bytes)
        crc = crcTable()[(crc ^ b) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

std::string encodePng(const RgbImage& image) {
    std::string out("\x89PNG\r\n\x1a\n", 8);
    std::string header;
    putU32(header, std::uint32_t(image.width()));
    putU32(header, std::uint32_t(image.height()));
    header += char(8);              // bit depth
    header += char(2);              // colour type RGB
    header += std::string(3, '\0'); // deflate, adaptive filtering, no interlace
    putChunk(out, "IHDR", header);

    QByteArray raw;
    raw.reserve(qsizetype(image.height()) * (1 + qsizetype(image.width()) * 3));
    for (int y = 0; y < image.height(); ++y) {
        raw.append('\0'); // filter: none
        raw.append(reinterpret_cast<const char*>(image.row(y)), qsizetype(image.width()) * 3);
    }
    // qCompress yields a zlib stream behind a 4-byte length of its own.
    const QByteArray zlib = qCompress(raw, 9);
    putChunk(out, "IDAT", std::string_view(zlib.constData() + 4, std::size_t(zlib.size() - 4)));
    putChunk(out, "IEND", {});
    return out;
}

} // namespace kv::mapview
