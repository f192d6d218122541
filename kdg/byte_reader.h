#pragma once
// Bounds-checked little-endian reads from an archive image in memory. Every read states
// what it needs; nothing outside [data, data + size) is ever touched.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>

namespace kv::kdg {

class ByteReader {
public:
    ByteReader(const std::uint8_t* data, std::uint64_t size) : data_(data), size_(size) {}

    std::uint64_t size() const { return size_; }

    // True when [offset, offset + length) lies inside the data, without overflow.
    bool has(std::uint64_t offset, std::uint64_t length) const {
        return offset <= size_ && length <= size_ - offset;
    }

    // The unsigned little-endian value of `width` bytes (0 counts as 1, at most 8);
    // nothing when the bytes are not all there.
    std::optional<std::uint64_t> ReadLE(std::uint64_t offset, unsigned width) const {
        if (width == 0)
            width = 1;
        if (width > 8 || !has(offset, width))
            return std::nullopt;
        std::uint64_t value = 0;
        for (unsigned i = width; i-- > 0;)
            value = value << 8 | data_[offset + i];
        return value;
    }

    // A 32-bit field the caller has already checked with has().
    std::uint32_t le32(std::uint64_t offset) const {
        const std::uint8_t* p = data_ + offset;
        return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
               std::uint32_t(p[3]) << 24;
    }

    // The characters from `offset` up to the first zero byte, never more than
    // `maxLength` of them and never past the end of the data.
    std::string ReadZString(std::uint64_t offset, std::uint64_t maxLength = UINT64_MAX) const {
        if (offset >= size_)
            return {};
        const std::uint64_t limit = std::min(maxLength, size_ - offset);
        const void* zero = std::memchr(data_ + offset, 0, std::size_t(limit));
        const std::uint64_t length =
            zero ? std::uint64_t(static_cast<const std::uint8_t*>(zero) - (data_ + offset)) : limit;
        return std::string(reinterpret_cast<const char*>(data_ + offset), std::size_t(length));
    }

    bool bytesEqual(std::uint64_t offset, const char* text, std::size_t length) const {
        return has(offset, length) && std::memcmp(data_ + offset, text, length) == 0;
    }

    const std::uint8_t* at(std::uint64_t offset) const { return data_ + offset; }

private:
    const std::uint8_t* data_;
    std::uint64_t size_;
};

} // namespace kv::kdg
