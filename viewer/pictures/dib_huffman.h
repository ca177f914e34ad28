#pragma once

#include <span>
#include <vector>

#include "viewer/pictures/raster.h"

#include "viewer/pictures/dib_format.h"

namespace vimbrel::dib {

// OS/2's 1-bit bitmaps coded with the one-dimensional Huffman code of fax
// (ITU-T T.4, "modified Huffman"): each row a white run, then black and white
// runs in turn, bits read from the most significant, end-of-line codes and
// fill bits allowed between rows. White is colour 0, black colour 1. Rows
// that the data does not reach keep colour 0.
Raster decodeHuffman1d(const Header& header, const std::vector<Colour>& colours,
                       std::span<const uint8_t> bits);

} // namespace vimbrel::dib
