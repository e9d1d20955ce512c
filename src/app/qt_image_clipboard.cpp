#include "app/qt_image_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>

#include "model/picture_limits.h"

namespace anitrope {

bool QtImageClipboard::HasImage() const {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data && data->hasImage();
}

std::optional<ClipboardImage> QtImageClipboard::Image() const {
    const QImage image = QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32);
    if (image.isNull()) return std::nullopt;
    // A picture larger than any frame may be is refused before anything is copied.
    if (!PictureSizeAllowed(image.width(), image.height())) return std::nullopt;
    ClipboardImage out{image.width(), image.height(), {}};
    out.pixels.reserve(static_cast<std::size_t>(out.width) * static_cast<std::size_t>(out.height));
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) out.pixels.push_back(row[x] & 0xFFFFFF);
    }
    return out;
}

bool QtImageClipboard::SetImage(const ClipboardImage& image) {
    QImage out(image.width, image.height, QImage::Format_RGB32);
    if (out.isNull()) return false;
    for (int32_t y = 0; y < image.height; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(out.scanLine(y));
        for (int32_t x = 0; x < image.width; ++x)
            row[x] = 0xFF000000u | image.pixels[static_cast<std::size_t>(y) * image.width + x];
    }
    QGuiApplication::clipboard()->setImage(out);
    return true;
}

}  // namespace anitrope
