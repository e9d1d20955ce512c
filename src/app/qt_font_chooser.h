#pragma once

#include "app/font_chooser.h"

class QWidget;

namespace anitrope {

// Qt's font dialog with a colour button below it, modal to `parent`: Qt's own dialog knows
// no colour, the font chooser the banner needs does.
class QtFontChooser final : public FontChooser {
public:
    explicit QtFontChooser(QWidget* parent = nullptr) : parent_(parent) {}
    void SetParent(QWidget* parent) { parent_ = parent; }
    std::optional<FontChoice> Choose(const FontChoice& initial) override;

private:
    QWidget* parent_;
};

}  // namespace anitrope
