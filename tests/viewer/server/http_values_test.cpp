#include <gtest/gtest.h>

#include "viewer/server/byte_range.h"
#include "viewer/server/http_date.h"

namespace vimbrel {
namespace {

TEST(HttpDate, WritesAndReadsTheThreeForms)
{
    EXPECT_EQ(httpDate(784111777), "Sun, 06 Nov 1994 08:49:37 GMT");
    EXPECT_EQ(parseHttpDate("Sun, 06 Nov 1994 08:49:37 GMT"), 784111777);
    EXPECT_EQ(parseHttpDate("Sunday, 06-Nov-94 08:49:37 GMT"), 784111777);
    EXPECT_EQ(parseHttpDate("Sun Nov  6 08:49:37 1994"), 784111777);
    EXPECT_FALSE(parseHttpDate("yesterday"));
    EXPECT_FALSE(parseHttpDate("Sun, 06 Nov 1994 08:49:37 GMT trailing"));
}

TEST(ByteRange, OneRangeOfBytesOrTheWholeFile)
{
    using Kind = ByteRange::Kind;
    const auto range = [](const char* header, uint64_t size) {
        const ByteRange r = byteRangeFor(std::string(header), size);
        return std::tuple(r.kind, r.first, r.last);
    };
    EXPECT_EQ(range("bytes=0-0", 10), std::tuple(Kind::Part, 0u, 0u));
    EXPECT_EQ(range("bytes=5-100", 10), std::tuple(Kind::Part, 5u, 9u));
    EXPECT_EQ(range("bytes=-100", 10), std::tuple(Kind::Part, 0u, 9u));
    EXPECT_EQ(std::get<0>(range("bytes=10-", 10)), Kind::Unsatisfiable);
    EXPECT_EQ(std::get<0>(range("bytes=-0", 10)), Kind::Unsatisfiable);
    EXPECT_EQ(std::get<0>(range("bytes=0-", 0)), Kind::Unsatisfiable);
    for (const char* ignored : {"bytes=5-2", "bytes=a-b", "bytes=1-2,4-5", "items=1-2",
                                "bytes=", "bytes=99999999999999999999-"}) {
        EXPECT_EQ(std::get<0>(range(ignored, 10)), Kind::Whole) << ignored;
    }
    EXPECT_EQ(byteRangeFor(std::nullopt, 10).kind, Kind::Whole);
}

} // namespace
} // namespace vimbrel
