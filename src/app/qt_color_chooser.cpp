#include "app/qt_color_chooser.h"

#include <QApplication>
#include <QColorDialog>
#include <QPalette>
#include <QWidget>

namespace anitrope {
namespace {

constexpr int kCustomColors = 16;

std::optional<uint32_t> Run(uint32_t initialRgb, const std::string& title, QWidget* parent) {
    const QColor chosen = QColorDialog::getColor(QColor::fromRgb(initialRgb & 0xFFFFFF), parent,
                                                 QString::fromStdString(title));
    if (!chosen.isValid()) return std::nullopt;
    return static_cast<uint32_t>(chosen.rgb()) & 0xFFFFFF;
}

}  // namespace

std::optional<uint32_t> QtColorChooser::Choose(uint32_t initialRgb, const std::string& title) {
    const QPalette palette = parent_ ? parent_->palette() : QApplication::palette();
    // The grey is made from the red channel alone, the low byte of a COLORREF.
    const int grey = palette.color(QPalette::Window).red();
    for (int i = 0; i < kCustomColors; ++i)
        QColorDialog::setCustomColor(i, QColor(grey, grey, grey));
    return Run(initialRgb, title, parent_);
}

std::optional<uint32_t> QtColorChooser::ChooseWithCustom(uint32_t initialRgb,
                                                         const std::string& title,
                                                         std::array<uint32_t, 16>& custom) {
    for (int i = 0; i < kCustomColors; ++i)
        QColorDialog::setCustomColor(i, QColor::fromRgb(custom[static_cast<std::size_t>(i)] & 0xFFFFFF));
    std::optional<uint32_t> chosen = Run(initialRgb, title, parent_);
    for (int i = 0; i < kCustomColors; ++i)
        custom[static_cast<std::size_t>(i)] = static_cast<uint32_t>(QColorDialog::customColor(i).rgb()) & 0xFFFFFF;
    return chosen;
}

}  // namespace anitrope
