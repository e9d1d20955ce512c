#include "app/color_swatch.h"

#include <QPainter>

namespace anitrope {
namespace {

constexpr int kSwatchWidth = 40;
constexpr int kSwatchHeight = 20;

}  // namespace

ColorSwatch::ColorSwatch(QWidget* parent) : QAbstractButton(parent) {
    setFocusPolicy(Qt::StrongFocus);
}

void ColorSwatch::SetColor(std::optional<uint32_t> rgb) {
    color_ = rgb;
    update();
}

QSize ColorSwatch::sizeHint() const { return {kSwatchWidth, kSwatchHeight}; }

void ColorSwatch::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect area = rect();
    if (color_) {
        painter.fillRect(area, QColor::fromRgb(*color_ & 0xFFFFFF));
        painter.setPen(QPen(Qt::black, 1));
        painter.drawRect(area.adjusted(0, 0, -1, -1));
        return;
    }
    painter.fillRect(area, palette().color(QPalette::Button));
    painter.setPen(QPen(Qt::red, 1));
    painter.drawLine(area.topLeft(), area.bottomRight());
    painter.drawLine(area.bottomLeft(), area.topRight());
}

}  // namespace anitrope
