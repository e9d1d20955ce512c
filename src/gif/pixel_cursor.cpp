#include "gif/pixel_cursor.h"

#include <algorithm>
#include <cstring>

#include "model/indexed_bitmap.h"

namespace anitrope {
namespace {

struct Pass {
    int32_t start;
    int32_t step;
};
// GIF89a appendix E: rows 0, 8, 16...; then 4, 12...; then 2, 6...; then 1, 3, 5...
constexpr Pass kPasses[5] = {{0, 1}, {0, 8}, {4, 8}, {2, 4}, {1, 2}};

}  // namespace

PixelCursor::PixelCursor(IndexedBitmap& target, bool interlaced)
    : target_(target),
      width_(target.Width()),
      height_(target.Height()),
      interlaced_(interlaced),
      step_(interlaced ? 8 : 1) {
    done_ = width_ <= 0 || height_ <= 0 || !target.HasRows();
}

void PixelCursor::NextRow() {
    x_ = 0;
    y_ += step_;
    if (!interlaced_) {
        done_ = y_ >= height_;
        return;
    }
    // A pass with no rows in a short image is skipped, not filled into rows that don't exist.
    while (y_ >= height_ && pass_ < 4) {
        ++pass_;
        y_ = kPasses[pass_].start;
        step_ = kPasses[pass_].step;
    }
    done_ = y_ >= height_;
}

void PixelCursor::Write(const uint8_t* bytes, std::size_t count) {
    while (count > 0 && !done_) {
        const auto run = std::min<std::size_t>(count, static_cast<std::size_t>(width_ - x_));
        std::memcpy(target_.Row(y_) + x_, bytes, run);
        bytes += run;
        count -= run;
        x_ += static_cast<int32_t>(run);
        if (x_ == width_) NextRow();
    }
}

}  // namespace anitrope
