#include "app/banner_dialog.h"
#include "app/bitmap_image.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSlider>
#include <algorithm>
#include <string>

#include "app/color_chooser.h"
#include "app/context_help.h"
#include "app/font_chooser.h"
#include "app/message_boxes.h"
#include "app/number_edit.h"
#include "banner/banner_generator.h"
#include "banner/shadowed_text.h"

namespace anitrope {
namespace {

constexpr int kRepaintMs = 400;
constexpr uint32_t kLightGrey = 0xC0C0C0;
// The preview draws no thicker shadow than the dialog accepts.
constexpr int32_t kPreviewMaxThickness = 20;

struct EditField {
    const char* label;
    int32_t BannerSettings::*field;
    bool repaints;  // the frame count shows in no frame
};

constexpr std::array<EditField, BannerDialog::kEdits> kEditFields{{
    {"Text Y Offset", &BannerSettings::textYOffset, true},
    {"Shadow X Offset", &BannerSettings::shadowXOffset, true},
    {"Shadow Y Offset", &BannerSettings::shadowYOffset, true},
    {"Shadow Thickness", &BannerSettings::shadowThickness, true},
    {"Nr. of Frames", &BannerSettings::frameCount, false},
    {"Image Width", &BannerSettings::imageWidth, true},
    {"Image Height", &BannerSettings::imageHeight, true},
}};

void InformUser(MessageBoxes& boxes, const std::string& text) {
    boxes.Show({text.substr(0, 1000), "Information", MessageIcon::Warning, kOkButton});
}

}  // namespace

// The preview window ("Banner Preview Class"): paints the settings as they are now, whenever
// the dialog asks or the window is exposed.
class BannerPreview final : public QWidget {
public:
    BannerPreview(const BannerSettings& settings, TextDrawer& drawer, QWidget* parent)
        : QWidget(parent), settings_(settings), drawer_(drawer) {
        setObjectName("bannerPreview");
        setMinimumSize(300, 120);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

    // Paints the settings as they are now; the window shows it at its next paint.
    void Render() {
        const std::unique_ptr<TrueColorBitmap> bitmap =
            PaintBannerPreview(settings_, drawer_, width(), height());
        if (!bitmap) return;
        last = OpaqueImage(*bitmap);
        ++paints;
        update();
    }

    QImage last;
    int paints = 0;

protected:
    void paintEvent(QPaintEvent*) override {
        if (last.size() != size()) Render();  // exposed at another size
        QPainter(this).drawImage(0, 0, last);
    }

private:
    const BannerSettings& settings_;
    TextDrawer& drawer_;
};

std::unique_ptr<TrueColorBitmap> PaintBannerPreview(const BannerSettings& settings,
                                                    TextDrawer& drawer, int32_t width,
                                                    int32_t height) {
    auto bitmap = std::make_unique<TrueColorBitmap>(width, height);
    if (width <= 0 || height <= 0 || !bitmap->HasRows()) return nullptr;
    FillPixels(*bitmap, {0, 0, width, height}, kLightGrey);
    const int32_t bannerWidth = std::clamp(settings.imageWidth, 0, 1 << 20);
    const int32_t bannerHeight = std::clamp(settings.imageHeight, 0, 1 << 20);
    const int32_t left = (width - bannerWidth) / 2;
    const int32_t top = (height - bannerHeight) / 2;
    PixelRect rect{left, top, left + bannerWidth, top + bannerHeight};
    if (settings.drawBorder) rect = DrawSunkenEdge(*bitmap, rect);
    FillPixels(*bitmap, rect, settings.backgroundColor);
    const PixelRect clip{std::max(rect.left, 0), std::max(rect.top, 0),
                         std::min(rect.right, width), std::min(rect.bottom, height)};
    if (clip.Width() <= 0 || clip.Height() <= 0) return bitmap;

    const std::string text = settings.text.empty() ? std::string("Banner") : settings.text;
    const TextExtent extent = drawer.Measure(settings.font, text);
    const int32_t x = std::max({rect.left + (rect.Width() - extent.width) / 2, 0, rect.left});
    const int32_t y = settings.textYOffset + rect.top + (rect.Height() - extent.height) / 2;
    SoftShadow shadow;
    shadow.dx = settings.shadowXOffset;
    shadow.dy = settings.shadowYOffset;
    shadow.intensity = settings.shadowEnabled ? settings.shadowIntensity : 0;
    shadow.thickness = settings.shadowEnabled && shadow.intensity > 0
                           ? std::min(settings.shadowThickness, kPreviewMaxThickness)
                           : 0;
    shadow.style = kBannerShadowStyle;
    TextCanvas canvas{&drawer, bitmap.get(), clip, settings.font};
    DrawShadowedText(canvas, text, x, y, shadow, settings.textColor, settings.backgroundColor,
                     settings.shadowColor);
    return bitmap;
}

BannerDialog::BannerDialog(BannerDialogContext context, BannerSettings& settings,
                           BannerRequest& request, QWidget* parent)
    : QDialog(parent),
      context_(std::move(context)),
      settings_(settings),
      request_(request),
      opening_(settings) {
    setWindowTitle("Banner");
    setObjectName("bannerDialog");
    repaint_.setSingleShot(true);
    repaint_.setInterval(kRepaintMs);
    connect(&repaint_, &QTimer::timeout, this, [this] { EditsSettled(); });
    if (context_.screen) {
        settings_.imageWidth = (*context_.screen)[0];
        settings_.imageHeight = (*context_.screen)[1];
    }
    BuildControls();
    FillControls();
}

BannerDialog::~BannerDialog() = default;

int BannerDialog::Open(BannerDialogContext context, BannerSettings& settings,
                       BannerRequest& request, QWidget* parent) {
    request.accepted = false;
    BannerDialog dialog(std::move(context), settings, request, parent);
    dialog.exec();
    return 1;
}

QWidget* BannerDialog::PreviewWidget() const { return preview_; }
QImage BannerDialog::PreviewImage() const { return preview_->last; }
int BannerDialog::PreviewPaints() const { return preview_->paints; }

void BannerDialog::BuildControls() {
    auto numberEdit = [this](Edit edit) {
        auto* line = new QLineEdit(this);
        line->setObjectName(kEditFields[edit].label);
        // Any count of digits the user may mistype; OK's range checks say what fits.
        line->setValidator(new QRegularExpressionValidator(QRegularExpression("-?[0-9]{0,7}"), line));
        line->setMaximumWidth(60);
        edits_[edit] = line;
        return line;
    };
    auto labelled = [this](QGridLayout* grid, int row, Edit edit, QLineEdit* line) {
        grid->addWidget(new QLabel(kEditFields[edit].label, this), row, 0);
        grid->addWidget(line, row, 1);
    };

    auto* previewGroup = new QGroupBox("Preview", this);
    auto* previewGrid = new QGridLayout(previewGroup);
    preview_ = new BannerPreview(settings_, context_.drawer, previewGroup);
    previewGrid->addWidget(preview_, 0, 0, 1, 3);
    previewGrid->addWidget(new QLabel("Text", this), 1, 0);
    text_ = new QLineEdit(this);
    text_->setObjectName("text");
    text_->setMaxLength(static_cast<int>(kMaxBannerTextLength));
    previewGrid->addWidget(text_, 1, 1, 1, 2);
    font_ = new QPushButton("Choose &Font", this);
    update_ = new QPushButton("&U p d a t e   P r e v i e w", this);
    previewGrid->addWidget(font_, 2, 1);
    previewGrid->addWidget(update_, 2, 2);

    auto* extras = new QGroupBox("Extras", this);
    auto* extrasGrid = new QGridLayout(extras);
    shadow_ = new QCheckBox("&Enable Shadow", this);
    extrasGrid->addWidget(shadow_, 0, 0, 1, 2);
    labelled(extrasGrid, 1, ShadowXOffset, numberEdit(ShadowXOffset));
    labelled(extrasGrid, 2, ShadowYOffset, numberEdit(ShadowYOffset));
    labelled(extrasGrid, 3, ShadowThickness, numberEdit(ShadowThickness));
    extrasGrid->addWidget(new QLabel("Shadow Intensity", this), 4, 0);
    intensity_ = new QSlider(Qt::Horizontal, this);
    intensity_->setRange(0, 100);
    extrasGrid->addWidget(intensity_, 4, 1);
    border_ = new QCheckBox("&Draw Border", this);
    extrasGrid->addWidget(border_, 5, 0, 1, 2);
    labelled(extrasGrid, 6, TextYOffset, numberEdit(TextYOffset));

    auto* animation = new QGroupBox("Animation", this);
    auto* animationGrid = new QGridLayout(animation);
    labelled(animationGrid, 0, FrameCount, numberEdit(FrameCount));
    labelled(animationGrid, 1, ImageWidth, numberEdit(ImageWidth));
    labelled(animationGrid, 2, ImageHeight, numberEdit(ImageHeight));

    auto* colors = new QGroupBox("Color", this);
    auto* colorRow = new QHBoxLayout(colors);
    textColor_ = new QPushButton("&Text", this);
    shadowColor_ = new QPushButton("&Shadow", this);
    background_ = new QPushButton("&Background", this);
    for (QPushButton* button : {textColor_, shadowColor_, background_}) colorRow->addWidget(button);

    ok_ = new QPushButton("&Ok", this);
    ok_->setDefault(true);
    cancel_ = new QPushButton("&Cancel", this);
    help_ = new QPushButton("&Help", this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* button : {ok_, cancel_, help_}) buttons->addWidget(button);

    auto* top = new QGridLayout(this);
    top->addWidget(previewGroup, 0, 0, 1, 2);
    top->addWidget(extras, 1, 0, 2, 1);
    top->addWidget(animation, 1, 1);
    top->addWidget(colors, 2, 1);
    top->addLayout(buttons, 3, 0, 1, 2);

    connect(text_, &QLineEdit::textEdited, this, [this](const QString& text) {
        settings_.text = text.left(static_cast<int>(kMaxBannerTextLength)).toStdString();
        repaint_.start();
    });
    for (int edit = 0; edit < kEdits; ++edit)
        connect(edits_[edit], &QLineEdit::textEdited, this,
                [this, edit] { EditChanged(static_cast<Edit>(edit)); });
    connect(intensity_, &QSlider::valueChanged, this, [this](int value) {
        settings_.shadowIntensity = value;
        repaint_.start();
    });
    connect(shadow_, &QCheckBox::clicked, this, [this](bool on) {
        settings_.shadowEnabled = on ? 1 : 0;
        EnableShadowControls();
        Repaint();
    });
    connect(border_, &QCheckBox::clicked, this, [this](bool on) {
        settings_.drawBorder = on ? 1 : 0;
        Repaint();
    });
    connect(update_, &QPushButton::clicked, this, [this] { Repaint(); });
    connect(textColor_, &QPushButton::clicked, this, [this] { ChooseColor(settings_.textColor); });
    connect(background_, &QPushButton::clicked, this,
            [this] { ChooseColor(settings_.backgroundColor); });
    connect(shadowColor_, &QPushButton::clicked, this,
            [this] { ChooseColor(settings_.shadowColor); });
    connect(font_, &QPushButton::clicked, this, [this] { ChooseFont(); });
    connect(ok_, &QPushButton::clicked, this, &BannerDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &BannerDialog::reject);
    connect(help_, &QPushButton::clicked, this, [this] {
        OpenHelpPage(context_.help, kBannerDialogHelp, context_.boxes,
                     "Can't activate Help on BannerDialog");
    });

    constexpr std::array<int, kEdits> kEditIds{1033, 1022, 1023, 1024, 1026, 1028, 1030};
    for (int edit = 0; edit < kEdits; ++edit) SetHelpId(edits_[edit], kEditIds[edit]);
    const std::pair<QWidget*, int> ids[] = {
        {text_, 1018},    {textColor_, 1019}, {background_, 1020}, {shadow_, 1021},
        {intensity_, 1025}, {update_, 1027}, {PreviewWidget(), 1029}, {font_, 1031},
        {border_, 1032},  {shadowColor_, 1034}};
    for (const auto& [control, id] : ids) SetHelpId(control, id);
    InstallContextHelp(this, HelpForm::Banner, context_.help);
}

void BannerDialog::FillControls() {
    const QSignalBlocker quiet(intensity_);
    text_->setText(QString::fromStdString(settings_.text));
    for (int edit = 0; edit < kEdits; ++edit)
        edits_[edit]->setText(QString::number(settings_.*kEditFields[edit].field));
    intensity_->setValue(std::clamp(settings_.shadowIntensity, 0, 100));
    shadow_->setChecked(settings_.shadowEnabled != 0);
    border_->setChecked(settings_.drawBorder != 0);
    EnableShadowControls();
}

void BannerDialog::EnableShadowControls() {
    const bool on = settings_.shadowEnabled != 0;
    for (Edit edit : {ShadowXOffset, ShadowYOffset, ShadowThickness}) edits_[edit]->setEnabled(on);
    intensity_->setEnabled(on);
}

void BannerDialog::EditChanged(Edit edit) {
    // The edits take at most seven digits.
    settings_.*kEditFields[edit].field = static_cast<int32_t>(NumberOf(*edits_[edit]));
    if (kEditFields[edit].repaints) repaint_.start();
}

void BannerDialog::EditsSettled() {
    repaint_.stop();
    Repaint();
}

void BannerDialog::Repaint() { preview_->Render(); }

void BannerDialog::ChooseColor(uint32_t& color) {
    if (const std::optional<uint32_t> chosen =
            context_.colors.ChooseWithCustom(color, "Color", settings_.customColors)) {
        color = *chosen;
        Repaint();
    }
}

void BannerDialog::ChooseFont() {
    const std::optional<FontChoice> chosen =
        context_.fonts.Choose({settings_.font, settings_.textColor});
    if (!chosen) return;
    settings_.font = chosen->font;
    settings_.font.height = ClampFontHeight(chosen->font.height);
    settings_.textColor = chosen->color & 0xFFFFFF;
    Repaint();
}

void BannerDialog::accept() {
    if (settings_.text.empty() && request_.warnIfEmpty &&
        context_.boxes.Show({"There is no Banner Text.\nContinue anyway ?", "Banner Text",
                             MessageIcon::Question, kYesNoButtons}) != 0)
        return;
    if (const std::optional<BannerRangeFailure> failure = FirstOutOfRange(settings_)) {
        InformUser(context_.boxes, RangeMessage(*failure));
        CorrectToBound(settings_, *failure);
        for (int edit = 0; edit < kEdits; ++edit) {
            if (std::string_view(kEditFields[edit].label) != failure->label) continue;
            edits_[edit]->setText(QString::number(failure->bound));
            edits_[edit]->setFocus();
        }
        return;
    }
    // Within every range the frames may still be more than memory allows: say so while the
    // values can still be changed.
    if (!BannerFits(settings_.imageWidth, settings_.imageHeight, settings_.frameCount)) {
        InformUser(context_.boxes,
                   TooLargeMessage(settings_.imageWidth, settings_.imageHeight, settings_.frameCount));
        edits_[FrameCount]->setFocus();
        return;
    }
    repaint_.stop();
    CopySettings(settings_, request_);
    request_.accepted = true;
    QDialog::accept();
}

void BannerDialog::reject() {
    repaint_.stop();
    settings_ = opening_;
    QDialog::reject();
}

}  // namespace anitrope
