#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "effects/effect_frames.h"
#include "effects/indexed_frames.h"
#include "model/gif.h"
#include "model/indexed_bitmap.h"

namespace anitrope {

// A source as projections and shifts read it: rows of indices (effects that keep image 1's
// palette) or of true colour (transitions), and which pixels let what lies below show
// through, only when the source has its transparency flag set.
template <class Pixel>
struct SourceRows {
    std::vector<const Pixel*> rows{};
    int32_t width = 0;
    int32_t height = 0;
    bool keyed = false;
    uint32_t mask = 0;
    uint32_t match = 0;
    std::shared_ptr<const void> keep{};  // a picture converted for the run lives as long as this

    bool Clear(Pixel p) const { return keyed && (p & mask) == match; }
    Pixel At(int32_t x, int32_t y) const { return rows[static_cast<std::size_t>(y)][x]; }
};

// Image 1's indices; none when PictureIndices has none (they await the reduction, or do not
// cover the frame).
inline std::optional<SourceRows<uint8_t>> IndexedRows(const Gif& gif) {
    const IndexedBitmap* in = PictureIndices(gif);
    if (!in) return std::nullopt;
    SourceRows<uint8_t> rows{.width = in->Width(),
                             .height = in->Height(),
                             .keyed = gif.transparent != 0,
                             .mask = 0xFF,
                             .match = static_cast<uint32_t>(gif.transparentIndex)};
    for (int32_t y = 0; y < in->Height(); ++y) rows.rows.push_back(in->Row(y));
    return rows;
}

// A source's true colour (see ReadSource), kept alive with the rows.
inline SourceRows<uint32_t> TrueColorRows(const SourcePicture& picture) {
    SourceRows<uint32_t> rows{.width = picture.width,
                              .height = picture.height,
                              .keyed = picture.transparent,
                              .mask = TransparentBit,
                              .match = TransparentBit,
                              .keep = picture.pixels};
    if (picture.Valid())
        for (int32_t y = 0; y < picture.height; ++y) rows.rows.push_back(picture.Row(y));
    return rows;
}

}  // namespace anitrope
