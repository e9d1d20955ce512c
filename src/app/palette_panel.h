#pragma once

#include <QDialog>

#include "model/palette_entry.h"

class QLabel;
class QPushButton;

namespace anitrope {

class ColorChooser;
class Document;
struct Gif;
class MessageBoxes;
class PaletteGrid;

// What the opener asks of the palette panel.
struct PaletteRequest {
    Gif* owner = nullptr;    // the frame whose palette is shown; null for the global palette
    bool edit = false;       // a double click edits an entry
    bool indexOnly = false;  // the chosen index is only returned in `index`, nothing is stored
    int index = 0;           // out: the chosen index of an index-only request
};

// The palette panel ("IDD_COLORDLG", "Choose Color"), modal: a 256-entry palette as a
// 16 x 16 grid, for choosing an index or, in edit mode, changing entries.
//
// It shows a working copy of the palette that applies to the owner (a frame's local palette,
// or the global one it uses). The selection starts at the owner's transparent index, or the
// background index for the global palette. "&Ok" stores (see accept()); "&Cancel" changes
// nothing.
//
// The owner must be IndexedReady: its reduction would replace the palette. `document`,
// `colors` and `boxes` must outlive the panel.
class PalettePanel final : public QDialog {
    Q_OBJECT

  public:
    PalettePanel(Document& document, PaletteRequest& request, ColorChooser& colors,
                 MessageBoxes& boxes, QWidget* parent = nullptr);

    // Shows the panel modally: 1 for OK, 0 for Cancel.
    static int Open(Document& document, PaletteRequest& request, ColorChooser& colors,
                    MessageBoxes& boxes, QWidget* parent = nullptr);

    int SelectedIndex() const;
    const Palette& WorkingPalette() const { return working_; }

    PaletteGrid* Grid() const { return grid_; }
    QLabel* ColorText() const { return colorText_; }  // 3001
    QLabel* HintText() const { return hintText_; }    // 3002
    QPushButton* OkButton() const { return ok_; }
    QPushButton* CancelButton() const { return cancel_; }

    // An index-only request gets the selected index. Otherwise, as one edit of the document,
    // selecting stores it as the frame's transparent index or the background index; editing
    // replaces the palette the copy came from.
    void accept() override;

  private:
    void Select(int index);
    void Edit(int index);
    void ShowEntry(int index, bool edited);

    Document& document_;
    PaletteRequest& request_;
    ColorChooser& colors_;
    MessageBoxes& boxes_;
    Palette working_;
    bool ownerUsesLocal_;

    PaletteGrid* grid_;
    QLabel* colorText_;
    QLabel* hintText_;
    QPushButton* ok_;
    QPushButton* cancel_;
};

}  // namespace anitrope
