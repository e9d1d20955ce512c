#include "app/qt_font_chooser.h"

#include <QColorDialog>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QFontInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "banner/qt_text_drawer.h"

namespace anitrope {
namespace {

void ShowColor(QPushButton& button, uint32_t rgb) {
    button.setStyleSheet(QString("background-color: #%1").arg(rgb & 0xFFFFFF, 6, 16, QChar('0')));
}

}  // namespace

std::optional<FontChoice> QtFontChooser::Choose(const FontChoice& initial) {
    QDialog dialog(parent_);
    dialog.setObjectName("fontChooser");
    dialog.setWindowTitle("Font");
    auto* layout = new QVBoxLayout(&dialog);
    // The font dialog as a widget of ours, its own buttons left out for ours below.
    // A family the dialog lists (an empty face is the family's usual one, which it does not),
    // so that it also finds the style, bold or italic, in that family.
    QFont start = ToQFont(initial.font);
    start.setFamily(QFontInfo(start).family());
    auto* fonts = new QFontDialog(start, &dialog);
    fonts->setWindowFlags(Qt::Widget);
    fonts->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);
    layout->addWidget(fonts);

    uint32_t color = initial.color & 0xFFFFFF;
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel("Color:", &dialog));
    auto* swatch = new QPushButton(&dialog);
    swatch->setObjectName("fontColor");
    swatch->setFixedSize(48, 22);
    ShowColor(*swatch, color);
    QObject::connect(swatch, &QPushButton::clicked, &dialog, [&] {
        const QColor chosen = QColorDialog::getColor(QColor::fromRgb(color), &dialog, "Color");
        if (!chosen.isValid()) return;
        color = static_cast<uint32_t>(chosen.rgb()) & 0xFFFFFF;
        ShowColor(*swatch, color);
    });
    row->addWidget(swatch);
    row->addStretch();
    layout->addLayout(row);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);

    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    FontChoice choice{FromQFont(fonts->currentFont()), color};
    // The dialog speaks in points; what it does not show, the font keeps.
    choice.font.quality = initial.font.quality;
    if (choice.font.faceName.empty()) choice.font.family = initial.font.family;
    return choice;
}

}  // namespace anitrope
