#include "viewer/pictures/byte_reader.h"

#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

namespace vimbrel {
namespace {

const std::vector<uint8_t> kBytes = {0x01, 0x02, 0x03, 0x04, 0xff, 0xff, 0x00, 0x00, 0x80, 0x3f};

TEST(ByteReader, ReadsLittleEndianValues)
{
    ByteReader in(kBytes);
    EXPECT_EQ(in.u16(), 0x0201);
    EXPECT_EQ(in.u16(), 0x0403);
    EXPECT_EQ(in.i16(), -1);
    EXPECT_EQ(in.position(), 6u);
    in.seek(6);
    EXPECT_EQ(in.f32(), 1.0f);
    EXPECT_FALSE(in.failed());
    EXPECT_EQ(in.remaining(), 0u);
}

TEST(ByteReader, ReadingPastTheEndFailsAndStaysFailed)
{
    ByteReader in(kBytes);
    in.skip(8);
    EXPECT_EQ(in.u32(), 0u);
    EXPECT_TRUE(in.failed());
    in.seek(0);
    in.u8();
    EXPECT_TRUE(in.failed());

    ByteReader taking(kBytes);
    EXPECT_TRUE(taking.take(11).empty());
    EXPECT_TRUE(taking.failed());
}

TEST(ByteReader, CountsAreCheckedWithoutOverflow)
{
    ByteReader in(kBytes);
    EXPECT_TRUE(in.has(5, 2));
    EXPECT_FALSE(in.failed());
    EXPECT_FALSE(in.has(0xffffffffffffffffULL, 4));
    EXPECT_TRUE(in.failed());

    ByteReader big(kBytes);
    EXPECT_FALSE(big.has(1ULL << 62, 1ULL << 3));
}

TEST(ByteReader, SubRangesStayInside)
{
    const ByteReader in(kBytes);
    ByteReader inner = in.sub(8, 2);
    EXPECT_FALSE(inner.failed());
    EXPECT_EQ(inner.u16(), 0x3f80);
    EXPECT_TRUE(in.sub(9, 2).failed());
    EXPECT_TRUE(in.sub(0xffffffffffffffffULL, 2).failed());
    EXPECT_TRUE(in.sub(2, 0xfffffffffffffff0ULL).failed());
}

} // namespace
} // namespace vimbrel
