#include "app/comment_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/context_help.h"

namespace anitrope {

CommentDialog::CommentDialog(std::string& text, QWidget* parent, HelpViewer* help)
    : QDialog(parent), text_(text) {
    setWindowTitle("Comments");
    setObjectName("commentDialog");
    edit_ = new QPlainTextEdit(QString::fromStdString(text), this);
    // Enter starts a new line of the comment rather than pressing OK.
    edit_->setTabChangesFocus(true);
    ok_ = new QPushButton("&Ok", this);
    ok_->setAutoDefault(false);
    cancel_ = new QPushButton("&Cancel", this);
    cancel_->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel("Enter your Comments in the field below", this));
    layout->addWidget(edit_);
    layout->addLayout(buttons);
    edit_->setFocus();
    connect(ok_, &QPushButton::clicked, this, &CommentDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &CommentDialog::reject);
    SetHelpId(edit_, 1000);
    InstallContextHelp(this, HelpForm::Comment, help);
}

bool CommentDialog::Open(std::string& text, QWidget* parent, HelpViewer* help) {
    CommentDialog dialog(text, parent, help);
    return dialog.exec() == QDialog::Accepted;
}

void CommentDialog::accept() {
    text_ = edit_->toPlainText().left(kMaxCommentCharacters).toStdString();
    QDialog::accept();
}

}  // namespace anitrope
