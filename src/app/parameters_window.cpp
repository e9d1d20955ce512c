#include "app/parameters_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <charconv>
#include <string>

#include "app/color_chooser.h"
#include "app/color_swatch.h"
#include "app/confirmation.h"
#include "app/context_help.h"
#include "app/message_boxes.h"
#include "app/palette_panel.h"
#include "app/settings.h"
#include "model/animation.h"
#include "model/gif.h"
#include "model/document.h"
#include "model/reduction_workers.h"

namespace anitrope {
namespace {

constexpr int kFieldLength = 50;
// Delays and loop counts are 16-bit fields of the file.
constexpr int32_t kFieldMaximum = 0xFFFF;
constexpr char kWaitText[] =
    "Please wait until the palette is reduced to 256 colors by the threads";
constexpr int kDisposalChoices = 4;
constexpr const char* kDisposalNames[kDisposalChoices] = {
    "Not specified", "Do Not Dispose", "Restore Backgr Color", "Restore to Previous"};

// A decimal number of at most 50 characters; anything else reads as 0. Values beyond what the
// file can carry are held at its limits.
int32_t ReadField(const QLineEdit* edit) {
    const std::string text = edit->text().trimmed().toStdString();
    long long value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || stop != end || error == std::errc::invalid_argument) return 0;
    if (error == std::errc::result_out_of_range) return text.front() == '-' ? 0 : kFieldMaximum;
    return static_cast<int32_t>(std::clamp<long long>(value, 0, kFieldMaximum));
}

bool InPalette(int32_t index) { return index >= 0 && index < kPaletteSlots; }

// Until its reduction is in, a frame's palette, indexed pixels and transparency are not its
// own yet: the reduction replaces them.
bool WorkerOwns(const Gif& gif) { return AwaitsReduction(gif); }

// Holds a control's signals for the length of a scope, so that loading it is not an edit.
template <typename... Controls>
auto Quiet(Controls*... controls) {
    return std::array<QSignalBlocker, sizeof...(Controls)>{QSignalBlocker(controls)...};
}

template <typename Control>
Control* Named(Control* control, int id, const char* name) {
    control->setObjectName(QString::fromUtf8(name));
    SetHelpId(control, id);
    return control;
}

QLineEdit* Field(int id, const char* name, QWidget* parent) {
    auto* field = Named(new QLineEdit(parent), id, name);
    field->setReadOnly(true);
    return field;
}

QLineEdit* Edit(int id, const char* name, QWidget* parent) {
    auto* edit = Named(new QLineEdit(parent), id, name);
    edit->setMaxLength(kFieldLength);
    return edit;
}

QCheckBox* Box(const char* text, int id, const char* name, QWidget* parent) {
    return Named(new QCheckBox(QString::fromUtf8(text), parent), id, name);
}

QPushButton* Button(const char* text, int id, const char* name, QWidget* parent) {
    auto* button = Named(new QPushButton(QString::fromUtf8(text), parent), id, name);
    button->setAutoDefault(false);
    return button;
}

QComboBox* DisposalList(int id, const char* name, QWidget* parent) {
    auto* list = Named(new QComboBox(parent), id, name);
    for (const char* disposal : kDisposalNames) list->addItem(QString::fromUtf8(disposal));
    return list;
}

// A disposal outside the list (a reserved value read from a file) selects nothing.
int DisposalRow(int64_t disposal) {
    return disposal >= 0 && disposal < kDisposalChoices ? static_cast<int>(disposal) : -1;
}

QString Number(int64_t value) { return QString::number(value); }

}  // namespace

ParametersWindow::ParametersWindow(FrameEditing context, QWidget* parent)
    : QWidget(parent, Qt::Tool), context_(std::move(context)) {
    setObjectName("IDD_PARAMDLG");
    setWindowTitle("Parameters");
    // Opening it must not take the focus from the tree.
    setAttribute(Qt::WA_ShowWithoutActivating);
    BuildControls();
    Connect();
    InstallContextHelp(this, HelpForm::Parameters, context_.help);
    Refresh();
}

void ParametersWindow::BuildControls() {
    auto* global = new QGroupBox("Global Parameters", this);
    screenWidth_ = Field(1001, "screenWidth", global);
    screenHeight_ = Field(1002, "screenHeight", global);
    useGlobalDelay_ = Box("Use Global Delay", 1005, "useGlobalDelay", global);
    globalDelay_ = Edit(1007, "globalDelay", global);
    loops_ = Edit(1010, "loops", global);
    infinite_ = Box("Infinite Looping", 1011, "infiniteLooping", global);
    useGlobalPalette_ = Box("Use Global Palette", 1003, "useGlobalPalette", global);
    editGlobalPalette_ = Button("Edit Palette", 1004, "editGlobalPalette", global);
    background_ = Named(new ColorSwatch(global), 1000, "backgroundColor");
    background_->setToolTip("Background Color");
    useGlobalDisposal_ = Box("Use Global Diposal", 1027, "useGlobalDisposal", global);
    globalDisposal_ = DisposalList(1026, "globalDisposal", global);

    auto* globalGrid = new QGridLayout(global);
    int row = 0;
    globalGrid->addWidget(new QLabel("Width", global), row, 0);
    globalGrid->addWidget(screenWidth_, row, 1);
    globalGrid->addWidget(new QLabel("Height", global), row, 2);
    globalGrid->addWidget(screenHeight_, row++, 3);
    globalGrid->addWidget(useGlobalDelay_, row, 0, 1, 2);
    globalGrid->addWidget(new QLabel("Global Delay", global), row, 2);
    globalGrid->addWidget(globalDelay_, row++, 3);
    globalGrid->addWidget(new QLabel("Nr. of Loops", global), row, 0);
    globalGrid->addWidget(loops_, row, 1);
    globalGrid->addWidget(infinite_, row++, 2, 1, 2);
    globalGrid->addWidget(useGlobalPalette_, row, 0, 1, 2);
    globalGrid->addWidget(editGlobalPalette_, row++, 2, 1, 2);
    globalGrid->addWidget(new QLabel("Background Color", global), row, 0, 1, 2);
    globalGrid->addWidget(background_, row++, 2, 1, 2);
    globalGrid->addWidget(useGlobalDisposal_, row, 0, 1, 2);
    globalGrid->addWidget(globalDisposal_, row++, 2, 1, 2);

    auto* local = new QGroupBox("Local Parameters", this);
    frameWidth_ = Field(1021, "frameWidth", local);
    frameHeight_ = Field(1022, "frameHeight", local);
    xOffset_ = Field(1006, "xOffset", local);
    yOffset_ = Field(1012, "yOffset", local);
    localDelay_ = Edit(1024, "localDelay", local);
    interlaced_ = Box("Interlaced", 1019, "interlaced", local);
    interlaced_->setEnabled(false);  // the writer never interlaces
    useLocalPalette_ = Box("Use Local Palette", 1008, "useLocalPalette", local);
    editLocalPalette_ = Button("Edit Palette", 1023, "editLocalPalette", local);
    transparent_ = Box("TransparentColor", 1020, "transparentColor", local);
    transparentSwatch_ = Named(new ColorSwatch(local), 1013, "transparentSwatch");
    localDisposal_ = DisposalList(1025, "localDisposal", local);

    auto* localGrid = new QGridLayout(local);
    row = 0;
    localGrid->addWidget(new QLabel("Width", local), row, 0);
    localGrid->addWidget(frameWidth_, row, 1);
    localGrid->addWidget(new QLabel("Height", local), row, 2);
    localGrid->addWidget(frameHeight_, row++, 3);
    localGrid->addWidget(new QLabel("x-Offset", local), row, 0);
    localGrid->addWidget(xOffset_, row, 1);
    localGrid->addWidget(new QLabel("y-Offset", local), row, 2);
    localGrid->addWidget(yOffset_, row++, 3);
    localGrid->addWidget(new QLabel("Local Delay", local), row, 0);
    localGrid->addWidget(localDelay_, row, 1);
    localGrid->addWidget(interlaced_, row++, 2, 1, 2);
    localGrid->addWidget(useLocalPalette_, row, 0, 1, 2);
    localGrid->addWidget(editLocalPalette_, row++, 2, 1, 2);
    localGrid->addWidget(transparent_, row, 0, 1, 2);
    localGrid->addWidget(transparentSwatch_, row++, 2, 1, 2);
    localGrid->addWidget(new QLabel("Disposal", local), row, 0, 1, 2);
    localGrid->addWidget(localDisposal_, row++, 2, 1, 2);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(global);
    layout->addWidget(local);
}

void ParametersWindow::Connect() {
    // Only what the user does is an edit: typed text, clicks, a choice from a list. Whatever
    // the window writes into its controls itself reports nothing.
    connect(loops_, &QLineEdit::textEdited, this, [this] { LoopsEdited(); });
    connect(globalDelay_, &QLineEdit::textEdited, this, [this] { GlobalDelayEdited(); });
    connect(localDelay_, &QLineEdit::textEdited, this, [this] { LocalDelayEdited(); });
    for (QLineEdit* edit : {loops_, globalDelay_, localDelay_})
        connect(edit, &QLineEdit::editingFinished, this, [this] { ++typingSession_; });
    connect(infinite_, &QCheckBox::clicked, this, [this](bool on) { InfiniteClicked(on); });
    connect(useGlobalDelay_, &QCheckBox::clicked, this,
            [this](bool on) { UseGlobalDelayClicked(on); });
    connect(useGlobalPalette_, &QCheckBox::clicked, this,
            [this](bool on) { UseGlobalPaletteClicked(on); });
    connect(useLocalPalette_, &QCheckBox::clicked, this,
            [this](bool on) { UseLocalPaletteClicked(on); });
    connect(transparent_, &QCheckBox::clicked, this, [this](bool on) { TransparentClicked(on); });
    connect(useGlobalDisposal_, &QCheckBox::clicked, this,
            [this](bool on) { UseGlobalDisposalClicked(on); });
    connect(transparentSwatch_, &QAbstractButton::clicked, this, [this] { ChooseTransparent(); });
    connect(background_, &QAbstractButton::clicked, this, [this] { ChooseBackground(); });
    connect(editLocalPalette_, &QPushButton::clicked, this, [this] { EditLocalPalette(); });
    connect(editGlobalPalette_, &QPushButton::clicked, this, [this] { EditGlobalPalette(); });
    connect(localDisposal_, &QComboBox::activated, this,
            [this](int index) { LocalDisposalChosen(index); });
    connect(globalDisposal_, &QComboBox::activated, this,
            [this](int index) { GlobalDisposalChosen(index); });
}

// --- loading -----------------------------------------------------------------------------

void ParametersWindow::Refresh() {
    // The window's own edit is on its way into the document: its controls already say so, and
    // writing into the field being typed in would move the cursor.
    if (editing_) return;
    const auto quiet = Quiet(loops_, globalDelay_, localDelay_, infinite_, useGlobalDelay_,
                             useGlobalPalette_, useLocalPalette_, transparent_, useGlobalDisposal_,
                             localDisposal_, globalDisposal_);
    localDisposal_->setCurrentIndex(DisposalNotSpecified);
    globalDisposal_->setCurrentIndex(DisposalNotSpecified);
    const Animation& doc = context_.document.Data();
    Gif* gif = doc.head && context_.currentGif ? context_.currentGif() : nullptr;
    shown_ = gif;
    ClearValues();
    EnableEditable(doc.head != nullptr);
    if (!doc.head) return;

    screenWidth_->setText(Number(doc.screenWidth));
    screenHeight_->setText(Number(doc.screenHeight));
    // A file without a looping extension plays once, which no loop count says: the count
    // stays empty until the user gives one.
    const bool infinite = doc.hasLoopExtension && doc.loopCount == 0;
    infinite_->setChecked(infinite);
    loops_->setText(doc.hasLoopExtension ? Number(doc.loopCount) : QString());
    loops_->setEnabled(!infinite);

    globalDelay_->setText(Number(doc.animationDelay));
    useGlobalDelay_->setChecked(doc.useAnimationDelay != 0);
    globalDelay_->setEnabled(doc.useAnimationDelay != 0);
    localDelay_->setEnabled(doc.useAnimationDelay == 0);

    useGlobalDisposal_->setChecked(doc.useAnimationDisposal != 0);
    globalDisposal_->setCurrentIndex(DisposalRow(doc.animationDisposal));
    globalDisposal_->setEnabled(doc.useAnimationDisposal != 0);
    localDisposal_->setEnabled(doc.useAnimationDisposal == 0);

    useGlobalPalette_->setChecked(doc.globalPalettePresent != 0);
    editGlobalPalette_->setEnabled(doc.globalPalettePresent != 0);

    if (gif) {
        LoadFrame(*gif);
    } else {
        // No frame selected: nothing for the local controls to change.
        for (QWidget* control :
             std::initializer_list<QWidget*>{localDelay_, useLocalPalette_, editLocalPalette_,
                                             transparent_, transparentSwatch_, localDisposal_})
            control->setEnabled(false);
    }
    ShowSwatches();
}

void ParametersWindow::LoadFrame(Gif& gif) {
    frameWidth_->setText(Number(gif.width));
    frameHeight_->setText(Number(gif.height));
    xOffset_->setText(Number(gif.left));
    yOffset_->setText(Number(gif.top));
    interlaced_->setChecked(gif.interlaced != 0);
    localDelay_->setText(Number(gif.delay));
    localDisposal_->setCurrentIndex(DisposalRow(gif.disposal));

    if (WorkerOwns(gif)) {
        // The reduction always leaves a local palette; whether it leaves transparency is
        // not known until it is done. The palette choices stay open so that they can say why
        // they cannot be made yet.
        useLocalPalette_->setChecked(true);
        editLocalPalette_->setEnabled(true);
        transparent_->setTristate(true);
        transparent_->setCheckState(Qt::PartiallyChecked);
        transparentSwatch_->setEnabled(true);
        return;
    }
    useLocalPalette_->setChecked(gif.usesLocalPalette != 0);
    editLocalPalette_->setEnabled(gif.usesLocalPalette != 0);
    transparent_->setTristate(false);
    transparent_->setChecked(gif.transparent != 0);
    transparentSwatch_->setEnabled(gif.transparent != 0);
}

void ParametersWindow::ShowSwatches() {
    const Animation& doc = context_.document.Data();
    background_->SetColor(
        doc.head ? std::optional<uint32_t>(PaletteRgb(doc.globalPalette[doc.backgroundIndex]))
                 : std::nullopt);
    std::optional<uint32_t> transparent;
    if (shown_ && !WorkerOwns(*shown_) && shown_->transparent &&
        InPalette(shown_->transparentIndex))
        transparent = PaletteRgb(EffectivePalette(*shown_)[shown_->transparentIndex]);
    transparentSwatch_->SetColor(transparent);
}

void ParametersWindow::EnableEditable(bool on) {
    for (QWidget* control : std::initializer_list<QWidget*>{
             background_, useGlobalPalette_, editGlobalPalette_, useGlobalDelay_, globalDelay_,
             useLocalPalette_, loops_, infinite_, transparentSwatch_, transparent_,
             editLocalPalette_, localDelay_, localDisposal_, globalDisposal_, useGlobalDisposal_})
        control->setEnabled(on);
}

void ParametersWindow::ClearValues() {
    for (QLineEdit* edit : {screenWidth_, screenHeight_, globalDelay_, loops_, frameWidth_,
                            frameHeight_, xOffset_, yOffset_, localDelay_})
        edit->clear();
    transparent_->setTristate(false);
    for (QCheckBox* box : {useGlobalDelay_, infinite_, useGlobalPalette_, useGlobalDisposal_,
                           interlaced_, useLocalPalette_, transparent_})
        box->setChecked(false);
}

// --- changes -----------------------------------------------------------------------------
//
// Each handler makes one edit. While it is applied (editing_) the window is not reloaded from
// the document: its controls already show the change.

template <typename Change>
void ParametersWindow::EditQuietly(const char* name, std::string mergeKey, Change&& change) {
    editing_ = true;
    {
        Transaction edit(context_.document, name, std::move(mergeKey));
        change(edit);
    }
    editing_ = false;
}

void ParametersWindow::LoopsEdited() {
    if (context_.document.Empty()) return;
    EditQuietly("Loop Count Change", TypingKey("loops", nullptr), [&](Transaction& edit) {
        edit.Set(&Animation::loopCount, ReadField(loops_));
        edit.Set(&Animation::hasLoopExtension, true);
    });
}

void ParametersWindow::InfiniteClicked(bool on) {
    {
        const QSignalBlocker quiet(loops_);
        loops_->setText("0");
    }
    loops_->setEnabled(!on);
    if (!context_.document.Empty()) {
        EditQuietly("Infinite Looping", {}, [](Transaction& edit) {
            edit.Set(&Animation::loopCount, 0);
            edit.Set(&Animation::hasLoopExtension, true);
        });
    }
    Done();
}

void ParametersWindow::GlobalDelayEdited() {
    if (context_.document.Empty()) return;
    EditQuietly("Global Delay Change", TypingKey("globalDelay", nullptr), [&](Transaction& edit) {
        edit.Set(&Animation::animationDelay, ReadField(globalDelay_));
    });
}

void ParametersWindow::LocalDelayEdited() {
    Gif* gif = Frame();
    if (!gif) return;
    EditQuietly("Delay Change", TypingKey("delay", gif), [&](Transaction& edit) {
        edit.Set(*gif, &Gif::delay, ReadField(localDelay_));
    });
}

void ParametersWindow::UseGlobalDelayClicked(bool on) {
    globalDelay_->setEnabled(on);
    localDelay_->setEnabled(!on && shown_);
    if (!context_.document.Empty()) {
        EditQuietly("Use Global Delay", {}, [on](Transaction& edit) {
            edit.Set(&Animation::useAnimationDelay, on ? 1 : 0);
        });
    }
    Done();
}

void ParametersWindow::UseGlobalPaletteClicked(bool on) {
    Document& document = context_.document;
    if (document.Empty()) return Done();
    if (on) {
        // Frames keep their own palettes until they are switched over one by one.
        editGlobalPalette_->setEnabled(true);
        Transaction edit(document, "Use Global Palette");
        edit.Set(&Animation::globalPalettePresent, 1);
        return Done();
    }
    if (!Confirm(ConfirmKind::GlobalPalette, context_.settings, context_.confirmations)) {
        const QSignalBlocker quiet(useGlobalPalette_);
        useGlobalPalette_->setChecked(true);
        return Done();
    }
    {
        const Animation& doc = document.Data();
        Transaction edit(document, "Use Global Palette");
        for (Gif* gif = doc.head; gif; gif = gif->next) {
            // A frame awaiting its reduction gets a palette of its own from it anyway.
            if (WorkerOwns(*gif) || gif->usesLocalPalette) continue;
            // The frame keeps the colours it showed.
            edit.Set(*gif, &Gif::palette, doc.globalPalette);
            edit.Set(*gif, &Gif::usesLocalPalette, 1);
        }
        edit.Set(&Animation::globalPalettePresent, 0);
    }
    Done();
}

void ParametersWindow::UseLocalPaletteClicked(bool on) {
    Document& document = context_.document;
    Gif* gif = Frame();
    if (!gif) return;
    const bool globalComesOn = !on && !document.Data().globalPalettePresent;
    if (globalComesOn &&
        !Confirm(ConfirmKind::LocalPalette, context_.settings, context_.confirmations)) {
        const QSignalBlocker quiet(useLocalPalette_);
        useLocalPalette_->setChecked(true);
        return Done();
    }
    context_.document.WaitForReduction(*gif);
    {
        const Animation& doc = document.Data();
        Transaction edit(document, "Use Local Palette");
        if (globalComesOn) {
            // A document that never had a global palette takes this frame's colours for it,
            // so that the frame keeps its look.
            if (UsedPaletteSlots(doc.globalPalette) == 0) edit.Set(&Animation::globalPalette, gif->palette);
            edit.Set(&Animation::globalPalettePresent, 1);
        }
        // A frame that never had colours of its own starts from the ones it showed.
        if (on && UsedPaletteSlots(gif->palette) == 0) edit.Set(*gif, &Gif::palette, doc.globalPalette);
        edit.Set(*gif, &Gif::usesLocalPalette, on ? 1 : 0);
    }
    Done();
}

void ParametersWindow::TransparentClicked(bool on) {
    Gif* gif = Frame();
    if (!gif) return;
    context_.document.WaitForReduction(*gif);
    {
        Transaction edit(context_.document, "Transparency Change");
        edit.Set(*gif, &Gif::transparent, on ? 1 : 0);
        if (on) {
            if (!InPalette(gif->transparentIndex)) edit.Set(*gif, &Gif::transparentIndex, 0);
            // Its transparent pixels show the frames before it.
            edit.Set(*gif, &Gif::hasTransparentPixels, 1);
        }
    }
    Done();
}

void ParametersWindow::ChooseTransparent() {
    Gif* gif = Frame();
    if (!gif) return;
    if (!PaletteReady(*gif, "Can't select transparent color now")) return Done();
    PaletteRequest request;
    request.owner = gif;
    OpenPalette(request);
    Done();
}

void ParametersWindow::EditLocalPalette() {
    Gif* gif = Frame();
    if (!gif) return;
    if (!PaletteReady(*gif, "Can't display local palette now")) return Done();
    PaletteRequest request;
    request.owner = gif;
    request.edit = true;
    OpenPalette(request);
    Done();
}

void ParametersWindow::EditGlobalPalette() {
    PaletteRequest request;
    request.edit = true;
    OpenPalette(request);
    Done();
}

void ParametersWindow::ChooseBackground() {
    PaletteRequest request;
    OpenPalette(request);
    Done();
}

void ParametersWindow::LocalDisposalChosen(int index) {
    Gif* gif = Frame();
    if (!gif || index < 0) return;
    {
        Transaction edit(context_.document, "Disposal Change");
        edit.Set(*gif, &Gif::disposal, static_cast<uint32_t>(index));
    }
    Done();
}

void ParametersWindow::GlobalDisposalChosen(int index) {
    if (context_.document.Empty() || index < 0) return;
    {
        Transaction edit(context_.document, "Global Disposal Change");
        edit.Set(&Animation::animationDisposal, index);
    }
    Done();
}

void ParametersWindow::UseGlobalDisposalClicked(bool on) {
    globalDisposal_->setEnabled(on);
    localDisposal_->setEnabled(!on && shown_);
    if (!context_.document.Empty()) {
        Transaction edit(context_.document, "Use Global Disposal");
        edit.Set(&Animation::useAnimationDisposal, on ? 1 : 0);
    }
    Done();
}

// --- helpers -----------------------------------------------------------------------------

Gif* ParametersWindow::Frame() {
    Gif* current =
        !context_.document.Empty() && context_.currentGif ? context_.currentGif() : nullptr;
    if (current == shown_) return shown_;
    // The selection moved without a refresh: the controls showed another frame, so what the
    // user did was meant for that one. Show the current frame instead of guessing.
    Refresh();
    return nullptr;
}

int ParametersWindow::OpenPalette(PaletteRequest& request) {
    return PalettePanel::Open(context_.document, request, context_.colors, context_.boxes, this);
}

bool ParametersWindow::PaletteReady(Gif& gif, const char* title) {
    if (!WorkerOwns(gif)) return true;
    context_.boxes.Tell(kWaitText, title, MessageIcon::Information);
    return false;
}

std::string ParametersWindow::TypingKey(const char* field, const void* owner) const {
    return std::string(field) + '@' + std::to_string(reinterpret_cast<std::uintptr_t>(owner)) +
           '#' + std::to_string(typingSession_);
}

void ParametersWindow::Done() {
    if (context_.returnFocus) context_.returnFocus();
}

// --- window ------------------------------------------------------------------------------

void ParametersWindow::ApplyPlacement(const WindowPlacement& placement) {
    if (placement.IsEmpty()) return;
    setGeometry(placement.left, placement.top, placement.right - placement.left,
                placement.bottom - placement.top);
}

WindowPlacement ParametersWindow::CurrentPlacement() const {
    WindowPlacement placement;
    const QRect normal = normalGeometry().isValid() ? normalGeometry() : geometry();
    placement.showCommand = isMinimized() ? 2 : 1;
    placement.left = normal.x();
    placement.top = normal.y();
    placement.right = normal.x() + normal.width();
    placement.bottom = normal.y() + normal.height();
    return placement;
}

void ParametersWindow::RememberPlacement() {
    context_.settings.paramPlacement = CurrentPlacement();
}

void ParametersWindow::showEvent(QShowEvent* event) {
    context_.settings.toolWindows = 1;
    QWidget::showEvent(event);
}

void ParametersWindow::closeEvent(QCloseEvent* event) {
    RememberPlacement();
    context_.settings.toolWindows = 0;
    event->accept();
    if (context_.closed) context_.closed();
}

}  // namespace anitrope
