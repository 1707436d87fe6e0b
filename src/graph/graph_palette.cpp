// The band colour table of the response graph.
#include "graph/graph_palette.h"

#include <array>

#include "graph/curve_band.h"

namespace vellora::graph {

namespace {

constexpr std::array<Argb, kMaxBands> kBandColours{{
    {255, 82, 231, 51},   {255, 58, 139, 228},  {255, 192, 26, 230}, {255, 244, 33, 41},
    {255, 88, 0, 248},    {255, 190, 255, 8},   {255, 27, 180, 255}, {255, 41, 255, 169},
    {255, 108, 183, 94},  {255, 95, 138, 180},  {255, 162, 87, 182}, {255, 188, 84, 86},
    {255, 111, 79, 191},  {255, 164, 198, 78},  {255, 84, 159, 194}, {255, 150, 100, 32},
    {255, 244, 33, 41},
}};

}  // namespace

Argb BandColour(int position) {
    const int i = ((position % kMaxBands) + kMaxBands) % kMaxBands;
    return kBandColours[static_cast<std::size_t>(i)];
}

}  // namespace vellora::graph
