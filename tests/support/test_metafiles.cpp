#include "tests/support/test_metafiles.h"

#include <cstdint>
#include <vector>

namespace vimbrel::testing {
namespace {

constexpr uint32_t kHeader = 1;
constexpr uint32_t kPolygon16 = 86;
constexpr uint32_t kRectangle = 43;
constexpr uint32_t kEof = 14;

class Records
{
public:
    Records& u16(uint32_t value)
    {
        mBytes.push_back(char(value & 0xff));
        mBytes.push_back(char((value >> 8) & 0xff));
        return *this;
    }
    Records& u32(uint32_t value) { return u16(value & 0xffff).u16(value >> 16); }
    Records& i32(int32_t value) { return u32(uint32_t(value)); }

    void record(uint32_t type, const Records& parameters)
    {
        u32(type).u32(uint32_t(8 + parameters.mBytes.size()));
        mBytes += parameters.mBytes;
        ++mCount;
    }

    // The header record in front of the records, for a picture of `size`
    // pixels a side at 96 dpi.
    std::string withHeader(int size) const
    {
        const int hundredthsOfMm = size * 2540 / 96;
        const int millimetres = size * 254 / 960;
        Records header;
        header.i32(0).i32(0).i32(size - 1).i32(size - 1);
        header.i32(0).i32(0).i32(hundredthsOfMm).i32(hundredthsOfMm);
        header.u32(0x464D4520).u32(0x10000);
        header.u32(uint32_t(88 + mBytes.size())).u32(mCount + 1);
        header.u16(1).u16(0).u32(0).u32(0).u32(0);
        header.i32(size).i32(size).i32(millimetres).i32(millimetres);
        Records file;
        file.record(kHeader, header);
        return file.mBytes + mBytes;
    }

    void end()
    {
        Records eof;
        eof.u32(0).u32(16).u32(20);
        record(kEof, eof);
    }

private:
    std::string mBytes;
    uint32_t mCount = 0;
};

} // namespace

std::string zigZagEmf(int points, int size, bool acrossRows)
{
    Records polygon;
    polygon.i32(0).i32(0).i32(size - 1).i32(size - 1).u32(uint32_t(points));
    for (int i = 0; i < points; ++i) {
        const int edge = i % 2 == 0 ? 0 : size - 1;
        const int along = int(int64_t(i) * (size - 1) / (points - 1));
        polygon.u16(uint32_t(acrossRows ? along : edge)).u16(uint32_t(acrossRows ? edge : along));
    }
    Records records;
    records.record(kPolygon16, polygon);
    records.end();
    return records.withHeader(size);
}

std::string manyRectanglesEmf(int count, int size)
{
    Records records;
    for (int i = 0; i < count; ++i) {
        const int x = (i * 7) % (size - 4);
        const int y = (i * 13) % (size - 4);
        Records box;
        box.i32(x).i32(y).i32(x + 3).i32(y + 3);
        records.record(kRectangle, box);
    }
    records.end();
    return records.withHeader(size);
}

} // namespace vimbrel::testing
