#pragma once

#include <QWidget>
#include <functional>
#include <string>

#include "app/window_placement.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace anitrope {

class ColorChooser;
class ColorSwatch;
class Confirmations;
class Document;
struct Gif;
class HelpViewer;
class MessageBoxes;
struct PaletteRequest;
struct Settings;

// What the Parameters window works on and whom it tells. The references must outlive the
// window; the callbacks may be empty.
struct FrameEditing {
    Document& document;
    std::function<Gif*()> currentGif;  // the selected frame, null when none is
    Settings& settings;
    MessageBoxes& boxes;
    ColorChooser& colors;
    Confirmations& confirmations;
    std::function<void()> closed;             // the window was closed; it may be destroyed
    std::function<void()> returnFocus;        // give the focus back to the tree pane
    HelpViewer* help = nullptr;               // pop-up help on the controls
};

// The Parameters tool window ("IDD_PARAMDLG", "Parameters"): modeless, beside the main window,
// showing the animation's global parameters and the current frame's local ones. Every change
// the user makes is an edit of the document (a number typed digit by digit is one). Loading
// the controls (Refresh) changes nothing: only what the user does to a control is an edit,
// never what the window itself writes into it.
//
// While a frame's colour reduction runs, its worker owns its palette and transparency: those
// controls show what the reduction will leave (a local palette, transparency undecided), the
// palette choices are refused with a message, and switching the palette or transparency waits
// for the reduction first.
class ParametersWindow final : public QWidget {
  public:
    explicit ParametersWindow(FrameEditing context, QWidget* parent = nullptr);

    // Reloads every control from the records and the current frame (message 1025). Without
    // an animation the editable controls are disabled and empty. Called while the window's own
    // edit is applied, it leaves the controls as the user set them.
    void Refresh();

    // Moves the window to a remembered placement; an empty one leaves it where it is.
    void ApplyPlacement(const WindowPlacement& placement);
    // The window's normal rectangle as the settings keep it.
    WindowPlacement CurrentPlacement() const;
    // Stores CurrentPlacement() as "Param Placement".
    void RememberPlacement();

    // The controls, by their number, for the shell's tests.
    QLineEdit* ScreenWidthField() const { return screenWidth_; }                 // 1001
    QLineEdit* ScreenHeightField() const { return screenHeight_; }               // 1002
    QCheckBox* UseGlobalDelayBox() const { return useGlobalDelay_; }             // 1005
    QLineEdit* GlobalDelayEdit() const { return globalDelay_; }                  // 1007
    QLineEdit* LoopsEdit() const { return loops_; }                              // 1010
    QCheckBox* InfiniteLoopingBox() const { return infinite_; }                  // 1011
    QCheckBox* UseGlobalPaletteBox() const { return useGlobalPalette_; }         // 1003
    QPushButton* EditGlobalPaletteButton() const { return editGlobalPalette_; }  // 1004
    ColorSwatch* BackgroundSwatch() const { return background_; }                // 1000
    QCheckBox* UseGlobalDisposalBox() const { return useGlobalDisposal_; }       // 1027
    QComboBox* GlobalDisposalList() const { return globalDisposal_; }            // 1026
    QLineEdit* FrameWidthField() const { return frameWidth_; }                   // 1021
    QLineEdit* FrameHeightField() const { return frameHeight_; }                 // 1022
    QLineEdit* XOffsetField() const { return xOffset_; }                         // 1006
    QLineEdit* YOffsetField() const { return yOffset_; }                         // 1012
    QLineEdit* LocalDelayEdit() const { return localDelay_; }                    // 1024
    QCheckBox* InterlacedBox() const { return interlaced_; }                     // 1019
    QCheckBox* UseLocalPaletteBox() const { return useLocalPalette_; }           // 1008
    QPushButton* EditLocalPaletteButton() const { return editLocalPalette_; }    // 1023
    QCheckBox* TransparentBox() const { return transparent_; }                   // 1020
    ColorSwatch* TransparentSwatch() const { return transparentSwatch_; }        // 1013
    QComboBox* LocalDisposalList() const { return localDisposal_; }              // 1025

  protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void BuildControls();
    void Connect();
    void EnableEditable(bool on);
    void ClearValues();
    void LoadFrame(Gif& gif);
    void ShowSwatches();

    void LoopsEdited();
    void InfiniteClicked(bool on);
    void GlobalDelayEdited();
    void LocalDelayEdited();
    void UseGlobalDelayClicked(bool on);
    void UseGlobalPaletteClicked(bool on);
    void UseLocalPaletteClicked(bool on);
    void TransparentClicked(bool on);
    void ChooseTransparent();
    void EditLocalPalette();
    void EditGlobalPalette();
    void ChooseBackground();
    void LocalDisposalChosen(int index);
    void GlobalDisposalChosen(int index);
    void UseGlobalDisposalClicked(bool on);

    // The frame the local controls show, when it is still the current one; otherwise
    // reloads the window and gives null.
    Gif* Frame();
    // The palette panel over this window: 1 for OK.
    int OpenPalette(PaletteRequest& request);
    // False, after the information box under `title`, while the frame's palette is not reduced.
    bool PaletteReady(Gif& gif, const char* title);
    // One edit, during which the window is not reloaded: its controls already show the change.
    template <typename Change>
    void EditQuietly(const char* name, std::string mergeKey, Change&& change);
    // A key that joins one field's edits while the user stays in it.
    std::string TypingKey(const char* field, const void* owner) const;
    void Done();  // after each handled action

    FrameEditing context_;
    Gif* shown_ = nullptr;  // the frame the local controls were loaded from
    bool editing_ = false;  // the window's own edit is being applied
    int typingSession_ = 0;  // raised whenever the user leaves a field

    QLineEdit* screenWidth_;
    QLineEdit* screenHeight_;
    QCheckBox* useGlobalDelay_;
    QLineEdit* globalDelay_;
    QLineEdit* loops_;
    QCheckBox* infinite_;
    QCheckBox* useGlobalPalette_;
    QPushButton* editGlobalPalette_;
    ColorSwatch* background_;
    QCheckBox* useGlobalDisposal_;
    QComboBox* globalDisposal_;
    QLineEdit* frameWidth_;
    QLineEdit* frameHeight_;
    QLineEdit* xOffset_;
    QLineEdit* yOffset_;
    QLineEdit* localDelay_;
    QCheckBox* interlaced_;
    QCheckBox* useLocalPalette_;
    QPushButton* editLocalPalette_;
    QCheckBox* transparent_;
    ColorSwatch* transparentSwatch_;
    QComboBox* localDisposal_;
};

}  // namespace anitrope
