#include "app/load_avi_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "app/message_boxes.h"
#include "app/number_edit.h"

namespace anitrope {

LoadAviDialog::LoadAviDialog(const VideoInfo& info, VideoRange& range, MessageBoxes& boxes,
                             QWidget* parent)
    : QDialog(parent), info_(info), range_(range), boxes_(boxes) {
    setWindowTitle("Load AVI");
    setObjectName("loadAviDialog");
    text_ = new QLabel(QString::fromStdString(VideoContentsText(info)), this);
    text_->setWordWrap(true);
    const auto numbers = [this] {
        auto* edit = new QLineEdit(this);
        edit->setValidator(new QRegularExpressionValidator(QRegularExpression("-?[0-9]{0,10}"), edit));
        return edit;
    };
    count_ = numbers();
    count_->setText(QString::number(info.length));
    first_ = numbers();
    first_->setText(QString::number(info.first));
    all_ = new QCheckBox("&Load all Frames", this);
    all_->setChecked(range.all);
    reverse_ = new QCheckBox("&Reverse Animation", this);
    reverse_->setChecked(range.reverse);
    ok_ = new QPushButton("&Ok", this);
    ok_->setDefault(true);
    cancel_ = new QPushButton("&Cancel", this);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel("Number of Frames", this), 0, 0);
    grid->addWidget(count_, 0, 1);
    grid->addWidget(new QLabel("First Frame Index", this), 1, 0);
    grid->addWidget(first_, 1, 1);
    grid->addWidget(all_, 2, 0, 1, 2);
    grid->addWidget(reverse_, 3, 0, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text_);
    layout->addLayout(grid);
    layout->addLayout(buttons);

    const auto follow = [this] {
        count_->setEnabled(!all_->isChecked());
        first_->setEnabled(!all_->isChecked());
    };
    follow();
    connect(all_, &QCheckBox::toggled, this, follow);
    connect(ok_, &QPushButton::clicked, this, &LoadAviDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &LoadAviDialog::reject);
}

bool LoadAviDialog::Open(const VideoInfo& info, VideoRange& range, MessageBoxes& boxes,
                         QWidget* parent) {
    LoadAviDialog dialog(info, range, boxes, parent);
    return dialog.exec() == QDialog::Accepted;
}

void LoadAviDialog::accept() {
    VideoRange chosen;
    chosen.all = all_->isChecked();
    chosen.reverse = reverse_->isChecked();
    if (!chosen.all) {
        chosen.count = NumberOf(*count_);
        chosen.first = NumberOf(*first_);
        if (const std::optional<std::string> problem = VideoRangeProblem(info_, chosen)) {
            boxes_.Tell(*problem, "Error");
            return;
        }
    }
    range_ = chosen;
    QDialog::accept();
}

LoadAviProgressWindow::LoadAviProgressWindow(QWidget* parent) : QDialog(parent) {
    setWindowTitle("Loading AVI ...");
    setObjectName("loadAviProgress");
    setModal(false);
    text_ = new QLabel(this);
    text_->setMinimumWidth(260);
    auto* cancel = new QPushButton("&Cancel", this);
    connect(cancel, &QPushButton::clicked, this, &LoadAviProgressWindow::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text_);
    layout->addWidget(cancel, 0, Qt::AlignHCenter);
    show();
}

bool LoadAviProgressWindow::Step(int64_t index, int64_t ordinal, int64_t total) {
    text_->setText(QString("Loading Frame %1 [%2 of %3]").arg(index).arg(ordinal).arg(total));
    // Between frames the window answers its "&Cancel".
    QApplication::processEvents();
    return !cancelled_;
}

void LoadAviProgressWindow::reject() {
    cancelled_ = true;
    QDialog::reject();
}

}  // namespace anitrope
