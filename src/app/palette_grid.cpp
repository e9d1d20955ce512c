#include "app/palette_grid.h"

#include <QMouseEvent>
#include <QPainter>

namespace anitrope {
namespace {

constexpr int kOutlineDistance = 2;  // from the cell's border to the selection outline
constexpr int kMinimumCell = 16;

QColor ColorOf(const PaletteEntry& entry) { return QColor::fromRgb(PaletteRgb(entry)); }

}  // namespace

PaletteGridGeometry::PaletteGridGeometry(QSize frame)
    : cellWidth((frame.width() - kGridMargin) / kGridColumns),
      cellHeight((frame.height() - kGridMargin) / kGridRows) {
    const int gridWidth = kGridColumns * cellWidth + (kGridColumns - 1) * kGridGap;
    const int gridHeight = kGridRows * cellHeight + (kGridRows - 1) * kGridGap;
    origin = QPoint((frame.width() - gridWidth) / 2, (frame.height() - gridHeight) / 2);
}

QRect PaletteGridGeometry::CellRect(int index) const {
    if (!HasCells() || index < 0 || index >= kGridColumns * kGridRows) return {};
    const int row = index / kGridColumns;
    const int column = index % kGridColumns;
    return QRect(origin.x() + column * (cellWidth + kGridGap),
                 origin.y() + row * (cellHeight + kGridGap), cellWidth, cellHeight);
}

int PaletteGridGeometry::IndexAt(QPoint point) const {
    if (!HasCells()) return -1;
    const int x = point.x() - origin.x();
    const int y = point.y() - origin.y();
    if (x < 0 || y < 0) return -1;
    const int column = x / (cellWidth + kGridGap);
    const int row = y / (cellHeight + kGridGap);
    if (column >= kGridColumns || row >= kGridRows) return -1;
    if (x % (cellWidth + kGridGap) >= cellWidth || y % (cellHeight + kGridGap) >= cellHeight)
        return -1;  // in the gap
    return row * kGridColumns + column;
}

PaletteGrid::PaletteGrid(QWidget* parent) : QFrame(parent) {
    setObjectName("colorGrid");
    setFrameShape(QFrame::Box);
    const int side = kGridMargin + kGridColumns * kMinimumCell;
    setMinimumSize(side, side);
}

void PaletteGrid::SetPalette(const Palette* palette) {
    palette_ = palette;
    update();
}

void PaletteGrid::SetSelected(int index) {
    if (index < 0 || index >= kPaletteSlots) return;
    selected_ = index;
    update();
}

void PaletteGrid::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    if (!palette_) return;
    const PaletteGridGeometry geometry(size());
    if (!geometry.HasCells()) return;
    QPainter painter(this);
    for (int index = 0; index < kPaletteSlots; ++index) {
        const QRect cell = geometry.CellRect(index);
        painter.fillRect(cell, Qt::black);
        painter.fillRect(cell.adjusted(1, 1, -1, -1), ColorOf((*palette_)[index]));
    }
    const QRect outline = geometry.CellRect(selected_).adjusted(
        -kOutlineDistance, -kOutlineDistance, kOutlineDistance, kOutlineDistance);
    painter.setPen(QPen(Qt::red, 1));
    // A pen of width 1 strokes a QRect one pixel beyond its right and bottom edges.
    painter.drawRect(outline.adjusted(0, 0, -1, -1));
}

void PaletteGrid::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) pressed_ = true;
    QFrame::mousePressEvent(event);
}

void PaletteGrid::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !pressed_) return QFrame::mouseReleaseEvent(event);
    pressed_ = false;
    const int index = PaletteGridGeometry(size()).IndexAt(event->position().toPoint());
    if (index < 0) return;
    SetSelected(index);
    if (onSelected) onSelected(index);
}

void PaletteGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QFrame::mouseDoubleClickEvent(event);
    // The first click of the pair selected the cell already; the release that ends the
    // double click must not select again over what the edit showed.
    pressed_ = false;
    const int index = PaletteGridGeometry(size()).IndexAt(event->position().toPoint());
    if (onDoubleClicked) onDoubleClicked(index);
}

}  // namespace anitrope
