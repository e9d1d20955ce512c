#include "app/palette_panel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <cstdio>

#include "app/color_chooser.h"
#include "app/message_boxes.h"
#include "app/palette_grid.h"
#include "model/animation.h"
#include "model/document.h"
#include "model/gif.h"

namespace anitrope {
namespace {

// The platform chooser's own title: the panel gives it none of its own.
constexpr char kChooserTitle[] = "Color";

QPushButton* Button(const char* text, const char* name, QWidget* parent) {
    auto* button = new QPushButton(QString::fromUtf8(text), parent);
    button->setObjectName(QString::fromUtf8(name));
    button->setAutoDefault(false);
    return button;
}

// An index outside the palette (a transparent index never checked) starts at the first slot.
int InitialIndex(const Animation& animation, const Gif* owner) {
    const int index = owner ? owner->transparentIndex : animation.backgroundIndex;
    return index >= 0 && index < kPaletteSlots ? index : 0;
}

// The entry's text; after an edit the blue channel is named "b", as the panel always did.
std::string EntryText(int index, const PaletteEntry& entry, bool edited) {
    const char* blue = edited ? "b" : "B";
    char text[96];
    if (entry.IsUnused())
        std::snprintf(text, sizeof text, "Color Index %d - R:n/a G:n/a %s:n/a", index, blue);
    else
        std::snprintf(text, sizeof text, "Color Index %d - R:%d G:%d %s:%d", index, entry.red,
                      entry.green, blue, entry.blue);
    return text;
}

}  // namespace

PalettePanel::PalettePanel(Document& document, PaletteRequest& request, ColorChooser& colors,
                           MessageBoxes& boxes, QWidget* parent)
    : QDialog(parent),
      document_(document),
      request_(request),
      colors_(colors),
      boxes_(boxes),
      working_(request.owner ? EffectivePalette(*request.owner) : document.Data().globalPalette),
      ownerUsesLocal_(request.owner && request.owner->usesLocalPalette) {
    setObjectName("IDD_COLORDLG");
    setWindowTitle("Choose Color");
    setModal(true);

    grid_ = new PaletteGrid(this);
    grid_->SetPalette(&working_);
    colorText_ = new QLabel(this);
    colorText_->setObjectName("colorText");
    hintText_ = new QLabel(request.edit ? "Click on a Color to Select; double-click to Edit"
                                        : "Click on a Color to Select",
                           this);
    hintText_->setObjectName("hintText");
    ok_ = Button("&Ok", "ok", this);
    ok_->setDefault(true);
    cancel_ = Button("&Cancel", "cancel", this);

    grid_->onSelected = [this](int index) { Select(index); };
    grid_->onDoubleClicked = [this](int index) { Edit(index); };
    connect(ok_, &QPushButton::clicked, this, &PalettePanel::accept);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grid_, 1);
    layout->addWidget(colorText_);
    layout->addWidget(hintText_);
    layout->addLayout(buttons);

    Select(InitialIndex(document_.Data(), request_.owner));
}

int PalettePanel::Open(Document& document, PaletteRequest& request, ColorChooser& colors,
                       MessageBoxes& boxes, QWidget* parent) {
    PalettePanel panel(document, request, colors, boxes, parent);
    return panel.exec() == QDialog::Accepted ? 1 : 0;
}

int PalettePanel::SelectedIndex() const { return grid_->Selected(); }

void PalettePanel::Select(int index) {
    grid_->SetSelected(index);
    ShowEntry(index, false);
}

void PalettePanel::ShowEntry(int index, bool edited) {
    colorText_->setText(QString::fromStdString(EntryText(index, working_[index], edited)));
}

void PalettePanel::Edit(int index) {
    if (!request_.edit) {
        boxes_.Tell(
            "Please click on a color to select;\nfor editing, use 'Edit Palette' in the "
            "corresponding Tool-Window",
            "Palette Editing not possible", MessageIcon::Information);
        return;
    }
    if (index < 0) return;
    Select(index);
    const std::optional<uint32_t> chosen =
        colors_.Choose(PaletteRgb(working_[index]), kChooserTitle);
    if (!chosen) return;
    working_[index] = PaletteEntry{static_cast<int32_t>(*chosen >> 16 & 0xFF),
                                   static_cast<int32_t>(*chosen >> 8 & 0xFF),
                                   static_cast<int32_t>(*chosen & 0xFF)};
    ShowEntry(index, true);
    grid_->update();
}

void PalettePanel::accept() {
    const int index = SelectedIndex();
    if (request_.indexOnly) {
        request_.index = index;
        QDialog::accept();
        return;
    }
    Gif* owner = request_.owner;
    if (!request_.edit) {
        if (owner) {
            Transaction edit(document_, "Transparent Color Change");
            edit.Set(*owner, &Gif::transparentIndex, index);
            // Its transparent pixels show the frames before it.
            edit.Set(*owner, &Gif::hasTransparentPixels, 1);
        } else {
            Transaction edit(document_, "Background Color Change");
            edit.Set(&Animation::backgroundIndex, static_cast<uint8_t>(index));
        }
    } else if (ownerUsesLocal_) {
        Transaction edit(document_, "Palette Change");
        edit.Set(*owner, &Gif::palette, working_);
    } else {
        // The global palette: the panel's own, or the one the frame uses.
        Transaction edit(document_, "Global Palette Change");
        edit.Set(&Animation::globalPalette, working_);
    }
    QDialog::accept();
}

}  // namespace anitrope
