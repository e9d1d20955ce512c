#include "app/bitmap_image.h"

namespace anitrope {

QImage OpaqueImage(const TrueColorBitmap& pixels) {
    if (!pixels.HasRows()) return {};
    QImage image(pixels.Width(), pixels.Height(), QImage::Format_RGB32);
    for (int32_t y = 0; y < pixels.Height(); ++y) {
        const uint32_t* in = pixels.Row(y);
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int32_t x = 0; x < pixels.Width(); ++x) out[x] = 0xFF000000u | (in[x] & 0xFFFFFFu);
    }
    return image;
}

}  // namespace anitrope
