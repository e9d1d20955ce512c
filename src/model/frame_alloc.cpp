#include "model/frame_alloc.h"

#include <limits>
#include <memory>

#include "model/gif.h"

namespace anitrope {

int32_t BitmapExtent(uint32_t extent) {
    constexpr auto kMax = static_cast<uint32_t>(std::numeric_limits<int32_t>::max());
    return static_cast<int32_t>(extent > kMax ? kMax : extent);
}

int AllocIndexed(Gif& gif, uint32_t width, uint32_t height) {
    gif.width = width;
    gif.height = height;
    gif.indexed = std::make_shared<IndexedBitmap>(&gif, BitmapExtent(width), BitmapExtent(height));
    return 0;
}

int AllocTrueColor(Gif& gif) {
    SetIndexedReady(gif, 0);
    gif.trueColor =
        std::make_shared<TrueColorBitmap>(BitmapExtent(gif.width), BitmapExtent(gif.height));
    return 0;
}

}  // namespace anitrope
