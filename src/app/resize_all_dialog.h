#pragma once

#include <QDialog>

#include "app/resize_request.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace anitrope {

class MessageBoxes;

// "Resize Image(s)" ("IDD_RESIZEALLDLG"), modal: the screen's size and the new one. With
// "Maintain &Aspect Ratio" typing one new edit sets the other from the screen's ratio.
// "Maintain &Transparency" is offered only when some frame is transparent. OK refuses a size
// no picture may have, keeping the dialog open on the offending edit.
class ResizeAllDialog final : public QDialog {
    Q_OBJECT

  public:
    ResizeAllDialog(ResizeRequest& request, MessageBoxes& boxes, QWidget* parent = nullptr);
    // True for OK, with the request's answers filled in.
    static bool Open(ResizeRequest& request, MessageBoxes& boxes, QWidget* parent = nullptr);

    QLabel* OriginalWidth() const { return originalWidth_; }      // 1000
    QLabel* OriginalHeight() const { return originalHeight_; }    // 1001
    QLineEdit* WidthEdit() const { return width_; }               // 1002
    QLineEdit* HeightEdit() const { return height_; }             // 1003
    QCheckBox* AspectBox() const { return aspect_; }              // 1004
    QCheckBox* TransparencyBox() const { return transparency_; }  // 1005
    QPushButton* OkButton() const { return ok_; }
    QPushButton* CancelButton() const { return cancel_; }

    void accept() override;

  private:
    // The user typed into `typed`: with the ratio kept, `other` follows.
    void Link(const QLineEdit& typed, QLineEdit& other, int32_t from, int32_t to);

    ResizeRequest& request_;
    MessageBoxes& boxes_;
    QLabel* originalWidth_ = nullptr;
    QLabel* originalHeight_ = nullptr;
    QLineEdit* width_ = nullptr;
    QLineEdit* height_ = nullptr;
    QCheckBox* aspect_ = nullptr;
    QCheckBox* transparency_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

}  // namespace anitrope
