#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace vimbrel {

// Reads little-endian values from a byte range without ever leaving it. A read
// past the end yields zero and marks the reader as failed, so a parser can read
// a whole structure and check failed() once; callers that are about to read a
// counted array check has() first so that a huge count is refused before any
// work is done.
class ByteReader
{
public:
    ByteReader() = default;
    explicit ByteReader(std::span<const uint8_t> bytes) : mBytes(bytes) {}

    bool failed() const { return mFailed; }
    size_t position() const { return mPosition; }
    size_t size() const { return mBytes.size(); }
    size_t remaining() const { return mBytes.size() - mPosition; }
    std::span<const uint8_t> bytes() const { return mBytes; }

    // True when `count` items of `itemSize` bytes are left; otherwise marks the
    // reader failed. Guards against multiplication overflow.
    bool has(uint64_t count, uint64_t itemSize = 1);

    // Moves to an absolute position inside the range (failing beyond it).
    bool seek(size_t position);
    bool skip(size_t count);

    uint8_t u8();
    uint16_t u16();
    int16_t i16() { return static_cast<int16_t>(u16()); }
    uint32_t u32();
    int32_t i32() { return static_cast<int32_t>(u32()); }
    float f32();

    // The next `count` bytes, or an empty span (and failure) when fewer are left.
    std::span<const uint8_t> take(size_t count);

    // A reader over `length` bytes starting at absolute `offset`, or a failed
    // empty one when that range does not lie inside this one.
    ByteReader sub(uint64_t offset, uint64_t length) const;

private:
    std::span<const uint8_t> mBytes;
    size_t mPosition = 0;
    bool mFailed = false;
};

} // namespace vimbrel
