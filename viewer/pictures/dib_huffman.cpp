#include "viewer/pictures/dib_huffman.h"

#include <array>
#include <string_view>
#include <unordered_map>

namespace vimbrel::dib {
namespace {

// The code words of ITU-T T.4, as written in its tables: terminating codes
// for runs 0 to 63, make-up codes for 64 to 1728 in steps of 64, and the
// make-up codes for 1792 to 2560 that both colours share.
constexpr std::array<std::string_view, 64> kWhiteTerminating = {
    "00110101", "000111",   "0111",     "1000",     "1011",     "1100",     "1110",     "1111",
    "10011",    "10100",    "00111",    "01000",    "001000",   "000011",   "110100",   "110101",
    "101010",   "101011",   "0100111",  "0001100",  "0001000",  "0010111",  "0000011",  "0000100",
    "0101000",  "0101011",  "0010011",  "0100100",  "0011000",  "00000010", "00000011", "00011010",
    "00011011", "00010010", "00010011", "00010100", "00010101", "00010110", "00010111", "00101000",
    "00101001", "00101010", "00101011", "00101100", "00101101", "00000100", "00000101", "00001010",
    "00001011", "01010010", "01010011", "01010100", "01010101", "00100100", "00100101", "01011000",
    "01011001", "01011010", "01011011", "01001010", "01001011", "00110010", "00110011", "00110100",
};
constexpr std::array<std::string_view, 27> kWhiteMakeUp = {
    "11011",     "10010",     "010111",    "0110111",   "00110110",  "00110111",  "01100100",
    "01100101",  "01101000",  "01100111",  "011001100", "011001101", "011010010", "011010011",
    "011010100", "011010101", "011010110", "011010111", "011011000", "011011001", "011011010",
    "011011011", "010011000", "010011001", "010011010", "011000",    "010011011",
};
constexpr std::array<std::string_view, 64> kBlackTerminating = {
    "0000110111",   "010",          "11",           "10",           "011",          "0011",
    "0010",         "00011",        "000101",       "000100",       "0000100",      "0000101",
    "0000111",      "00000100",     "00000111",     "000011000",    "0000010111",   "0000011000",
    "0000001000",   "00001100111",  "00001101000",  "00001101100",  "00000110111",  "00000101000",
    "00000010111",  "00000011000",  "000011001010", "000011001011", "000011001100", "000011001101",
    "000001101000", "000001101001", "000001101010", "000001101011", "000011010010", "000011010011",
    "000011010100", "000011010101", "000011010110", "000011010111", "000001101100", "000001101101",
    "000011011010", "000011011011", "000001010100", "000001010101", "000001010110", "000001010111",
    "000001100100", "000001100101", "000001010010", "000001010011", "000000100100", "000000110111",
    "000000111000", "000000100111", "000000101000", "000001011000", "000001011001", "000000101011",
    "000000101100", "000001011010", "000001100110", "000001100111",
};
constexpr std::array<std::string_view, 27> kBlackMakeUp = {
    "0000001111",    "000011001000",  "000011001001",  "000001011011",  "000000110011",
    "000000110100",  "000000110101",  "0000001101100", "0000001101101", "0000001001010",
    "0000001001011", "0000001001100", "0000001001101", "0000001110010", "0000001110011",
    "0000001110100", "0000001110101", "0000001110110", "0000001110111", "0000001010010",
    "0000001010011", "0000001010100", "0000001010101", "0000001011010", "0000001011011",
    "0000001100100", "0000001100101",
};
constexpr std::array<std::string_view, 13> kSharedMakeUp = {
    "00000001000",  "00000001100",  "00000001101",  "000000010010", "000000010011",
    "000000010100", "000000010101", "000000010110", "000000010111", "000000011100",
    "000000011101", "000000011110", "000000011111",
};

// Code words by (length << 16 | value) to their run length.
using CodeTable = std::unordered_map<uint32_t, int>;

uint32_t keyOf(std::string_view code)
{
    uint32_t value = 0;
    for (const char bit : code) {
        value = value << 1 | uint32_t(bit == '1');
    }
    return uint32_t(code.size()) << 16 | value;
}

CodeTable makeTable(const std::array<std::string_view, 64>& terminating,
                    const std::array<std::string_view, 27>& makeUp)
{
    CodeTable table;
    for (size_t i = 0; i < terminating.size(); ++i) {
        table[keyOf(terminating[i])] = int(i);
    }
    for (size_t i = 0; i < makeUp.size(); ++i) {
        table[keyOf(makeUp[i])] = int(64 * (i + 1));
    }
    for (size_t i = 0; i < kSharedMakeUp.size(); ++i) {
        table[keyOf(kSharedMakeUp[i])] = int(1792 + 64 * i);
    }
    return table;
}

class BitReader
{
public:
    explicit BitReader(std::span<const uint8_t> bytes) : mBytes(bytes) {}
    bool atEnd() const { return mPosition >= mBytes.size() * 8; }
    int next()
    {
        if (atEnd()) {
            return -1;
        }
        const int bit = (mBytes[mPosition / 8] >> (7 - mPosition % 8)) & 1;
        ++mPosition;
        return bit;
    }
    // Passes over fill bits and end-of-line codes (eleven or more zeros and a
    // one); leaves the reader where it was when none follow.
    void skipLineEnds()
    {
        for (;;) {
            size_t zeros = 0;
            size_t at = mPosition;
            while (at < mBytes.size() * 8 && ((mBytes[at / 8] >> (7 - at % 8)) & 1) == 0) {
                ++zeros;
                ++at;
            }
            if (zeros < 11 || at >= mBytes.size() * 8) {
                return;
            }
            mPosition = at + 1;
        }
    }

private:
    std::span<const uint8_t> mBytes;
    size_t mPosition = 0;
};

// One run: make-up codes and the terminating code that ends it; -1 when the
// data ends or holds no code of the table.
int readRun(BitReader& in, const CodeTable& table)
{
    int total = 0;
    for (;;) {
        uint32_t value = 0;
        int run = -1;
        for (uint32_t length = 1; length <= 13 && run < 0; ++length) {
            const int bit = in.next();
            if (bit < 0) {
                return -1;
            }
            value = value << 1 | uint32_t(bit);
            const auto found = table.find(length << 16 | value);
            if (found != table.end()) {
                run = found->second;
            }
        }
        if (run < 0) {
            return -1;
        }
        total += run;
        if (run < 64) {
            return total;
        }
    }
}

} // namespace

Raster decodeHuffman1d(const Header& header, const std::vector<Colour>& colours,
                       std::span<const uint8_t> bits)
{
    static const CodeTable white = makeTable(kWhiteTerminating, kWhiteMakeUp);
    static const CodeTable black = makeTable(kBlackTerminating, kBlackMakeUp);
    const int width = static_cast<int>(header.width);
    const int height = static_cast<int>(header.height);
    Raster image = Raster::make(width, height, Raster::Format::Rgb32);
    if (image.isNull()) {
        return {};
    }
    const auto colour = [&](size_t index) {
        return index < colours.size() ? colours[index] : rgb(0, 0, 0);
    };
    image.fill(colour(0));
    BitReader in(bits);
    for (int y = 0; y < height && !in.atEnd(); ++y) {
        in.skipLineEnds();
        auto* row = image.pixels(header.topDown ? y : height - 1 - y);
        int x = 0;
        for (int index = 0; x < width; index ^= 1) {
            const int run = readRun(in, index == 0 ? white : black);
            if (run < 0) {
                return image; // damaged or cut short: what was read stays
            }
            for (int i = 0; i < run && x < width; ++i, ++x) {
                row[x] = colour(size_t(index));
            }
        }
    }
    return image;
}

} // namespace vimbrel::dib
