#pragma once

#include <QDialog>

#include "app/export_all_request.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSlider;

namespace anitrope {

class FileChooser;
class MessageBoxes;

// "Export All Images" (DIALOG_EXPORTALL), modal: the name to number, normal or advanced
// naming with its indicator, GIF or JPEG with the compression level. OK checks the name
// (asking whether ".GIF" shall be added, refusing an unusable indicator) and keeps the dialog
// open while it is not right; the request takes what was accepted.
class ExportAllDialog final : public QDialog {
    Q_OBJECT

public:
    ExportAllDialog(ExportAllRequest& request, MessageBoxes& boxes, FileChooser& files,
                    QWidget* parent = nullptr);
    // True for OK.
    static bool Open(ExportAllRequest& request, MessageBoxes& boxes, FileChooser& files,
                     QWidget* parent = nullptr);

    QLineEdit* NameEdit() const { return name_; }                 // 1000
    QPushButton* BrowseButton() const { return browse_; }         // 1001
    QRadioButton* NormalButton() const { return normal_; }        // 1002
    QRadioButton* AdvancedButton() const { return advanced_; }    // 1003
    QRadioButton* GifButton() const { return gif_; }              // 1004
    QRadioButton* JpegButton() const { return jpeg_; }            // 1005
    QLineEdit* IndicatorEdit() const { return indicator_; }       // 1006
    QLabel* IndicatorText() const { return need_; }               // 1007
    QSlider* QualitySlider() const { return quality_; }           // 1011
    QLabel* QualityNumber() const { return qualityNumber_; }      // 1012
    QPushButton* OkButton() const { return ok_; }
    QPushButton* CancelButton() const { return cancel_; }

    void accept() override;

private:
    void Browse();
    void FollowChoices();

    ExportAllRequest& request_;
    MessageBoxes& boxes_;
    FileChooser& files_;
    QLineEdit* name_ = nullptr;
    QPushButton* browse_ = nullptr;
    QRadioButton* normal_ = nullptr;
    QRadioButton* advanced_ = nullptr;
    QLabel* indicatorLabel_ = nullptr;
    QLineEdit* indicator_ = nullptr;
    QLabel* need_ = nullptr;
    QRadioButton* gif_ = nullptr;
    QRadioButton* jpeg_ = nullptr;
    QLabel* qualityLabel_ = nullptr;
    QSlider* quality_ = nullptr;
    QLabel* qualityNumber_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

}  // namespace anitrope
