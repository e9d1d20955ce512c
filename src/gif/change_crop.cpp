#include "gif/change_crop.h"

#include <cstring>
#include <memory>
#include <optional>
#include <vector>

#include "gif/screen_walk.h"
#include "model/gif.h"

namespace anitrope {
namespace {

struct Rect {
    int32_t left, top, right, bottom;  // inclusive
};

// Which frame pixels change the screen, row by row.
class ChangeMap {
public:
    ChangeMap(const Gif& frame, const ScreenImage& before, uint32_t mask)
        : width_(frame.indexed->Width()), height_(frame.indexed->Height()),
          changed_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_)) {
        const bool transparent = frame.transparent != 0;
        for (int32_t y = 0; y < height_; ++y) {
            for (int32_t x = 0; x < width_; ++x) {
                if (transparent && frame.indexed->Get(x, y) == frame.transparentIndex) continue;
                const Beneath beneath =
                    CompareWithScreen(FramePixelRgb(frame, x, y), before,
                                      int64_t{frame.left} + x, int64_t{frame.top} + y, mask);
                changed_[Index(x, y)] = beneath == Beneath::Different ||
                                        beneath == Beneath::Uncovered;
            }
        }
    }

    bool At(int32_t x, int32_t y) const { return changed_[Index(x, y)] != 0; }
    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }

private:
    std::size_t Index(int32_t x, int32_t y) const {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
               static_cast<std::size_t>(x);
    }
    int32_t width_, height_;
    std::vector<uint8_t> changed_;
};

std::optional<Rect> ChangedRect(const ChangeMap& map) {
    const int32_t w = map.Width(), h = map.Height();
    const int32_t threshold = w / 20;  // for columns too, as the rows set the scale
    auto rowChanged = [&](int32_t y) {
        return LineChanged(w, threshold, [&](int32_t x) { return map.At(x, y); });
    };
    auto columnChanged = [&](int32_t x) {
        return LineChanged(h, threshold, [&](int32_t y) { return map.At(x, y); });
    };
    Rect rect{0, 0, w - 1, h - 1};
    while (rect.top < h && !rowChanged(rect.top)) ++rect.top;
    if (rect.top == h) return std::nullopt;
    while (!rowChanged(rect.bottom)) --rect.bottom;
    while (rect.left < w && !columnChanged(rect.left)) ++rect.left;
    if (rect.left == w) {
        rect.left = 0;  // changes too scattered for any column: keep the full width
        return rect;
    }
    while (!columnChanged(rect.right)) --rect.right;
    return rect;
}

template <typename Bitmap, typename... Owner>
std::unique_ptr<Bitmap> CutOut(const Bitmap& source, const Rect& rect, Owner... owner) {
    const int32_t w = rect.right - rect.left + 1, h = rect.bottom - rect.top + 1;
    auto cut = std::make_unique<Bitmap>(owner..., w, h);
    if (!cut->HasRows()) return nullptr;
    for (int32_t y = 0; y < h; ++y)
        std::memcpy(cut->Row(y), source.Row(rect.top + y) + rect.left,
                    sizeof(*cut->Row(y)) * static_cast<std::size_t>(w));
    return cut;
}

}  // namespace

bool CropToChanges(Gif& frame, const ScreenImage& before, uint32_t mask) {
    if (!frame.indexed || !frame.indexed->HasRows()) return false;
    const std::optional<Rect> rect = ChangedRect(ChangeMap(frame, before, mask));
    if (!rect) return false;
    const int32_t w = rect->right - rect->left + 1, h = rect->bottom - rect->top + 1;
    if (w == frame.indexed->Width() && h == frame.indexed->Height()) return false;

    auto indexed = CutOut(*frame.indexed, *rect, &frame);
    std::unique_ptr<TrueColorBitmap> trueColor;
    const bool hasTrueColor = frame.trueColor && frame.trueColor->HasRows() &&
                              frame.trueColor->Width() == frame.indexed->Width() &&
                              frame.trueColor->Height() == frame.indexed->Height();
    if (hasTrueColor) trueColor = CutOut(*frame.trueColor, *rect);
    if (!indexed || (hasTrueColor && !trueColor)) return false;

    frame.indexed = std::move(indexed);
    if (hasTrueColor) frame.trueColor = std::move(trueColor);
    frame.left += rect->left;
    frame.top += rect->top;
    frame.width = static_cast<uint32_t>(w);
    frame.height = static_cast<uint32_t>(h);
    return true;
}

}  // namespace anitrope
