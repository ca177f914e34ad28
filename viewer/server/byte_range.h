#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace vimbrel {

// The part of a file that a Range header asks for.
struct ByteRange
{
    enum class Kind
    {
        Whole,         // no usable single range: send the whole file (200)
        Part,          // send [first, last] (206)
        Unsatisfiable, // the range lies beyond the file (416)
    };
    Kind kind = Kind::Whole;
    uint64_t first = 0;
    uint64_t last = 0; // inclusive
};

// Reads a Range header (`header` nothing when there is none) against a file
// of `size` bytes. Only one range of bytes is served; a list of several, or
// a header that cannot be read, is answered with the whole file, as HTTP
// allows.
ByteRange byteRangeFor(const std::optional<std::string>& header, uint64_t size);

} // namespace vimbrel
