#pragma once

#include <QAbstractButton>
#include <cstdint>
#include <optional>

namespace anitrope {

// A clickable colour field: filled with its colour (0x00RRGGBB), or crossed out with two red
// diagonals when it has none. Disabled swatches keep their look but take no clicks.
class ColorSwatch final : public QAbstractButton {
  public:
    explicit ColorSwatch(QWidget* parent = nullptr);

    // Nothing: the red cross.
    void SetColor(std::optional<uint32_t> rgb);
    std::optional<uint32_t> Color() const { return color_; }

    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    std::optional<uint32_t> color_;
};

}  // namespace anitrope
