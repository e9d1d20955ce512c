#pragma once

#include <QDialog>

#include "app/message_boxes.h"
#include "app/settings.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSlider;

namespace anitrope {

class HelpViewer;

// The Options dialog ("IDD_OPTIONDLG"): edits the user-facing settings. "&Ok" stores every
// control into the settings, unless the fixed number of preview frames is not a positive
// number, which is reported and leaves the dialog open. "&Cancel" stores nothing; "Reactivate
// all &Warnings" takes effect on the settings at once, whichever way the dialog closes.
// `settings` and `messages` must outlive the dialog.
class OptionsDialog final : public QDialog {
    Q_OBJECT

  public:
    OptionsDialog(Settings& settings, MessageBoxes& messages, QWidget* parent = nullptr,
                  HelpViewer* help = nullptr);

    // The controls, for the shell's tests to set and click without a person.
    QCheckBox* ConfirmDeleteBox() const { return confirmDelete_; }
    QCheckBox* MultiInstanceBox() const { return multiInst_; }
    QCheckBox* KeepTrueColorBox() const { return keepTrueColor_; }
    QCheckBox* PreviewActiveBox() const { return preview_; }
    QRadioButton* CurrentFramesButton() const { return currentFrames_; }
    QRadioButton* FixedFramesButton() const { return fixedFrames_; }
    QLineEdit* FramesEdit() const { return frames_; }
    QSlider* JpegSlider() const { return jpegSlider_; }
    QLabel* JpegNumberLabel() const { return jpegNumber_; }
    QSlider* GifSlider() const { return gifSlider_; }
    QLabel* GifLevelLabel() const { return gifLevel_; }
    QRadioButton* PopularityButton() const { return popularity_; }
    QRadioButton* HighQualityButton() const { return highQuality_; }
    QCheckBox* DitherBox() const { return dither_; }
    QPushButton* ReactivateWarningsButton() const { return reactivate_; }
    QPushButton* OkButton() const { return ok_; }
    QPushButton* CancelButton() const { return cancel_; }
    QPushButton* HelpButton() const { return help_; }

  private:
    void Ok();
    void Help();

    Settings& settings_;
    MessageBoxes& messages_;
    HelpViewer* helpViewer_;
    // What the sliders will store. The GIF mask stays as stored until its slider moves, so
    // that a mask other than the five levels survives an "&Ok" that did not touch it; a JPEG
    // quality above 100 is no quality at all and opens as 100.
    uint32_t pendingJpeg_;
    uint32_t pendingGif_;

    QCheckBox* confirmDelete_;
    QCheckBox* multiInst_;
    QCheckBox* keepTrueColor_;
    QCheckBox* preview_;
    QRadioButton* currentFrames_;
    QRadioButton* fixedFrames_;
    QLineEdit* frames_;
    QSlider* jpegSlider_;
    QLabel* jpegNumber_;
    QSlider* gifSlider_;
    QLabel* gifLevel_;
    QRadioButton* popularity_;
    QRadioButton* highQuality_;
    QCheckBox* dither_;  // enabled only with "High Quality"
    QPushButton* reactivate_;
    QPushButton* ok_;
    QPushButton* cancel_;
    QPushButton* help_;
};

}  // namespace anitrope
