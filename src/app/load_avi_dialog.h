#pragma once

#include <QDialog>

#include "app/video_load_progress.h"
#include "formats/video_import.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace anitrope {

class MessageBoxes;

// "Load AVI" (1201), modal: how many frames from which index, all of them, forwards or
// backwards. OK checks the range against the stream and keeps the dialog open with the
// reason when it does not fit.
class LoadAviDialog final : public QDialog {
    Q_OBJECT

public:
    // `range` comes with the remembered "all" and "reverse" choices and leaves with the
    // user's (count and first are 0 when loading all).
    LoadAviDialog(const VideoInfo& info, VideoRange& range, MessageBoxes& boxes,
                  QWidget* parent = nullptr);
    // True for OK.
    static bool Open(const VideoInfo& info, VideoRange& range, MessageBoxes& boxes,
                     QWidget* parent = nullptr);

    QLabel* Text() const { return text_; }               // 1000
    QLineEdit* CountEdit() const { return count_; }      // 1001
    QLineEdit* FirstEdit() const { return first_; }      // 1002
    QCheckBox* AllBox() const { return all_; }           // 1003
    QCheckBox* ReverseBox() const { return reverse_; }   // 1004
    QPushButton* OkButton() const { return ok_; }
    QPushButton* CancelButton() const { return cancel_; }

    void accept() override;

private:
    const VideoInfo& info_;
    VideoRange& range_;
    MessageBoxes& boxes_;
    QLabel* text_ = nullptr;
    QLineEdit* count_ = nullptr;
    QLineEdit* first_ = nullptr;
    QCheckBox* all_ = nullptr;
    QCheckBox* reverse_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

// "Loading AVI ..." (1202), modeless: the frame being read, and "&Cancel".
class LoadAviProgressWindow final : public QDialog, public VideoLoadProgress {
    Q_OBJECT

public:
    explicit LoadAviProgressWindow(QWidget* parent = nullptr);
    bool Step(int64_t index, int64_t ordinal, int64_t total) override;
    bool Cancelled() const { return cancelled_; }
    QLabel* Text() const { return text_; }  // 1004

    void reject() override;

private:
    QLabel* text_ = nullptr;
    bool cancelled_ = false;
};

}  // namespace anitrope
