#include "app/effect_dialog.h"
#include "app/bitmap_image.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardItemModel>
#include <QVBoxLayout>

#include "app/color_swatch.h"
#include "app/confirmation.h"
#include "app/context_help.h"
#include "app/message_boxes.h"
#include "app/settings.h"
#include "effects/effect_entry.h"
#include "effects/effect_progress.h"
#include "model/animation.h"
#include "model/document.h"
#include "model/gif.h"
#include "model/resize.h"
#include "model/true_color_conversion.h"

namespace anitrope {

// Frames smaller than this are previewed as they are; larger ones from copies scaled down.
constexpr int64_t kPreviewCopyPixels = 10000;
constexpr int kPreviewWidth = 200;
constexpr int kPreviewHeight = 150;

// The preview area (1041): one frame stretched over the whole area.
class EffectPreviewArea final : public QFrame {
public:
    explicit EffectPreviewArea(QWidget* parent) : QFrame(parent) {
        setFrameStyle(QFrame::Panel | QFrame::Sunken);
        setFixedSize(kPreviewWidth + 2 * frameWidth(), kPreviewHeight + 2 * frameWidth());
    }
    QImage picture;  // null: the area is blank

protected:
    void paintEvent(QPaintEvent* event) override {
        QFrame::paintEvent(event);
        if (picture.isNull()) return;
        QPainter painter(this);
        painter.drawImage(contentsRect(), picture);
    }
};

namespace {

constexpr char kTitle[] = "Select Effect/Transition";
constexpr char kNoSecondImage[] = "Select Effect - (Transition not possible -> no second image)";
constexpr char kSizeMismatch[] = "Size of second Image doesn't match";
constexpr char kNotUsed[] = "not used";
constexpr char kInvalidParameter[] = "Invalid Parameter";
constexpr char kLargerThanZero[] = "Number of Frames must be larger than Zero !";

bool SameRect(const Gif& a, const Gif& b) {
    return a.left == b.left && a.top == b.top && a.width == b.width && a.height == b.height;
}

int SlotIndex(int slot, int count) { return slot >= 1 && slot <= count ? slot - 1 : 0; }

QImage PictureOf(const Gif& gif) {
    const auto pixels = TrueColorOf(gif);
    return pixels ? OpaqueImage(*pixels) : QImage();
}

// A copy of the frame at the preview's size, for computing previews quickly.
FrameChain ScaledCopy(const Gif& gif) {
    FrameChain copy(CreateGif(*gif.animation, nullptr, nullptr));
    if (DuplicateGif(gif, copy.get(), false) != 0) return nullptr;
    copy->usesLocalPalette = gif.usesLocalPalette;
    if (!ResizeGif(*copy, kPreviewWidth, kPreviewHeight, false, true)) return nullptr;
    return copy;
}

void GreyUnavailable(QComboBox* list, std::span<const EffectEntry> table) {
    auto* model = qobject_cast<QStandardItemModel*>(list->model());
    for (std::size_t i = 0; i < table.size(); ++i) {
        list->addItem(QString::fromUtf8(table[i].name));
        if (!table[i].Available() && model) model->item(static_cast<int>(i))->setEnabled(false);
    }
}

}  // namespace

EffectDialog::EffectDialog(EffectDialogContext context, EffectParams& params,
                           int32_t& currentColor, QWidget* parent)
    : QDialog(parent), context_(std::move(context)), params_(params), currentColor_(currentColor) {
    setObjectName("IDD_EFFECTDLG");
    setWindowTitle(kTitle);
    debounce_.setSingleShot(true);
    connect(&debounce_, &QTimer::timeout, this, [this] { EditsSettled(); });
    connect(&previewTimer_, &QTimer::timeout, this, [this] { NextPreviewFrame(); });
    BuildControls();
    Initialise();
}

EffectDialog::~EffectDialog() {
    closing_ = true;
    debounce_.stop();
    previewTimer_.stop();
}

int EffectDialog::Open(EffectDialogContext context, EffectParams& params, int32_t& currentColor,
                       QWidget* parent) {
    EffectDialog dialog(std::move(context), params, currentColor, parent);
    return dialog.exec() == QDialog::Accepted ? 1 : 0;
}

void EffectDialog::BuildControls() {
    auto* animation = new QGroupBox("Animation", this);
    auto* animationGrid = new QGridLayout(animation);
    effectRadio_ = new QRadioButton("&Effect", animation);
    transitionRadio_ = new QRadioButton("&Transition", animation);
    effectList_ = new QComboBox(animation);
    transitionList_ = new QComboBox(animation);
    GreyUnavailable(effectList_, EffectTable());
    GreyUnavailable(transitionList_, TransitionTable());
    frameCount_ = new QLineEdit(animation);
    pingPong_ = new QCheckBox("PingPong", animation);
    animationGrid->addWidget(effectRadio_, 0, 0);
    animationGrid->addWidget(effectList_, 0, 1, 1, 3);
    animationGrid->addWidget(transitionRadio_, 1, 0);
    animationGrid->addWidget(transitionList_, 1, 1, 1, 3);
    auto* frameCountLabel = new QLabel("Number of Frames", animation);
    animationGrid->addWidget(frameCountLabel, 2, 0);
    animationGrid->addWidget(frameCount_, 2, 1);
    animationGrid->addWidget(pingPong_, 2, 2, 1, 2);

    auto* parameters = new QGroupBox("Parameters for animation", this);
    auto* grid = new QGridLayout(parameters);
    for (int i = 0; i < 2; ++i) {
        listLabels_[i] = new QLabel(i == 0 ? "Direction" : kNotUsed, parameters);
        lists_[i] = new QComboBox(parameters);
        grid->addWidget(listLabels_[i], i, 0);
        grid->addWidget(lists_[i], i, 1, 1, 3);
    }
    for (int i = 0; i < 5; ++i) {
        valueLabels_[i] = new QLabel(kNotUsed, parameters);
        valueEdits_[i] = new QLineEdit(parameters);
        grid->addWidget(valueLabels_[i], 2 + i, 0);
        grid->addWidget(valueEdits_[i], 2 + i, 1);
    }
    for (int i = 0; i < 4; ++i) {
        checks_[i] = new QCheckBox(kNotUsed, parameters);
        grid->addWidget(checks_[i], 2 + i, 2, 1, 2);
    }
    colorLabel_ = new QLabel("Color", parameters);
    swatch_ = new ColorSwatch(parameters);
    swatch_->SetColor(std::nullopt);
    grid->addWidget(colorLabel_, 6, 2);
    grid->addWidget(swatch_, 6, 3);
    description_ = new QLabel(parameters);
    description_->setWordWrap(true);
    description_->setMinimumHeight(4 * description_->fontMetrics().lineSpacing());
    description_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    grid->addWidget(description_, 7, 0, 1, 4);

    auto* preview = new QGroupBox("Preview", this);
    auto* previewLayout = new QVBoxLayout(preview);
    previewArea_ = new EffectPreviewArea(preview);
    previewBox_ = new QCheckBox("&Preview", preview);
    previewLayout->addWidget(previewArea_, 0, Qt::AlignHCenter);
    previewLayout->addWidget(previewBox_);

    ok_ = new QPushButton("&Ok", this);
    cancel_ = new QPushButton("&Cancel", this);
    help_ = new QPushButton("&Help", this);
    ok_->setDefault(true);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    buttons->addWidget(help_);
    buttons->addStretch();

    auto* top = new QGridLayout(this);
    top->addWidget(animation, 0, 0);
    top->addLayout(buttons, 0, 1, 2, 1);
    top->addWidget(parameters, 1, 0);
    top->addWidget(preview, 0, 2, 2, 1);

    MarkHelpIds(frameCountLabel);
    connect(effectRadio_, &QRadioButton::clicked, this, [this] { SwitchTable(true); });
    connect(transitionRadio_, &QRadioButton::clicked, this, [this] { SwitchTable(false); });
    connect(effectList_, &QComboBox::activated, this, [this](int i) { EntryChosen(true, i); });
    connect(transitionList_, &QComboBox::activated, this, [this](int i) { EntryChosen(false, i); });
    connect(frameCount_, &QLineEdit::textChanged, this, [this] { EditChanged(); });
    for (QLineEdit* edit : valueEdits_)
        connect(edit, &QLineEdit::textChanged, this, [this] { EditChanged(); });
    for (QComboBox* list : lists_) {
        connect(list, &QComboBox::activated, this, [this](int item) {
            if (item < 0) return;
            Setup(SetupMode::ComboChanged);
            RestartPreview();
        });
    }
    for (QCheckBox* box : checks_) {
        connect(box, &QCheckBox::clicked, this, [this] {
            Setup(SetupMode::CheckChanged);
            RestartPreview();
        });
    }
    connect(pingPong_, &QCheckBox::clicked, this, [this] { PingPongClicked(); });
    connect(previewBox_, &QCheckBox::clicked, this, [this] { PreviewClicked(); });
    connect(swatch_, &QAbstractButton::clicked, this, [this] { ColorClicked(); });
    connect(ok_, &QPushButton::clicked, this, &EffectDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &EffectDialog::reject);
    connect(help_, &QPushButton::clicked, this, [this] { HelpClicked(); });
}

void EffectDialog::Initialise() {
    ready_ = false;
    Gif& current = context_.current;
    if (params_.noTransition) {
        setWindowTitle(kNoSecondImage);
        params_.isEffect = 1;
    }
    if (current.next && !SameRect(current, *current.next)) {
        setWindowTitle(kSizeMismatch);
        params_.isEffect = 1;
        params_.noTransition = 1;
    }
    opening_ = params_;
    lastSeen_ = {-1, -1};

    tableEffect_ = params_.isEffect != 0;
    transitionList_->setCurrentIndex(params_.transitionIndex);
    effectList_->setCurrentIndex(params_.effectIndex);
    (tableEffect_ ? effectRadio_ : transitionRadio_)->setChecked(true);
    pingPong_->setChecked(params_.pingPong != 0);

    ResetSlots();
    Setup(SetupMode::Init);
    if (params_.colorIndex < 0) currentColor_ = current.transparentIndex;
    frameCount_->setText(QString::number(params_.frameCount));
    previewBox_->setChecked(context_.settings.preview != 0);
    previewActive_ = previewAtOpening_ = previewBox_->isChecked();

    // Both pictures must be final before they are read or copied.
    context_.document.WaitForReduction(current);
    Gif* successor = params_.noTransition ? nullptr : current.next;
    if (successor) context_.document.WaitForReduction(*successor);
    if (int64_t{current.width} * current.height < kPreviewCopyPixels) {
        source1_ = &current;
        source2_ = successor;
    } else {
        copy1_ = ScaledCopy(current);
        if (successor) copy2_ = ScaledCopy(*successor);
        source1_ = copy1_.get();
        source2_ = copy2_.get();
    }
    update();
    ready_ = true;
}

const EffectEntry* EffectDialog::CurrentEntry() const {
    const auto table = EntryTable(tableEffect_);
    const int index = (tableEffect_ ? effectList_ : transitionList_)->currentIndex();
    if (index < 0 || static_cast<std::size_t>(index) >= table.size()) return nullptr;
    return &table[static_cast<std::size_t>(index)];
}

int EffectDialog::Setup(SetupMode mode) {
    const EffectEntry* entry = CurrentEntry();
    return entry ? RunSetup(*entry, *this, mode) : 1;
}

// --- EffectSlots over the controls -------------------------------------------------------------

void EffectDialog::ResetSlots() {
    for (int i = 0; i < 5; ++i) {
        valueLabels_[i]->setText(kNotUsed);
        valueEdits_[i]->setText({});
        valueLabels_[i]->setEnabled(false);
        valueEdits_[i]->setEnabled(false);
    }
    for (QCheckBox* box : checks_) {
        box->setText(kNotUsed);
        box->setChecked(false);
        box->setEnabled(false);
    }
    for (int i = 0; i < 2; ++i) {
        lists_[i]->clear();
        listLabels_[i]->setText(kNotUsed);
        listLabels_[i]->setEnabled(false);
        lists_[i]->setEnabled(false);
    }
    colorLabel_->setEnabled(false);
    swatch_->setEnabled(false);
    pingPong_->setEnabled(false);
    colorEnabled_ = false;
    swatch_->SetColor(std::nullopt);
    EditChanged();  // the edits were written, as an entry's own texts are
}

void EffectDialog::Describe(const std::string& text) { description_->setText(QString::fromStdString(text)); }

void EffectDialog::EnableValue(int slot, std::optional<std::string> label,
                               std::optional<std::string> text) {
    const int i = SlotIndex(slot, 5);
    valueLabels_[i]->setEnabled(true);
    valueEdits_[i]->setEnabled(true);
    if (label) valueLabels_[i]->setText(QString::fromStdString(*label));
    if (text) valueEdits_[i]->setText(QString::fromStdString(*text));
}

void EffectDialog::DisableValue(int slot) {
    const int i = SlotIndex(slot, 5);
    valueLabels_[i]->setEnabled(false);
    valueEdits_[i]->setEnabled(false);
}

void EffectDialog::EnableCheck(int slot, std::optional<std::string> label, bool checked) {
    QCheckBox* box = slot == kPingPongSlot ? pingPong_ : checks_[SlotIndex(slot, 4)];
    box->setEnabled(true);
    box->setChecked(checked);
    if (label && slot != kPingPongSlot) box->setText(QString::fromStdString(*label));
    if (slot == kPingPongSlot) params_.pingPong = checked ? 1 : 0;
}

void EffectDialog::SetListLabel(int list, const std::string& label) {
    listLabels_[list == 2 ? 1 : 0]->setText(QString::fromStdString(label));
}

void EffectDialog::AddListItem(int list, const std::string& text) {
    const int i = list == 2 ? 1 : 0;
    listLabels_[i]->setEnabled(true);
    lists_[i]->setEnabled(true);
    lists_[i]->addItem(QString::fromStdString(text));
}

void EffectDialog::SelectListItem(int list, int item) { lists_[list == 2 ? 1 : 0]->setCurrentIndex(item); }

void EffectDialog::EnableColor() {
    colorEnabled_ = true;
    colorLabel_->setEnabled(true);
    swatch_->setEnabled(true);
    swatch_->SetColor(PaletteColor(context_.current, currentColor_));
}

void EffectDialog::DisableColor() {
    colorEnabled_ = false;
    colorLabel_->setEnabled(false);
    swatch_->setEnabled(false);
    swatch_->SetColor(std::nullopt);
}

int32_t EffectDialog::ImageWidth() const { return static_cast<int32_t>(context_.current.width); }
int32_t EffectDialog::ImageHeight() const { return static_cast<int32_t>(context_.current.height); }

int32_t EffectDialog::Value(int slot) const {
    return ReadSignedNumber(valueEdits_[SlotIndex(slot, 5)]->text().toStdString());
}

bool EffectDialog::Checked(int slot) const {
    return (slot == kPingPongSlot ? pingPong_ : checks_[SlotIndex(slot, 4)])->isChecked();
}

int EffectDialog::ListSelection(int list) const { return lists_[list == 2 ? 1 : 0]->currentIndex(); }

int32_t EffectDialog::FrameCount() const { return ReadSignedNumber(frameCount_->text().toStdString()); }

bool EffectDialog::TransitionChosen() const { return transitionRadio_->isChecked(); }

void EffectDialog::Refuse(const std::string& message, const std::string& title, int field) {
    context_.boxes.Tell(message, title, MessageIcon::Warning);
    FocusField(field);
}

SlotAnswer EffectDialog::Ask(const std::string& message, const std::string& title) {
    switch (context_.boxes.Show({message, title, MessageIcon::Question, kYesNoCancelButtons})) {
        case 0: return SlotAnswer::Yes;
        case 1: return SlotAnswer::No;
        default: return SlotAnswer::Cancel;
    }
}

void EffectDialog::SetFrameCount(int32_t count) { frameCount_->setText(QString::number(count)); }

void EffectDialog::FocusField(int field) {
    QLineEdit* edit = field == kFrameCountField ? frameCount_ : valueEdits_[SlotIndex(field, 5)];
    edit->setFocus();
    edit->selectAll();
}

// --- events ------------------------------------------------------------------------------------

void EffectDialog::EditChanged() {
    if (!closing_) debounce_.start(500);
}

void EffectDialog::EditsSettled() {
    if (!ready_) return;
    debounce_.stop();
    const int32_t count = FrameCount();
    if (count < 1 || (count < 2 && params_.pingPong)) {
        context_.boxes.Tell(params_.pingPong
                                ? "Number of Frames must be larger than one if PingPong is selected !"
                                : kLargerThanZero,
                            kInvalidParameter, MessageIcon::Warning);
        FocusField(kFrameCountField);
        frameCount_->setText(QString::number(params_.frameCount));
        debounce_.stop();  // the count put back is the one already previewed
        return;
    }
    params_.frameCount = count;
    StoreEntryIndex();
    if (!Setup(SetupMode::Validate)) return;
    params_.frameCount = FrameCount();  // the entry may have proposed another
    RestartPreview();
}

void EffectDialog::SwitchTable(bool effect) {
    if (!effect && params_.noTransition) {
        context_.boxes.Tell("Transitions can only be performed between the selected Image and its successor.",
                            "Warning", MessageIcon::Warning);
        effectRadio_->setChecked(true);
        return;
    }
    if (effect == tableEffect_) return;
    Setup(SetupMode::Leave);
    tableEffect_ = effect;
    params_.isEffect = effect ? 1 : 0;
    ResetSlots();
    if (effect)
        params_.effectIndex = effectList_->currentIndex();
    else
        params_.transitionIndex = transitionList_->currentIndex();
    Setup(SetupMode::Init);
    update();
}

void EffectDialog::EntryChosen(bool effectList, int index) {
    if (!effectList && params_.noTransition) return;
    params_.lastSelection = index;
    int& seen = lastSeen_[effectList ? 0 : 1];
    if (index != seen) {
        if (effectList == tableEffect_) {
            ResetSlots();
            Setup(SetupMode::Init);
            update();
        }
        (effectList ? params_.effectIndex : params_.transitionIndex) = index;
    }
    seen = index;
}

void EffectDialog::PingPongClicked() {
    if (params_.frameCount > 1) {
        params_.pingPong = pingPong_->isChecked() ? 1 : 0;
        RestartPreview();
        return;
    }
    context_.boxes.Tell("PingPong requires at least two frames.", kInvalidParameter, MessageIcon::Warning);
    pingPong_->setChecked(false);
    params_.pingPong = 0;
}

void EffectDialog::PreviewClicked() {
    previewActive_ = previewBox_->isChecked();
    if (previewActive_) {
        RestartPreview();
    } else {
        StopPreview();
        previewArea_->picture = {};
        previewArea_->update();
    }
}

void EffectDialog::ColorClicked() {
    if (!colorEnabled_ || !context_.chooseColor) return;
    const std::optional<int> chosen = context_.chooseColor(context_.current);
    if (!chosen) return;
    currentColor_ = *chosen;
    swatch_->SetColor(PaletteColor(context_.current, currentColor_));
    RestartPreview();
}

void EffectDialog::MarkHelpIds(QLabel* frameCountLabel) {
    const std::pair<QWidget*, int> ids[] = {
        {effectRadio_, 1021}, {effectList_, 1020}, {transitionRadio_, 1022},
        {transitionList_, 1023}, {frameCount_, 1024}, {frameCountLabel, 1024},
        {pingPong_, 1040}, {lists_[0], 1026}, {colorLabel_, 1037}, {swatch_, 1038},
        {description_, 1036}, {previewArea_, 1041}, {previewBox_, 1042}};
    for (const auto& [control, id] : ids) SetHelpId(control, id);
    constexpr std::array kValueIds{std::pair{1028, 1025}, std::pair{1029, 1027},
                                   std::pair{1030, 1031}, std::pair{1032, 1033},
                                   std::pair{1034, 1035}};
    for (size_t i = 0; i < kValueIds.size(); ++i) {
        SetHelpId(valueLabels_[i], kValueIds[i].first);
        SetHelpId(valueEdits_[i], kValueIds[i].second);
    }
    for (size_t i = 0; i < checks_.size(); ++i) SetHelpId(checks_[i], 1043 + static_cast<int>(i));
    InstallContextHelp(this, HelpForm::Effect, context_.help);
}

void EffectDialog::HelpClicked() {
    OpenHelpPage(context_.help, kEffectDialogHelp, context_.boxes,
                 "Can't activate Help on 'Select Effect/Transition Dialog'");
}

EffectParams EffectDialog::FromControls() const {
    EffectParams p = params_;
    for (int n = 1; n <= kValueSlots; ++n) ValueOf(p, n) = Value(n);
    for (int n = 1; n <= kCheckSlots; ++n) CheckOf(p, n) = Checked(n) ? 1 : 0;
    p.transitionIndex = transitionList_->currentIndex();
    p.effectIndex = effectList_->currentIndex();
    p.direction = ListSelection(1);
    p.option = ListSelection(2);
    p.pingPong = pingPong_->isChecked() ? 1 : 0;
    p.isEffect = tableEffect_ ? 1 : 0;
    p.colorIndex = currentColor_;
    return p;
}

void EffectDialog::accept() {
    const int32_t count = FrameCount();
    if (count <= 0) {
        context_.boxes.Tell(kLargerThanZero, kInvalidParameter, MessageIcon::Warning);
        FocusField(kFrameCountField);
        return;
    }
    params_.frameCount = count;
    StoreEntryIndex();
    if (!Setup(SetupMode::Validate)) return;
    const int32_t proposed = FrameCount();  // the entry may have proposed another count
    const EffectEntry* entry = CurrentEntry();
    if (entry && !entry->Available()) {
        context_.boxes.Tell(std::string("'") + entry->name +
                                "' is not available in this version yet; please choose another entry.",
                            "Sorry", MessageIcon::Information);
        return;
    }
    const Gif& current = context_.current;
    if (colorLabel_->isEnabled() && current.transparent && currentColor_ == current.transparentIndex &&
        !Confirm(ConfirmKind::Transparent, context_.settings, context_.confirmations))
        return;
    EffectParams chosen = FromControls();
    chosen.frameCount = proposed > 0 ? proposed : count;
    chosen.preview = 0;
    params_ = chosen;
    Leave();
    QDialog::accept();
}

void EffectDialog::reject() {
    Setup(SetupMode::Leave);
    params_ = opening_;
    params_.colorIndex = -1;
    previewActive_ = previewAtOpening_;
    Leave();
    QDialog::reject();
}

void EffectDialog::Leave() {
    StopPreview();
    closing_ = true;
    copy1_.reset();
    copy2_.reset();
}

void EffectDialog::StoreEntryIndex() {
    if (tableEffect_)
        params_.effectIndex = effectList_->currentIndex();
    else
        params_.transitionIndex = transitionList_->currentIndex();
}

// --- the preview -------------------------------------------------------------------------------

void EffectDialog::RestartPreview() {
    debounce_.stop();
    if (!previewBox_->isChecked()) {
        previewActive_ = false;
        return;
    }
    previewActive_ = true;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    StopPreview();
    EffectParams p = FromControls();
    p.preview = 1;
    p.frameCount = context_.settings.fixedPreviewFrames
                       ? static_cast<int32_t>(context_.settings.previewFrames)
                       : FrameCount();
    EffectProgress progress(nullptr, context_.scheduler);
    if (source1_) preview_ = RunEntry(p, *source1_, source2_, progress);
    QApplication::restoreOverrideCursor();
    if (preview_) previewTimer_.start(100);
}

void EffectDialog::StopPreview() {
    previewTimer_.stop();
    preview_.reset();
    previewFrame_ = nullptr;
    previewShown_ = -1;
}

int EffectDialog::PreviewFrameCount() const {
    int count = 0;
    for (const Gif* gif = preview_.get(); gif; gif = gif->next) ++count;
    return count;
}

void EffectDialog::NextPreviewFrame() {
    if (!preview_) {
        previewTimer_.stop();
        return;
    }
    previewFrame_ = previewFrame_ && previewFrame_->next ? previewFrame_->next : preview_.get();
    previewShown_ = previewFrame_ == preview_.get() ? 0 : previewShown_ + 1;
    previewArea_->picture = PictureOf(*previewFrame_);
    previewArea_->update();
}

QLabel* EffectDialog::ValueLabel(int slot) const { return valueLabels_[SlotIndex(slot, 5)]; }
QLineEdit* EffectDialog::ValueEdit(int slot) const { return valueEdits_[SlotIndex(slot, 5)]; }
QCheckBox* EffectDialog::CheckBox(int slot) const { return checks_[SlotIndex(slot, 4)]; }
QLabel* EffectDialog::ListLabel(int list) const { return listLabels_[list == 2 ? 1 : 0]; }
QComboBox* EffectDialog::EntryList(int list) const { return lists_[list == 2 ? 1 : 0]; }
QWidget* EffectDialog::ColorSwatchWidget() const { return swatch_; }
QWidget* EffectDialog::PreviewWidget() const { return previewArea_; }

}  // namespace anitrope
