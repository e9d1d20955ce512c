#include "app/options_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QSlider>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

#include "app/context_help.h"
#include "gif/comparison_mask.h"

namespace anitrope {
namespace {

constexpr int kGifFinestLevel = 1;

// Options places a mask that is none of the levels at the finest one (the save dialog uses
// the default level instead).
int OptionsLevelOfMask(uint32_t mask) {
    if (mask == kLosslessMask) return kLosslessLevel;
    auto found = std::find(kComparisonMasks.begin(), kComparisonMasks.end(), mask);
    if (found == kComparisonMasks.end()) return kGifFinestLevel;
    return static_cast<int>(found - kComparisonMasks.begin()) + 1;
}

QCheckBox* CheckBox(const char* text, const char* name, uint32_t value, QWidget* parent) {
    auto* box = new QCheckBox(QString::fromUtf8(text), parent);
    box->setObjectName(QString::fromUtf8(name));
    box->setChecked(value != 0);
    return box;
}

QSlider* Slider(int minimum, int maximum, int tick, const char* name, QWidget* parent) {
    auto* slider = new QSlider(Qt::Horizontal, parent);
    slider->setObjectName(QString::fromUtf8(name));
    slider->setRange(minimum, maximum);
    slider->setTickInterval(tick);
    slider->setTickPosition(QSlider::TicksBelow);
    slider->setPageStep(tick);
    return slider;
}

QPushButton* Button(const char* text, const char* name, QWidget* parent) {
    auto* button = new QPushButton(QString::fromUtf8(text), parent);
    button->setObjectName(QString::fromUtf8(name));
    button->setAutoDefault(false);
    return button;
}

uint32_t Flag(bool on) { return on ? 1u : 0u; }

}  // namespace

OptionsDialog::OptionsDialog(Settings& settings, MessageBoxes& messages, QWidget* parent,
                             HelpViewer* help)
    : QDialog(parent),
      settings_(settings),
      messages_(messages),
      helpViewer_(help),
      pendingJpeg_(static_cast<uint32_t>(JpegQuality(settings))),
      pendingGif_(settings.gifCompression) {
    setObjectName("IDD_OPTIONDLG");
    setWindowTitle("Options");

    confirmDelete_ =
        CheckBox("Confirm image &removal from list", "confirmDelete", settings.confirmDelete, this);
    multiInst_ =
        CheckBox("Allow multiple program &Instances", "multiInst", settings.multiInst, this);
    keepTrueColor_ = CheckBox("Keep Truecolor data for Jpeg export", "keepTrueColorInfo",
                              settings.keepTrueColorInfo, this);
    preview_ = CheckBox("Preview Active", "preview", settings.preview, this);

    currentFrames_ = new QRadioButton("Use current Number of Frames", this);
    currentFrames_->setObjectName("currentFrames");
    fixedFrames_ = new QRadioButton("Always use ", this);
    fixedFrames_->setObjectName("fixedFrames");
    (settings.fixedPreviewFrames != 0 ? fixedFrames_ : currentFrames_)->setChecked(true);
    frames_ = new QLineEdit(QString::number(settings.previewFrames), this);
    frames_->setObjectName("previewFrames");
    // Digits only: a sign or a letter is refused while typing; what is left to check on
    // "&Ok" is an empty or zero number, or one too large for the setting.
    frames_->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), frames_));
    auto* framesLabel = new QLabel("Frames", this);
    framesLabel->setObjectName("framesLabel");

    jpegSlider_ = Slider(0, kMaxJpegQuality, 10, "jpegCompression", this);
    jpegSlider_->setValue(static_cast<int>(pendingJpeg_));
    jpegNumber_ = new QLabel(QString::number(pendingJpeg_), this);
    jpegNumber_->setObjectName("jpegCompressionNumber");

    gifSlider_ = Slider(kLosslessLevel, static_cast<int>(kComparisonMasks.size()), 1, "gifCompression", this);
    gifSlider_->setValue(OptionsLevelOfMask(pendingGif_));
    gifLevel_ = new QLabel(GifCompressionLevelName(gifSlider_->value()), this);
    gifLevel_->setObjectName("gifCompressionName");

    popularity_ = new QRadioButton("Popularity", this);
    popularity_->setObjectName("popularity");
    highQuality_ = new QRadioButton("High Quality", this);
    highQuality_->setObjectName("highQuality");
    // A group of their own: otherwise they would share one choice with the preview buttons.
    auto* reductionChoice = new QButtonGroup(this);
    reductionChoice->addButton(popularity_);
    reductionChoice->addButton(highQuality_);
    const bool high = ReductionOptionsOf(settings).method == ReductionMethod::HighQuality;
    (high ? highQuality_ : popularity_)->setChecked(true);
    dither_ = CheckBox("Dither", "dither", settings.dither, this);
    dither_->setEnabled(high);
    connect(highQuality_, &QRadioButton::toggled, dither_, &QCheckBox::setEnabled);

    reactivate_ = Button("Reactivate all &Warnings", "reactivateWarnings", this);
    ok_ = Button("&Ok", "ok", this);
    ok_->setDefault(true);
    cancel_ = Button("&Cancel", "cancel", this);
    help_ = Button("&Help", "help", this);

    // The sliders' signals are connected only now, so that placing them above leaves the
    // pending values as stored.
    connect(jpegSlider_, &QSlider::valueChanged, this, [this](int value) {
        pendingJpeg_ = static_cast<uint32_t>(value);
        jpegNumber_->setText(QString::number(value));
    });
    connect(gifSlider_, &QSlider::valueChanged, this, [this](int position) {
        pendingGif_ = ComparisonMaskForLevel(position);
        gifLevel_->setText(GifCompressionLevelName(position));
    });
    connect(reactivate_, &QPushButton::clicked, this, [this] { settings_.ReactivateWarnings(); });
    connect(ok_, &QPushButton::clicked, this, &OptionsDialog::Ok);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    connect(help_, &QPushButton::clicked, this, &OptionsDialog::Help);

    const std::pair<QWidget*, int> ids[] = {
        {confirmDelete_, 1000}, {currentFrames_, 1001}, {fixedFrames_, 1002}, {framesLabel, 1002},
        {jpegSlider_, 1004},    {jpegNumber_, 1005},    {gifSlider_, 1007},   {gifLevel_, 1008},
        {reactivate_, 1020},    {frames_, 1024},        {preview_, 1042}};
    for (const auto& [control, id] : ids) SetHelpId(control, id);
    InstallContextHelp(this, HelpForm::Options, helpViewer_);

    auto* framesRow = new QHBoxLayout;
    framesRow->addWidget(fixedFrames_);
    framesRow->addWidget(frames_);
    framesRow->addWidget(framesLabel);
    framesRow->addStretch();
    auto* previewColumn = new QVBoxLayout;
    previewColumn->addWidget(preview_);
    previewColumn->addWidget(currentFrames_);
    previewColumn->addLayout(framesRow);

    auto* jpegGroup = new QGroupBox("Jpeg", this);
    auto* jpegRow = new QHBoxLayout(jpegGroup);
    jpegRow->addWidget(jpegSlider_, 1);
    jpegRow->addWidget(jpegNumber_);

    // Position 1 is the finest mask, so quality is at the slider's left end.
    auto* gifGroup = new QGroupBox("Gif Optimization", this);
    auto* gifColumn = new QVBoxLayout(gifGroup);
    auto* gifRow = new QHBoxLayout;
    gifRow->addWidget(new QLabel("Quality", gifGroup));
    gifRow->addWidget(gifSlider_, 1);
    gifRow->addWidget(new QLabel("Size", gifGroup));
    gifColumn->addLayout(gifRow);
    gifColumn->addWidget(gifLevel_, 0, Qt::AlignHCenter);

    auto* reductionGroup = new QGroupBox("Color Reduction", this);
    auto* reductionRow = new QHBoxLayout(reductionGroup);
    reductionRow->addWidget(popularity_);
    reductionRow->addWidget(highQuality_);
    reductionRow->addWidget(dither_);
    reductionRow->addStretch();

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    buttons->addWidget(help_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(confirmDelete_);
    layout->addWidget(multiInst_);
    layout->addWidget(keepTrueColor_);
    layout->addLayout(previewColumn);
    layout->addWidget(jpegGroup);
    layout->addWidget(gifGroup);
    layout->addWidget(reductionGroup);
    layout->addWidget(reactivate_, 0, Qt::AlignLeft);
    layout->addLayout(buttons);
}

void OptionsDialog::Ok() {
    bool isNumber = false;
    const uint32_t frames = frames_->text().trimmed().toUInt(&isNumber);
    const bool framesValid = isNumber && frames > 0;
    if (fixedFrames_->isChecked() && !framesValid) {
        messages_.Tell("Number of Frames must be larger than Zero", "Invalid Option Parameter",
                       MessageIcon::Warning);
        frames_->setFocus();
        frames_->selectAll();
        return;
    }
    settings_.confirmDelete = Flag(confirmDelete_->isChecked());
    settings_.multiInst = Flag(multiInst_->isChecked());
    settings_.keepTrueColorInfo = Flag(keepTrueColor_->isChecked());
    settings_.preview = Flag(preview_->isChecked());
    settings_.fixedPreviewFrames = Flag(fixedFrames_->isChecked());
    // With the current number of frames in use the edit is not checked, and a number that is
    // not usable leaves the last good one for the next time the fixed number is chosen.
    if (framesValid) settings_.previewFrames = frames;
    settings_.jpegCompression = pendingJpeg_;
    settings_.gifCompression = pendingGif_;
    settings_.colorReduction = static_cast<uint32_t>(highQuality_->isChecked()
                                                         ? ReductionMethod::HighQuality
                                                         : ReductionMethod::Popularity);
    settings_.dither = Flag(dither_->isChecked());
    accept();
}

void OptionsDialog::Help() {
    OpenHelpPage(helpViewer_, kOptionsDialogHelp, messages_, "Can't activate Help on OptionsDialog");
}

}  // namespace anitrope
