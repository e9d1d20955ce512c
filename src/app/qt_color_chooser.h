#pragma once

#include "app/color_chooser.h"

class QWidget;

namespace anitrope {

// The colour chooser as QColorDialog, modal to `parent`. Its sixteen custom colours are all
// the grey of the parent's background, so that no colour chosen earlier suggests itself.
class QtColorChooser final : public ColorChooser {
  public:
    explicit QtColorChooser(QWidget* parent = nullptr) : parent_(parent) {}
    void SetParent(QWidget* parent) { parent_ = parent; }
    std::optional<uint32_t> Choose(uint32_t initialRgb, const std::string& title) override;
    std::optional<uint32_t> ChooseWithCustom(uint32_t initialRgb, const std::string& title,
                                             std::array<uint32_t, 16>& custom) override;

  private:
    QWidget* parent_;
};

}  // namespace anitrope
