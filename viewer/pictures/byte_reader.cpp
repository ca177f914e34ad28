#include "viewer/pictures/byte_reader.h"

#include <bit>

namespace vimbrel {

bool ByteReader::has(uint64_t count, uint64_t itemSize)
{
    if (itemSize != 0 && count > remaining() / itemSize) {
        mFailed = true;
        return false;
    }
    return !mFailed;
}

bool ByteReader::seek(size_t position)
{
    if (position > mBytes.size()) {
        mFailed = true;
        mPosition = mBytes.size();
        return false;
    }
    mPosition = position;
    return true;
}

bool ByteReader::skip(size_t count)
{
    if (count > remaining()) {
        mFailed = true;
        mPosition = mBytes.size();
        return false;
    }
    mPosition += count;
    return true;
}

uint8_t ByteReader::u8()
{
    if (remaining() < 1) {
        mFailed = true;
        return 0;
    }
    return mBytes[mPosition++];
}

uint16_t ByteReader::u16()
{
    if (remaining() < 2) {
        mFailed = true;
        mPosition = mBytes.size();
        return 0;
    }
    const uint16_t value = static_cast<uint16_t>(mBytes[mPosition] | (mBytes[mPosition + 1] << 8));
    mPosition += 2;
    return value;
}

uint32_t ByteReader::u32()
{
    if (remaining() < 4) {
        mFailed = true;
        mPosition = mBytes.size();
        return 0;
    }
    const uint32_t value = static_cast<uint32_t>(mBytes[mPosition]) |
                           (static_cast<uint32_t>(mBytes[mPosition + 1]) << 8) |
                           (static_cast<uint32_t>(mBytes[mPosition + 2]) << 16) |
                           (static_cast<uint32_t>(mBytes[mPosition + 3]) << 24);
    mPosition += 4;
    return value;
}

float ByteReader::f32()
{
    return std::bit_cast<float>(u32());
}

std::span<const uint8_t> ByteReader::take(size_t count)
{
    if (count > remaining()) {
        mFailed = true;
        mPosition = mBytes.size();
        return {};
    }
    const auto piece = mBytes.subspan(mPosition, count);
    mPosition += count;
    return piece;
}

ByteReader ByteReader::sub(uint64_t offset, uint64_t length) const
{
    if (offset > mBytes.size() || length > mBytes.size() - offset) {
        ByteReader broken;
        broken.mFailed = true;
        return broken;
    }
    return ByteReader(mBytes.subspan(static_cast<size_t>(offset), static_cast<size_t>(length)));
}

} // namespace vimbrel
