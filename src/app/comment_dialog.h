#pragma once

#include <QDialog>
#include <string>

class QPlainTextEdit;
class QPushButton;

namespace anitrope {

class HelpViewer;

// "Comments" (IDD_COMMENTDLG), modal: one multi-line text, shown for editing or empty (and
// focused) for adding. OK takes at most kMaxCommentCharacters characters of it.
class CommentDialog final : public QDialog {
    Q_OBJECT

public:
    static constexpr int kMaxCommentCharacters = 5000;

    CommentDialog(std::string& text, QWidget* parent = nullptr, HelpViewer* help = nullptr);
    // True for OK, with `text` as accepted.
    static bool Open(std::string& text, QWidget* parent = nullptr, HelpViewer* help = nullptr);

    QPlainTextEdit* TextEdit() const { return edit_; }  // 1000
    QPushButton* OkButton() const { return ok_; }
    QPushButton* CancelButton() const { return cancel_; }

    void accept() override;

private:
    std::string& text_;
    QPlainTextEdit* edit_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

}  // namespace anitrope
