#include "app/toolbar_icons.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>

namespace anitrope {
namespace {

// Every image is drawn on an 18 x 17 grid with the same pen and palette.
constexpr int kWidth = 18, kHeight = 17;
const QColor kInk(40, 52, 70);
const QColor kAccent(230, 120, 30);
const QColor kFill(120, 170, 220);

void Play(QPainter& p) { p.drawPolygon(QPolygonF({{5, 3}, {14, 8.5}, {5, 14}})); }

void Draw(QPainter& p, int image) {
    p.setPen(QPen(kInk, 1.2));
    p.setBrush(kFill);
    switch (image) {
        case 0:  // open: a folder
            p.drawRect(QRectF(2, 5, 14, 9));
            p.setBrush(kAccent);
            p.drawPolygon(QPolygonF({{2, 5}, {6, 3}, {9, 3}, {10, 5}}));
            break;
        case 1:  // save: a disk
            p.drawRect(QRectF(3, 2, 12, 13));
            p.setBrush(Qt::white);
            p.drawRect(QRectF(6, 2, 6, 4));
            p.drawRect(QRectF(5, 9, 8, 6));
            break;
        case 2:  // copy: two sheets
            p.setBrush(Qt::white);
            p.drawRect(QRectF(3, 2, 8, 10));
            p.setBrush(kFill);
            p.drawRect(QRectF(7, 5, 8, 10));
            break;
        case 3: {  // effect: a star
            QPolygonF star;
            for (int i = 0; i < 10; ++i) {
                const double r = i % 2 ? 3.0 : 7.0, a = 3.14159265 * (i / 5.0 - 0.5);
                star << QPointF(9 + r * std::cos(a), 8.5 + r * std::sin(a));
            }
            p.setBrush(kAccent);
            p.drawPolygon(star);
            break;
        }
        case 4: {  // help: a question mark in a circle
            p.drawEllipse(QRectF(2, 1.5, 14, 14));
            QFont font = p.font();
            font.setPixelSize(11);
            font.setBold(true);
            p.setFont(font);
            p.drawText(QRectF(2, 1.5, 14, 14), Qt::AlignCenter, "?");
            break;
        }
        case 5: p.setBrush(QColor(60, 160, 80)); Play(p); break;
        case 6: p.setBrush(QColor(200, 60, 50)); p.drawRect(QRectF(4, 3.5, 10, 10)); break;
        case 7:  // first image
            p.drawRect(QRectF(3, 3, 2, 11));
            p.drawPolygon(QPolygonF({{15, 3}, {6, 8.5}, {15, 14}}));
            break;
        case 8:  // last image
            p.drawRect(QRectF(13, 3, 2, 11));
            p.drawPolygon(QPolygonF({{3, 3}, {12, 8.5}, {3, 14}}));
            break;
        case 9:  // transition: one frame fading into the next
            p.drawRect(QRectF(2, 3, 8, 8));
            p.setBrush(kAccent);
            p.drawRect(QRectF(8, 6, 8, 8));
            break;
        case 10: {  // banner text
            p.drawRect(QRectF(1.5, 4, 15, 9));
            QFont font = p.font();
            font.setPixelSize(9);
            font.setBold(true);
            p.setFont(font);
            p.drawText(QRectF(1.5, 4, 15, 9), Qt::AlignCenter, "Ab");
            break;
        }
        default: break;
    }
}

}  // namespace

QIcon ToolbarIcon(int image, qreal devicePixelRatio) {
    const qreal ratio = devicePixelRatio > 0 ? devicePixelRatio : 1;
    QPixmap pixmap(static_cast<int>(kWidth * ratio), static_cast<int>(kHeight * ratio));
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    Draw(painter, image);
    painter.end();
    return QIcon(pixmap);
}

QPixmap LogoPixmap(int width, int height, qreal devicePixelRatio, bool named) {
    const qreal ratio = devicePixelRatio > 0 ? devicePixelRatio : 1;
    QPixmap pixmap(static_cast<int>(width * ratio), static_cast<int>(height * ratio));
    pixmap.setDevicePixelRatio(ratio);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, height);
    sky.setColorAt(0, QColor(30, 50, 90));
    sky.setColorAt(1, QColor(90, 140, 200));
    p.fillRect(QRectF(0, 0, width, height), sky);
    // Three frames of a film strip, the ball rising through them.
    const qreal frame = width / 4.0, top = height * 0.2, side = height * 0.45;
    for (int i = 0; i < 3; ++i) {
        const QRectF cell(frame * 0.5 + i * frame * 1.05, top, frame, side);
        p.setPen(QPen(QColor(240, 240, 240), 2));
        p.setBrush(QColor(255, 255, 255, 40));
        p.drawRect(cell);
        p.setPen(Qt::NoPen);
        p.setBrush(kAccent);
        const qreal r = side * 0.15;
        p.drawEllipse(QPointF(cell.center().x(), cell.bottom() - r - i * side * 0.25), r, r);
    }
    if (named) {
        QFont font = p.font();
        font.setPixelSize(static_cast<int>(height * 0.14));
        font.setBold(true);
        p.setFont(font);
        p.setPen(Qt::white);
        p.drawText(QRectF(0, height * 0.72, width, height * 0.2), Qt::AlignCenter, "Anitrope");
    }
    p.end();
    return pixmap;
}

}  // namespace anitrope
