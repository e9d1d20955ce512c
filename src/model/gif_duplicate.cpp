#include <algorithm>
#include <cstring>

#include "model/gif.h"

namespace anitrope {
namespace {

constexpr std::size_t kMaxCopyName = 256;
constexpr const char kCopyPrefix[] = "Copy of";

std::string CopyName(const std::string& source) {
    // Copies of copies keep their name instead of growing "Copy of Copy of ...".
    if (source.compare(0, std::strlen(kCopyPrefix), kCopyPrefix) == 0) return source;
    std::string name = std::string(kCopyPrefix) + " " + source;
    if (name.size() > kMaxCopyName) name.resize(kMaxCopyName);
    return name;
}

}  // namespace

int DuplicateGif(const Gif& source, Gif* target, bool withTrueColor) {
    if (!target) return -1;

    target->left = source.left;
    target->top = source.top;
    target->width = source.width;
    target->height = source.height;
    target->delay = source.delay;
    target->transparentIndex = source.transparentIndex;
    target->transparent = source.transparent;
    target->hasTransparentPixels = source.hasTransparentPixels;
    target->interlaced = source.interlaced;
    target->bitsPerPixel = source.bitsPerPixel;
    target->name = CopyName(source.name);

    const auto w = static_cast<int32_t>(source.width);
    const auto h = static_cast<int32_t>(source.height);
    const bool hasArea = w > 0 && h > 0;
    target->indexed = std::make_shared<IndexedBitmap>(target, w, h);
    if (hasArea && !target->indexed->HasRows()) return 5;

    // A source awaiting its reduction shows its true colour, which its copy must show too.
    const bool copyTrueColor = (withTrueColor || !source.indexedReady) && source.trueColor;
    if (copyTrueColor) {
        target->trueColor = std::make_shared<TrueColorBitmap>(w, h);
        SetIndexedReady(*target, 0);
        if (hasArea && !target->trueColor->HasRows()) return 5;
    }

    if (source.indexed && source.indexed->HasRows() && hasArea) {
        for (int32_t y = 0; y < h && y < source.indexed->Height(); ++y)
            std::memcpy(target->indexed->Row(y), source.indexed->Row(y),
                        static_cast<std::size_t>(std::min(w, source.indexed->Width())));
    }
    if (copyTrueColor && source.trueColor->HasRows() && hasArea) {
        for (int32_t y = 0; y < h && y < source.trueColor->Height(); ++y)
            std::memcpy(target->trueColor->Row(y), source.trueColor->Row(y),
                        sizeof(uint32_t) * static_cast<std::size_t>(std::min(w, source.trueColor->Width())));
    }
    target->palette = source.palette;
    target->keepColors = source.keepColors;
    return 0;
}

}  // namespace anitrope
