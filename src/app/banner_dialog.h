#pragma once

#include <QDialog>
#include <QImage>
#include <QTimer>
#include <array>
#include <optional>

#include "banner/banner_settings.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QSlider;

namespace anitrope {

class ColorChooser;
class FontChooser;
class HelpViewer;
class MessageBoxes;
class TextDrawer;

// What the banner dialog works with besides the settings and the request.
struct BannerDialogContext {
    MessageBoxes& boxes;
    ColorChooser& colors;
    FontChooser& fonts;
    TextDrawer& drawer;
    // The open animation's screen, which the banner takes its size from; none without one.
    std::optional<std::array<int32_t, 2>> screen;
    HelpViewer* help = nullptr;
};

class BannerPreview;

// "Banner" (template 999), modal: the text, its font and colours, the soft shadow, a border
// and the frames' count and size, with a static preview of one frame. Every change goes into
// the settings at once (they are the program run's); Cancel and the close box put back what
// they were at opening. OK completes the request.
class BannerDialog final : public QDialog {
    Q_OBJECT

public:
    // The edits, by the ids their help topics know them by.
    enum Edit {
        TextYOffset,
        ShadowXOffset,
        ShadowYOffset,
        ShadowThickness,
        FrameCount,
        ImageWidth,
        ImageHeight,
        kEdits
    };

    BannerDialog(BannerDialogContext context, BannerSettings& settings, BannerRequest& request,
                 QWidget* parent = nullptr);
    ~BannerDialog() override;

    // Shows the dialog modally; 1 once it was shown, whatever the user chose (request.accepted
    // tells OK).
    static int Open(BannerDialogContext context, BannerSettings& settings, BannerRequest& request,
                    QWidget* parent = nullptr);

    // Timer 1: 400 ms after the last edit the preview is painted again. Tests call it rather
    // than wait.
    void EditsSettled();
    bool RepaintPending() const { return repaint_.isActive(); }
    // The preview as last painted, and how often it was.
    QImage PreviewImage() const;
    int PreviewPaints() const;

    QLineEdit* TextEdit() const { return text_; }                      // 1018
    QLineEdit* NumberEdit(Edit edit) const { return edits_[edit]; }     // 1022-1024, 1026, 1028, 1030, 1033
    QSlider* IntensityBar() const { return intensity_; }               // 1025
    QCheckBox* ShadowBox() const { return shadow_; }                   // 1021
    QCheckBox* BorderBox() const { return border_; }                   // 1032
    QPushButton* FontButton() const { return font_; }                  // 1031
    QPushButton* UpdateButton() const { return update_; }              // 1027
    QPushButton* TextColorButton() const { return textColor_; }        // 1019
    QPushButton* BackgroundButton() const { return background_; }      // 1020
    QPushButton* ShadowColorButton() const { return shadowColor_; }    // 1034
    QWidget* PreviewWidget() const;                                    // 1029
    QPushButton* OkButton() const { return ok_; }
    QPushButton* CancelButton() const { return cancel_; }
    QPushButton* HelpButton() const { return help_; }

    void accept() override;
    void reject() override;

private:
    void BuildControls();
    void FillControls();
    void EnableShadowControls();
    void EditChanged(Edit edit);
    void ChooseColor(uint32_t& color);
    void ChooseFont();
    void Repaint();

    BannerDialogContext context_;
    BannerSettings& settings_;
    BannerRequest& request_;
    BannerSettings opening_;  // put back on Cancel
    QTimer repaint_;          // timer 1

    QLineEdit* text_ = nullptr;
    std::array<QLineEdit*, kEdits> edits_{};
    QSlider* intensity_ = nullptr;
    QCheckBox* shadow_ = nullptr;
    QCheckBox* border_ = nullptr;
    QPushButton* font_ = nullptr;
    QPushButton* update_ = nullptr;
    QPushButton* textColor_ = nullptr;
    QPushButton* background_ = nullptr;
    QPushButton* shadowColor_ = nullptr;
    BannerPreview* preview_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QPushButton* help_ = nullptr;
};

// The preview's picture of one frame, `width` x `height` pixels of window: light grey, the
// banner's rectangle centred in it (sunken edge, background) and the text, or the word
// "Banner" without one, centred in that with the dialog's shadow (style 3, at most 20 thick).
std::unique_ptr<TrueColorBitmap> PaintBannerPreview(const BannerSettings& settings,
                                                    TextDrawer& drawer, int32_t width,
                                                    int32_t height);

}  // namespace anitrope
