#pragma once

#include <string>

namespace vimbrel::testing {

// An EMF of `size` x `size` pixels (96 dpi) holding one polygon of `points`
// points that zig-zags from edge to edge: with `acrossRows`, between the top
// and the bottom while it moves slowly right, so that every row of the
// picture crosses every edge (the worst case of a raster engine's fill);
// otherwise between left and right while it moves slowly down. 80 KB for
// 20,000 points.
std::string zigZagEmf(int points, int size, bool acrossRows);

// An EMF of `size` x `size` pixels holding `count` small rectangles, each
// cheap, together many records.
std::string manyRectanglesEmf(int count, int size);

} // namespace vimbrel::testing
