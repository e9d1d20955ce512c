#include "app/preview_pane.h"

#include <QImage>
#include <QPainter>

#include "app/editor.h"
#include "model/gif.h"

namespace anitrope {

PreviewPane::PreviewPane(Editor& editor, QWidget* parent) : QFrame(parent), editor_(editor) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(kBorder);
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
    const QRect target = contentsRect();
    QPainter painter(this);
    painter.drawImage(target, image);
    const Animation& doc = editor_.Document();
    const bool coversScreen = gif->left == 0 && gif->top == 0 &&
                              gif->width == static_cast<uint32_t>(doc.screenWidth) &&
                              gif->height == static_cast<uint32_t>(doc.screenHeight);
    if (coversScreen) return;
    // Scaled with the picture, so that it marks the frame wherever the picture is stretched.
    const double sx = static_cast<double>(target.width()) / picture->Width();
    const double sy = static_cast<double>(target.height()) / picture->Height();
    QPen pen(QColor(0, 25, 25), 1, Qt::DotLine);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(target.x() + gif->left * sx, target.y() + gif->top * sy,
                            gif->width * sx, gif->height * sy));
}

}  // namespace anitrope
