#include "app/confirmation_dialog.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace anitrope {
namespace {

constexpr int kIconSize = 32;

QPushButton* Button(const char* text, const char* name, QWidget* parent) {
    auto* button = new QPushButton(QString::fromUtf8(text), parent);
    button->setObjectName(QString::fromUtf8(name));
    button->setAutoDefault(false);
    return button;
}

}  // namespace

ConfirmationDialog::ConfirmationDialog(const std::string& text, QWidget* parent) : QDialog(parent) {
    setObjectName("confirmation");
    setWindowTitle("Warning");

    icon_ = new QLabel(this);
    icon_->setObjectName("warningIcon");
    icon_->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(kIconSize));
    message_ = new QLabel(QString::fromStdString(text), this);
    message_->setObjectName("message");
    message_->setWordWrap(true);
    dontShow_ = new QCheckBox("Don't &Show this message again", this);
    dontShow_->setObjectName("dontShowAgain");
    ok_ = Button("&Ok", "ok", this);
    ok_->setDefault(true);
    cancel_ = Button("&Cancel", "cancel", this);

    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

    auto* messageRow = new QHBoxLayout;
    messageRow->addWidget(icon_, 0, Qt::AlignTop);
    messageRow->addWidget(message_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(messageRow);
    layout->addWidget(dontShow_);
    layout->addLayout(buttons);
}

ConfirmationAnswer ConfirmationDialog::Answer() const {
    const bool proceed = result() == QDialog::Accepted;
    return {proceed, dontShow_->isChecked()};
}

ConfirmationAnswer QtConfirmations::Ask(const std::string& text) {
    ConfirmationDialog dialog(text, parent_);
    dialog.exec();
    return dialog.Answer();
}

}  // namespace anitrope
