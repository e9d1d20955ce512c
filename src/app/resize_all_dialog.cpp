#include "app/resize_all_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <string>

#include "app/message_boxes.h"
#include "app/number_edit.h"
#include "model/picture_limits.h"

namespace anitrope {

ResizeAllDialog::ResizeAllDialog(ResizeRequest& request, MessageBoxes& boxes, QWidget* parent)
    : QDialog(parent), request_(request), boxes_(boxes) {
    setWindowTitle("Resize Image(s)");
    setObjectName("resizeAllDialog");
    originalWidth_ = new QLabel(QString::number(request.screenWidth), this);
    originalHeight_ = new QLabel(QString::number(request.screenHeight), this);
    const auto numbers = [this](int32_t value) {
        auto* edit = new QLineEdit(QString::number(value), this);
        // Any count of digits the user may mistype; OK says what fits.
        edit->setValidator(
            new QRegularExpressionValidator(QRegularExpression("-?[0-9]{0,9}"), edit));
        return edit;
    };
    width_ = numbers(request.screenWidth);
    height_ = numbers(request.screenHeight);
    aspect_ = new QCheckBox("Maintain &Aspect Ratio", this);
    aspect_->setChecked(true);
    transparency_ = new QCheckBox("Maintain &Transparency", this);
    transparency_->setEnabled(request.anyTransparent);
    transparency_->setChecked(request.anyTransparent);
    ok_ = new QPushButton("&Ok", this);
    ok_->setDefault(true);
    cancel_ = new QPushButton("&Cancel", this);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel("Original Image(s)", this), 0, 1);
    grid->addWidget(new QLabel("New Image(s)", this), 0, 2);
    grid->addWidget(new QLabel("Width", this), 1, 0);
    grid->addWidget(originalWidth_, 1, 1);
    grid->addWidget(width_, 1, 2);
    grid->addWidget(new QLabel("Height", this), 2, 0);
    grid->addWidget(originalHeight_, 2, 1);
    grid->addWidget(height_, 2, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(aspect_);
    layout->addWidget(transparency_);
    layout->addLayout(buttons);

    // Typed text only: the linked edit's own change must not bounce back.
    connect(width_, &QLineEdit::textEdited, this,
            [this] { Link(*width_, *height_, request_.screenWidth, request_.screenHeight); });
    connect(height_, &QLineEdit::textEdited, this,
            [this] { Link(*height_, *width_, request_.screenHeight, request_.screenWidth); });
    connect(ok_, &QPushButton::clicked, this, &ResizeAllDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &ResizeAllDialog::reject);
}

bool ResizeAllDialog::Open(ResizeRequest& request, MessageBoxes& boxes, QWidget* parent) {
    ResizeAllDialog dialog(request, boxes, parent);
    return dialog.exec() == QDialog::Accepted;
}

void ResizeAllDialog::Link(const QLineEdit& typed, QLineEdit& other, int32_t from, int32_t to) {
    if (!aspect_->isChecked() || from <= 0) return;
    // Rounded to the nearest pixel, and never below one while the typed size is positive.
    const int64_t value = NumberOf(typed);
    const double scaled = std::round(static_cast<double>(value) * to / from);
    const int64_t linked = value > 0 ? std::max<int64_t>(1, static_cast<int64_t>(scaled)) : 0;
    other.setText(QString::number(linked));
}

void ResizeAllDialog::accept() {
    const int64_t width = NumberOf(*width_), height = NumberOf(*height_);
    QLineEdit* wrong = nullptr;
    if (width < 1 || width > kMaxPictureDimension) {
        wrong = width_;
    } else if (height < 1 || height > kMaxPictureDimension || !PictureSizeAllowed(width, height)) {
        wrong = height_;
    }
    if (wrong) {
        boxes_.Tell("Width and height must lie between 1 and " +
                        std::to_string(kMaxPictureDimension) +
                        " pixels, and the picture may hold at most " +
                        std::to_string(kMaxPicturePixels) + " pixels.",
                    "Parameter out of Range", MessageIcon::Warning);
        wrong->setFocus();
        wrong->selectAll();
        return;
    }
    request_.width = static_cast<int32_t>(width);
    request_.height = static_cast<int32_t>(height);
    request_.keepTransparency = transparency_->isEnabled() && transparency_->isChecked();
    QDialog::accept();
}

}  // namespace anitrope
