#include "app/export_all_dialog.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>

#include "app/file_chooser.h"
#include "app/message_boxes.h"
#include "gif/export_names.h"

namespace anitrope {

ExportAllDialog::ExportAllDialog(ExportAllRequest& request, MessageBoxes& boxes, FileChooser& files,
                                 QWidget* parent)
    : QDialog(parent), request_(request), boxes_(boxes), files_(files) {
    setWindowTitle("Export All Images");
    setObjectName("exportAllDialog");
    name_ = new QLineEdit(QString::fromStdString(request.name), this);
    name_->setMaxLength(kMaxExportName);
    browse_ = new QPushButton("&Browse", this);

    auto* naming = new QGroupBox("Naming", this);
    normal_ = new QRadioButton("&Normal", naming);
    advanced_ = new QRadioButton("&Advanced", naming);
    (request.advanced ? advanced_ : normal_)->setChecked(true);
    indicatorLabel_ = new QLabel("Indicator", naming);
    indicator_ = new QLineEdit(QString::fromStdString(request.indicator), naming);
    need_ = new QLabel(naming);
    auto* namingGrid = new QGridLayout(naming);
    namingGrid->addWidget(normal_, 0, 0);
    namingGrid->addWidget(new QLabel("( Digits at end of Filename )", naming), 0, 1);
    namingGrid->addWidget(advanced_, 1, 0);
    namingGrid->addWidget(new QLabel("( Digits at Indicator Position )", naming), 1, 1);
    namingGrid->addWidget(indicatorLabel_, 2, 0);
    namingGrid->addWidget(indicator_, 2, 1);
    namingGrid->addWidget(need_, 3, 0, 1, 2);

    auto* format = new QGroupBox("Format", this);
    gif_ = new QRadioButton("Gif", format);
    jpeg_ = new QRadioButton("Jpeg", format);
    (request.jpeg ? jpeg_ : gif_)->setChecked(true);
    qualityLabel_ = new QLabel("Compression Level", format);
    quality_ = new QSlider(Qt::Horizontal, format);
    quality_->setRange(0, 100);
    quality_->setTickInterval(10);
    quality_->setTickPosition(QSlider::TicksBelow);
    quality_->setValue(request.quality);
    qualityNumber_ = new QLabel(QString::number(request.quality), format);
    auto* formatGrid = new QGridLayout(format);
    formatGrid->addWidget(gif_, 0, 0);
    formatGrid->addWidget(jpeg_, 0, 1);
    formatGrid->addWidget(qualityLabel_, 1, 0);
    formatGrid->addWidget(quality_, 1, 1);
    formatGrid->addWidget(qualityNumber_, 1, 2);

    ok_ = new QPushButton("&Ok", this);
    ok_->setDefault(true);
    cancel_ = new QPushButton("&Cancel", this);
    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(name_);
    nameRow->addWidget(browse_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(nameRow);
    layout->addWidget(naming);
    layout->addWidget(format);
    layout->addLayout(buttons);

    FollowChoices();
    for (QRadioButton* choice : {normal_, advanced_, gif_, jpeg_})
        connect(choice, &QRadioButton::toggled, this, &ExportAllDialog::FollowChoices);
    connect(quality_, &QSlider::valueChanged, this,
            [this](int value) { qualityNumber_->setText(QString::number(value)); });
    connect(browse_, &QPushButton::clicked, this, &ExportAllDialog::Browse);
    connect(ok_, &QPushButton::clicked, this, &ExportAllDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &ExportAllDialog::reject);
}

bool ExportAllDialog::Open(ExportAllRequest& request, MessageBoxes& boxes, FileChooser& files,
                           QWidget* parent) {
    ExportAllDialog dialog(request, boxes, files, parent);
    return dialog.exec() == QDialog::Accepted;
}

void ExportAllDialog::FollowChoices() {
    const bool advanced = advanced_->isChecked();
    const int d = request_.digits;
    need_->setText(advanced ? QString("Need %1 Indicator%2 in Name").arg(d).arg(d > 1 ? "s" : "")
                            : QString("No Indicator needed"));
    indicatorLabel_->setEnabled(advanced);
    indicator_->setEnabled(advanced);
    const bool jpeg = jpeg_->isChecked();
    for (QWidget* control :
         std::initializer_list<QWidget*>{qualityLabel_, quality_, qualityNumber_})
        control->setEnabled(jpeg);
}

void ExportAllDialog::Browse() {
    FileDialogRequest request;
    request.title = "Select Filename to Export All Images";
    request.filters = {{"Gif Image(*.gif)", {"*.gif"}}};
    request.proposedName = name_->text().toStdString();
    if (const std::optional<FileChoice> choice = files_.ChooseToSave(request))
        name_->setText(QString::fromStdString(choice->path));
}

void ExportAllDialog::accept() {
    std::string name = name_->text().toStdString();
    if (name.empty()) return;
    if (!HasGifExtension(name)) {
        const int answer =
            boxes_.Show({"Shall '.GIF' be added ?'", "Filename doesn't include extension",
                         MessageIcon::Question, kYesNoCancelButtons});
        if (answer != 0 && answer != 1) return;
        if (answer == 0) {
            name += ".GIF";
            name_->setText(QString::fromStdString(name));  // asked once, also when a check fails
        }
    }
    const bool advanced = advanced_->isChecked();
    const std::string indicator = indicator_->text().toStdString();
    if (advanced) {
        const IndicatorCheck check = CheckIndicator(name, indicator, request_.digits);
        if (check.status != IndicatorStatus::Ok) {
            boxes_.Tell(IndicatorMessage(check, request_.digits), kIndicatorProblemTitle,
                        MessageIcon::Warning);
            return;
        }
    }
    request_.name = name;
    request_.advanced = advanced;
    request_.indicator = indicator;
    request_.jpeg = jpeg_->isChecked();
    request_.quality = quality_->value();
    QDialog::accept();
}

}  // namespace anitrope
