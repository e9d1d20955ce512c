#include "app/preview_pane.h"

#include <QImage>
#include <QPainter>
#include <algorithm>

#include "app/editor.h"
#include "model/gif.h"

namespace anitrope {

PreviewPane::PreviewPane(Editor& editor, QWidget* parent) : QFrame(parent), editor_(editor) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(kBorder);
}

QRect PreviewPane::PictureRect(const QRect& area, int32_t width, int32_t height) {
    if (width <= 0 || height <= 0 || area.isEmpty()) return {};
    // The largest rectangle of the animation's shape that fits, centred: stretching it to the
    // pane's shape would show another picture.
    const double scale = std::min(static_cast<double>(area.width()) / width,
                                  static_cast<double>(area.height()) / height);
    const int w = std::max(1, static_cast<int>(width * scale + 0.5));
    const int h = std::max(1, static_cast<int>(height * scale + 0.5));
    return QRect(area.x() + (area.width() - w) / 2, area.y() + (area.height() - h) / 2, w, h);
}

void PreviewPane::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    Gif* gif = editor_.CurrentGif();
    if (!gif) return;
    const auto picture = editor_.Pictures().GetDisplayBitmap(*gif);
    if (!picture || picture->Width() <= 0 || picture->Height() <= 0) return;
    // Qt's RGB32 wants 0xFF in the top byte, which our pictures use for a marker or leave 0.
    QImage image(picture->Width(), picture->Height(), QImage::Format_RGB32);
    for (int32_t y = 0; y < picture->Height(); ++y) {
        auto* out = reinterpret_cast<uint32_t*>(image.scanLine(y));
        const uint32_t* in = picture->Row(y);
        for (int32_t x = 0; x < picture->Width(); ++x) out[x] = 0xFF000000u | (in[x] & 0xFFFFFFu);
    }
    const QRect target = PictureRect(contentsRect(), picture->Width(), picture->Height());
    QPainter painter(this);
    // Shrunk pictures are smoothed; enlarged ones keep their pixels square.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, target.width() < picture->Width());
    painter.drawImage(target, image);
    const Animation& doc = editor_.Data();
    const bool coversScreen = gif->left == 0 && gif->top == 0 &&
                              gif->width == static_cast<uint32_t>(doc.screenWidth) &&
                              gif->height == static_cast<uint32_t>(doc.screenHeight);
    if (coversScreen) return;
    // Scaled with the picture, so that it marks the frame wherever the picture is shown.
    const double sx = static_cast<double>(target.width()) / picture->Width();
    const double sy = static_cast<double>(target.height()) / picture->Height();
    QPen pen(QColor(0, 25, 25), 1, Qt::DotLine);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(target.x() + gif->left * sx, target.y() + gif->top * sy,
                            gif->width * sx, gif->height * sy));
}

}  // namespace anitrope
