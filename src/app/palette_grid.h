#pragma once

#include <QFrame>
#include <QRect>
#include <QSize>
#include <functional>

#include "model/palette_entry.h"

namespace anitrope {

inline constexpr int kGridColumns = 16;
inline constexpr int kGridRows = 16;
inline constexpr int kGridMargin = 60;  // taken off the frame's width and height before dividing
inline constexpr int kGridGap = 4;      // between neighbouring cells

// Where the 16 x 16 cells lie in a frame of `frame` size: cells of (width - 60) / 16 by
// (height - 60) / 16 pixels, 4 apart, the whole grid centred. Index = row * 16 + column.
// A frame too small for a cell of one pixel has no cells.
struct PaletteGridGeometry {
    explicit PaletteGridGeometry(QSize frame);

    bool HasCells() const { return cellWidth > 0 && cellHeight > 0; }
    // The cell of `index` (0-255), black border included; empty for other indices.
    QRect CellRect(int index) const;
    // The index of the cell under `point`, or -1 between cells and outside the grid.
    int IndexAt(QPoint point) const;

    int cellWidth;
    int cellHeight;
    QPoint origin;  // top-left corner of cell 0
};

// The grid of palette cells (control 3000). Each cell shows its entry inside a one-pixel
// black border (an empty entry shows black); the selected cell has a red outline two pixels
// outside it.
//
// A release selects only after a press inside the grid, so the release of the click that
// opened the panel is not taken as a choice.
class PaletteGrid final : public QFrame {
  public:
    explicit PaletteGrid(QWidget* parent = nullptr);

    // The palette shown; the grid keeps the pointer, which must outlive it.
    void SetPalette(const Palette* palette);
    void SetSelected(int index);
    int Selected() const { return selected_; }

    std::function<void(int index)> onSelected;       // a click chose a cell
    std::function<void(int index)> onDoubleClicked;  // -1 when not on a cell

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    const Palette* palette_ = nullptr;
    int selected_ = 0;
    bool pressed_ = false;
};

}  // namespace anitrope
