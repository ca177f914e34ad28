#include "viewer/pictures/dib_run_length.h"

#include "viewer/pictures/byte_reader.h"

namespace vimbrel::dib {

Raster decodeRunLength(const Header& header, const std::vector<Colour>& colours,
                       std::span<const uint8_t> bits)
{
    const bool four = header.compression == kRle4;
    const bool direct = header.runLength24();
    const uint32_t expected = direct ? 24u : four ? 4u : 8u;
    if (header.bitCount != expected || header.topDown) {
        return {};
    }
    const int width = static_cast<int>(header.width);
    const int height = static_cast<int>(header.height);
    Raster image = Raster::make(width, height, Raster::Format::Rgb32);
    if (image.isNull()) {
        return {};
    }
    const auto colour = [&](uint32_t index) {
        return index < colours.size() ? colours[index] : rgb(0, 0, 0);
    };
    image.fill(direct ? rgb(0, 0, 0) : colour(0));
    auto put = [&](int x, int y, Colour value) {
        if (x >= 0 && x < width && y >= 0 && y < height) {
            image.pixels(height - 1 - y)[x] = value;
        }
    };
    // The value of the i-th pixel of a run held in `bytes`.
    const auto pixel = [&](std::span<const uint8_t> bytes, int i) {
        if (direct) {
            return rgb(bytes[3 * i + 2], bytes[3 * i + 1], bytes[3 * i]);
        }
        if (four) {
            return colour(i % 2 == 0 ? bytes[i / 2] >> 4 : bytes[i / 2] & 0x0f);
        }
        return colour(bytes[i]);
    };
    ByteReader in(bits);
    int x = 0;
    int y = 0;
    while (in.remaining() >= 2 && y < height) {
        const uint8_t count = in.u8();
        if (count > 0) {
            // An encoded run: one value (two alternating for RLE4) repeated.
            const auto value = in.take(direct ? 3 : 1);
            if (value.empty()) {
                break;
            }
            const std::array<uint8_t, 3> run = {value[0], direct ? value[1] : value[0],
                                                direct ? value[2] : value[0]};
            for (int i = 0; i < count && x < width; ++i, ++x) {
                put(x, y,
                    direct ? rgb(run[2], run[1], run[0])
                    : four ? colour(i % 2 == 0 ? run[0] >> 4 : run[0] & 0x0f)
                           : colour(run[0]));
            }
            continue;
        }
        const uint8_t code = in.u8();
        if (code == 0) {
            x = 0;
            ++y;
        } else if (code == 1) {
            break;
        } else if (code == 2) {
            x += in.u8();
            y += in.u8();
        } else {
            // An absolute run of `code` pixels, padded to a whole 16-bit word.
            const size_t bytes = direct ? code * 3u : four ? (code + 1u) / 2u : code;
            const auto run = in.take(bytes + (bytes % 2));
            if (run.empty()) {
                break;
            }
            for (int i = 0; i < code; ++i, ++x) {
                put(x, y, pixel(run, i));
            }
        }
    }
    return image;
}

} // namespace vimbrel::dib
