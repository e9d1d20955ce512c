#include "app/parameters_window.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QTest>
#include <QWhatsThis>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <future>

#include "app/color_swatch.h"
#include "app/confirmation.h"
#include "app/palette_grid.h"
#include "app/palette_panel.h"
#include "app/settings.h"
#include "model/compositor.h"
#include "panel_fixtures.h"
#include "platform/job_scheduler.h"
#include "quantize/color_reduction.h"
#include "scripted_dialogs.h"
#include "support/pool_gate.h"

namespace anitrope::test {
namespace {

constexpr char kWaitText[] =
    "Please wait until the palette is reduced to 256 colors by the threads";

std::string Text(const QLineEdit* edit) { return edit->text().toStdString(); }

// What a user does to a control: typing replaces the text, choosing picks a row. Writing
// into a control from code is no edit, so the window must hear these as the user's.
void Type(QLineEdit* edit, const QString& text) {
    edit->setText(text);
    emit edit->textEdited(text);
}
void Choose(QComboBox* list, int row) {
    list->setCurrentIndex(row);
    emit list->activated(row);
}

// A document of `frames` frames, each with its own palette, a global palette of other
// colours, and the window over it with recording collaborators. The window is reloaded after
// every change of the document, as the shell does.
struct WindowBench : DocumentObserver {
    explicit WindowBench(int frames = 2) {
        for (int i = 0; i < frames; ++i) AppendFrame(doc);
        for (int k = 0; k < kPaletteSlots; ++k) doc.globalPalette[k] = {255 - k, 3, k};
        doc.globalPalettePresent = 1;
        current = doc.head;
        document.Subscribe(&compositor);
        document.Subscribe(this);
        window = std::make_unique<ParametersWindow>(Context());
        window->show();
    }
    ~WindowBench() override {
        window.reset();
        document.Unsubscribe(this);
        document.Unsubscribe(&compositor);
    }

    FrameEditing Context() {
        return FrameEditing{document,
                            [this] { return current; },
                            settings,
                            boxes,
                            colors,
                            confirmations,
                            [this] { closed = true; },
                            [this] { ++focusReturns; },
                            &help};
    }
    void DocumentChanged(const DocumentChange&) override {
        if (window) window->Refresh();
    }
    // The edits the user made, as the undo history counts them.
    int Edits() const { return static_cast<int>(document.UndoSteps()); }

    void ComposeAll() {
        for (Gif* gif = doc.head; gif; gif = gif->next) compositor.GetDisplayBitmap(*gif);
    }
    // Which frames' pictures are stale since ComposeAll.
    std::vector<bool> Dropped() {
        std::vector<bool> dropped;
        for (Gif* gif = doc.head; gif; gif = gif->next)
            dropped.push_back(compositor.CachedDisplayBitmap(*gif) == nullptr);
        return dropped;
    }
    QPoint CellCentre(PalettePanel& panel, int index) {
        return PaletteGridGeometry(panel.Grid()->size()).CellRect(index).center();
    }

    Document document;
    Animation& doc = Setup(document);
    Compositor compositor{document.Data(), nullptr, &document.Lock()};
    Settings settings;
    ScriptedMessageBoxes boxes;
    ScriptedColorChooser colors;
    ScriptedConfirmations confirmations;
    Gif* current = nullptr;
    int focusReturns = 0;
    bool closed = false;
    ScriptedHelp help;
    std::unique_ptr<ParametersWindow> window;  // last, so that it goes first
};

uint32_t SwatchCentre(ColorSwatch* swatch) { return PixelOf(swatch, swatch->rect().center()); }

TEST(ParametersWindow, LoadsTheRecordsWithoutRecordingAChange) {
    WindowBench bench;
    Animation& doc = bench.doc;
    Gif* gif = doc.head;
    doc.screenWidth = 320;
    doc.screenHeight = 200;
    doc.loopCount = 3;
    doc.animationDelay = 12;
    doc.useAnimationDelay = 1;
    doc.animationDisposal = 2;
    doc.useAnimationDisposal = 1;
    doc.backgroundIndex = 4;
    gif->left = 11;
    gif->top = 22;
    gif->width = 33;
    gif->height = 44;
    gif->delay = 7;
    gif->disposal = 3;
    gif->interlaced = 1;
    gif->transparent = 1;
    gif->transparentIndex = 5;
    bench.window->Refresh();

    const ParametersWindow& w = *bench.window;
    EXPECT_EQ(w.objectName().toStdString(), "IDD_PARAMDLG");
    EXPECT_EQ(w.windowTitle().toStdString(), "Parameters");
    EXPECT_EQ(Text(w.ScreenWidthField()), "320");
    EXPECT_EQ(Text(w.ScreenHeightField()), "200");
    EXPECT_TRUE(w.ScreenWidthField()->isReadOnly());
    EXPECT_EQ(Text(w.LoopsEdit()), "3");
    EXPECT_FALSE(w.InfiniteLoopingBox()->isChecked());
    EXPECT_TRUE(w.LoopsEdit()->isEnabled());
    EXPECT_EQ(Text(w.GlobalDelayEdit()), "12");
    EXPECT_TRUE(w.UseGlobalDelayBox()->isChecked());
    EXPECT_TRUE(w.GlobalDelayEdit()->isEnabled());
    EXPECT_FALSE(w.LocalDelayEdit()->isEnabled());
    EXPECT_TRUE(w.UseGlobalDisposalBox()->isChecked());
    EXPECT_EQ(w.GlobalDisposalList()->currentText().toStdString(), "Restore Backgr Color");
    EXPECT_TRUE(w.GlobalDisposalList()->isEnabled());
    EXPECT_FALSE(w.LocalDisposalList()->isEnabled());
    EXPECT_TRUE(w.UseGlobalPaletteBox()->isChecked());
    EXPECT_TRUE(w.EditGlobalPaletteButton()->isEnabled());

    EXPECT_EQ(Text(w.XOffsetField()), "11");
    EXPECT_EQ(Text(w.YOffsetField()), "22");
    EXPECT_EQ(Text(w.FrameWidthField()), "33");
    EXPECT_EQ(Text(w.FrameHeightField()), "44");
    EXPECT_EQ(Text(w.LocalDelayEdit()), "7");
    EXPECT_EQ(w.LocalDisposalList()->currentText().toStdString(), "Restore to Previous");
    EXPECT_TRUE(w.InterlacedBox()->isChecked());
    EXPECT_FALSE(w.InterlacedBox()->isEnabled());
    EXPECT_TRUE(w.UseLocalPaletteBox()->isChecked());
    EXPECT_TRUE(w.EditLocalPaletteButton()->isEnabled());
    EXPECT_TRUE(w.TransparentBox()->isChecked());
    EXPECT_TRUE(w.TransparentSwatch()->isEnabled());

    // The swatches paint the background entry of the global palette and the transparent entry
    // of the frame's.
    EXPECT_EQ(SwatchCentre(w.BackgroundSwatch()), 0xFB0304u);
    EXPECT_EQ(SwatchCentre(w.TransparentSwatch()), 0x05FA07u);
    EXPECT_EQ(bench.Edits(), 0);
}

TEST(ParametersWindow, TheLocalDelayEditIsOpenWhileTheGlobalDelayIsNotUsed) {
    WindowBench bench;
    ParametersWindow& w = *bench.window;
    EXPECT_FALSE(w.GlobalDelayEdit()->isEnabled());
    EXPECT_TRUE(w.LocalDelayEdit()->isEnabled());
    EXPECT_FALSE(w.GlobalDisposalList()->isEnabled());
    EXPECT_TRUE(w.LocalDisposalList()->isEnabled());

    w.UseGlobalDelayBox()->click();
    EXPECT_EQ(bench.doc.useAnimationDelay, 1);
    EXPECT_TRUE(w.GlobalDelayEdit()->isEnabled());
    EXPECT_FALSE(w.LocalDelayEdit()->isEnabled());
    w.UseGlobalDelayBox()->click();
    EXPECT_EQ(bench.doc.useAnimationDelay, 0);
    EXPECT_TRUE(w.LocalDelayEdit()->isEnabled());
    EXPECT_EQ(bench.Edits(), 2);
    EXPECT_EQ(bench.focusReturns, 2);
}

TEST(ParametersWindow, WithoutAnAnimationTheEditableControlsAreDisabled) {
    WindowBench bench(0);
    ParametersWindow& w = *bench.window;
    for (QWidget* control : std::initializer_list<QWidget*>{
             w.BackgroundSwatch(), w.UseGlobalPaletteBox(), w.EditGlobalPaletteButton(),
             w.UseGlobalDelayBox(), w.GlobalDelayEdit(), w.UseLocalPaletteBox(), w.LoopsEdit(),
             w.InfiniteLoopingBox(), w.TransparentSwatch(), w.TransparentBox(),
             w.EditLocalPaletteButton(), w.LocalDelayEdit(), w.LocalDisposalList(),
             w.GlobalDisposalList(), w.UseGlobalDisposalBox()})
        EXPECT_FALSE(control->isEnabled()) << control->objectName().toStdString();
    EXPECT_EQ(Text(w.ScreenWidthField()), "");

    // Loaded again once there is something to show.
    Gif* gif = AppendFrame(bench.doc, 6, 5);
    bench.current = gif;
    w.Refresh();
    EXPECT_TRUE(w.UseGlobalPaletteBox()->isEnabled());
    EXPECT_TRUE(w.LocalDelayEdit()->isEnabled());
    EXPECT_EQ(Text(w.ScreenWidthField()), "6");
    EXPECT_EQ(Text(w.FrameHeightField()), "5");

    // And emptied and disabled when the animation is closed.
    bench.doc.Clear();
    bench.current = nullptr;
    w.Refresh();
    EXPECT_FALSE(w.UseGlobalPaletteBox()->isEnabled());
    EXPECT_EQ(Text(w.FrameHeightField()), "");
    EXPECT_EQ(bench.Edits(), 0);
}

TEST(ParametersWindow, WithoutACurrentFrameOnlyTheGlobalControlsWork) {
    WindowBench bench;
    bench.current = nullptr;  // the root is selected
    bench.doc.loopCount = 3;
    ParametersWindow& w = *bench.window;
    w.Refresh();
    EXPECT_TRUE(w.UseGlobalPaletteBox()->isEnabled());
    EXPECT_TRUE(w.LoopsEdit()->isEnabled());
    for (QWidget* control : std::initializer_list<QWidget*>{
             w.LocalDelayEdit(), w.UseLocalPaletteBox(), w.EditLocalPaletteButton(),
             w.TransparentBox(), w.TransparentSwatch(), w.LocalDisposalList()})
        EXPECT_FALSE(control->isEnabled()) << control->objectName().toStdString();
}

TEST(ParametersWindow, InfiniteLoopingZeroesAndLocksTheLoopCount) {
    WindowBench bench;
    bench.doc.loopCount = 5;
    ParametersWindow& w = *bench.window;
    w.Refresh();
    EXPECT_FALSE(w.InfiniteLoopingBox()->isChecked());
    EXPECT_EQ(Text(w.LoopsEdit()), "5");

    w.InfiniteLoopingBox()->click();
    EXPECT_TRUE(w.InfiniteLoopingBox()->isChecked());
    EXPECT_EQ(Text(w.LoopsEdit()), "0");
    EXPECT_FALSE(w.LoopsEdit()->isEnabled());
    EXPECT_EQ(bench.doc.loopCount, 0);
    EXPECT_GE(bench.Edits(), 1);

    w.InfiniteLoopingBox()->click();
    EXPECT_FALSE(w.InfiniteLoopingBox()->isChecked());
    EXPECT_TRUE(w.LoopsEdit()->isEnabled());
    EXPECT_EQ(Text(w.LoopsEdit()), "0");
    EXPECT_EQ(bench.doc.loopCount, 0);

    // A loop count of 0 is infinite looping when it is loaded.
    w.Refresh();
    EXPECT_TRUE(w.InfiniteLoopingBox()->isChecked());
    EXPECT_FALSE(w.LoopsEdit()->isEnabled());
}

TEST(ParametersWindow, AFileThatPlaysOnceShowsNoLoopCountUntilOneIsGiven) {
    WindowBench bench;
    bench.doc.loopCount = 0;
    bench.doc.hasLoopExtension = false;
    ParametersWindow& w = *bench.window;
    w.Refresh();
    EXPECT_FALSE(w.InfiniteLoopingBox()->isChecked());
    EXPECT_TRUE(w.LoopsEdit()->isEnabled());
    EXPECT_EQ(Text(w.LoopsEdit()), "");

    Type(w.LoopsEdit(), "2");
    EXPECT_EQ(bench.doc.loopCount, 2);
    EXPECT_TRUE(bench.doc.hasLoopExtension);

    bench.doc.hasLoopExtension = false;
    w.Refresh();
    w.InfiniteLoopingBox()->click();
    EXPECT_EQ(bench.doc.loopCount, 0);
    EXPECT_TRUE(bench.doc.hasLoopExtension);
}

TEST(ParametersWindow, EditsReadDecimalNumbers) {
    WindowBench bench;
    ParametersWindow& w = *bench.window;
    Gif* gif = bench.doc.head;
    const auto local = [&](const char* text) {
        Type(w.LocalDelayEdit(), text);
        return gif->delay;
    };
    EXPECT_EQ(local("25"), 25);
    EXPECT_EQ(local(" 30 "), 30);
    EXPECT_EQ(local("abc"), 0);
    EXPECT_EQ(local("12abc"), 0);
    EXPECT_EQ(local(""), 0);
    EXPECT_EQ(local("-4"), 0);         // no negative delays
    EXPECT_EQ(local("70000"), 65535);  // the file holds 16 bits
    EXPECT_EQ(local("99999999999999999999999"), 65535);
    EXPECT_EQ(w.LocalDelayEdit()->maxLength(), 50);
    EXPECT_EQ(bench.doc.head->next->delay, bench.doc.animationDelay);  // only the current frame

    w.UseGlobalDelayBox()->click();
    Type(w.GlobalDelayEdit(), "8");
    EXPECT_EQ(bench.doc.animationDelay, 8);
    Type(w.GlobalDelayEdit(), "x");
    EXPECT_EQ(bench.doc.animationDelay, 0);
    EXPECT_EQ(w.GlobalDelayEdit()->maxLength(), 50);

    Type(w.LoopsEdit(), "9");
    EXPECT_EQ(bench.doc.loopCount, 9);
    EXPECT_EQ(w.LoopsEdit()->maxLength(), 50);
    // One edit for each field typed into while it had the focus, one for the click.
    EXPECT_EQ(bench.Edits(), 4);
}

TEST(ParametersWindow, SwitchingTransparencyOnTakesAnIndexInsideThePalette) {
    WindowBench bench;
    Gif* gif = bench.doc.head;
    gif->transparentIndex = 300;
    gif->hasTransparentPixels = 0;
    gif->next->transparent = 1;  // shows the first frame through
    ParametersWindow& w = *bench.window;
    w.Refresh();
    EXPECT_FALSE(w.TransparentSwatch()->isEnabled());
    bench.ComposeAll();

    w.TransparentBox()->click();
    EXPECT_EQ(gif->transparent, 1);
    EXPECT_EQ(gif->transparentIndex, 0);
    EXPECT_EQ(gif->hasTransparentPixels, 1);
    EXPECT_TRUE(w.TransparentSwatch()->isEnabled());
    EXPECT_EQ(SwatchCentre(w.TransparentSwatch()), 0x00FF07u);
    EXPECT_EQ(bench.Dropped(), (std::vector<bool>{true, true}));
    EXPECT_EQ(bench.Edits(), 1);

    // Off: the swatch is crossed out in red and takes no clicks.
    w.TransparentBox()->click();
    EXPECT_EQ(gif->transparent, 0);
    EXPECT_FALSE(w.TransparentSwatch()->isEnabled());
    EXPECT_EQ(PixelOf(w.TransparentSwatch(), QPoint(0, 0)), 0xFF0000u);
    EXPECT_NE(SwatchCentre(w.TransparentSwatch()), 0x00FF07u);
}

TEST(ParametersWindow, AnIndexInsideThePaletteIsKeptWhenTransparencyComesOn) {
    WindowBench bench;
    bench.doc.head->transparentIndex = 255;
    bench.window->Refresh();
    bench.window->TransparentBox()->click();
    EXPECT_EQ(bench.doc.head->transparentIndex, 255);
}

TEST(ParametersWindow, ASilencedGlobalPaletteWarningTurnsOnEveryLocalPaletteWithoutAsking) {
    WindowBench bench(3);
    bench.settings.globalPalWarning = 1;
    Gif* first = bench.doc.head;
    Gif* second = first->next;
    Gif* third = second->next;
    first->usesLocalPalette = 0;
    third->usesLocalPalette = 0;
    third->palette = EmptyPalette();
    const Palette secondPalette = second->palette;
    ParametersWindow& w = *bench.window;
    w.Refresh();
    EXPECT_FALSE(w.UseLocalPaletteBox()->isChecked());
    EXPECT_FALSE(w.EditLocalPaletteButton()->isEnabled());
    bench.ComposeAll();

    w.UseGlobalPaletteBox()->click();
    EXPECT_TRUE(bench.confirmations.asked.empty());
    EXPECT_EQ(bench.doc.globalPalettePresent, 0);
    for (Gif* gif : {first, second, third}) EXPECT_EQ(gif->usesLocalPalette, 1);
    // The frames that showed the global colours keep showing them.
    EXPECT_EQ(first->palette, bench.doc.globalPalette);
    EXPECT_EQ(third->palette, bench.doc.globalPalette);
    EXPECT_EQ(second->palette, secondPalette);
    EXPECT_FALSE(w.UseGlobalPaletteBox()->isChecked());
    EXPECT_FALSE(w.EditGlobalPaletteButton()->isEnabled());
    EXPECT_TRUE(w.UseLocalPaletteBox()->isChecked());
    EXPECT_TRUE(w.EditLocalPaletteButton()->isEnabled());
    EXPECT_EQ(bench.compositor.CachedDisplayBitmap(*first), nullptr);
    EXPECT_EQ(bench.compositor.CachedDisplayBitmap(*third), nullptr);
    EXPECT_EQ(bench.Edits(), 1);
}

TEST(ParametersWindow, TheGlobalPaletteWarningCancelledPutsTheBoxBack) {
    WindowBench bench;
    bench.doc.head->usesLocalPalette = 0;
    ParametersWindow& w = *bench.window;
    w.Refresh();
    bench.confirmations.Cancel(true);
    w.UseGlobalPaletteBox()->click();
    ASSERT_EQ(bench.confirmations.asked.size(), 1u);
    EXPECT_EQ(bench.confirmations.asked[0],
              "Deactivating the global Palette requires activation of all local palettes\nDo you "
              "want all local palettes to be turned on ?\n");
    EXPECT_TRUE(w.UseGlobalPaletteBox()->isChecked());
    EXPECT_EQ(bench.doc.globalPalettePresent, 1);
    EXPECT_EQ(bench.doc.head->usesLocalPalette, 0);
    EXPECT_EQ(bench.settings.globalPalWarning, 0u);
    EXPECT_EQ(bench.Edits(), 0);

    // Answered with the box ticked, it is not asked again.
    bench.confirmations.Ok(true);
    w.UseGlobalPaletteBox()->click();
    EXPECT_EQ(bench.settings.globalPalWarning, 1u);
    EXPECT_EQ(bench.doc.globalPalettePresent, 0);
    w.UseGlobalPaletteBox()->click();  // on again: no question for that
    w.UseGlobalPaletteBox()->click();
    EXPECT_EQ(bench.confirmations.asked.size(), 2u);
    EXPECT_EQ(bench.doc.globalPalettePresent, 0);
}

TEST(ParametersWindow, DroppingTheLastLocalPaletteAsksForTheGlobalOne) {
    WindowBench bench;
    bench.doc.globalPalettePresent = 0;
    ParametersWindow& w = *bench.window;
    w.Refresh();
    EXPECT_FALSE(w.UseGlobalPaletteBox()->isChecked());
    EXPECT_FALSE(w.EditGlobalPaletteButton()->isEnabled());
    bench.ComposeAll();

    bench.confirmations.Cancel();
    w.UseLocalPaletteBox()->click();
    ASSERT_EQ(bench.confirmations.asked.size(), 1u);
    EXPECT_EQ(bench.confirmations.asked[0],
              "Deactivating the local Palette requires activation of the global palette\nDo you "
              "want the global palette to be turned on ?\n");
    EXPECT_TRUE(w.UseLocalPaletteBox()->isChecked());
    EXPECT_EQ(bench.doc.head->usesLocalPalette, 1);
    EXPECT_EQ(bench.doc.globalPalettePresent, 0);
    EXPECT_EQ(bench.Dropped(), (std::vector<bool>{false, false}));

    bench.confirmations.Ok();
    w.UseLocalPaletteBox()->click();
    EXPECT_EQ(bench.doc.head->usesLocalPalette, 0);
    EXPECT_EQ(bench.doc.globalPalettePresent, 1);
    EXPECT_TRUE(w.UseGlobalPaletteBox()->isChecked());
    EXPECT_TRUE(w.EditGlobalPaletteButton()->isEnabled());
    EXPECT_FALSE(w.EditLocalPaletteButton()->isEnabled());
    EXPECT_EQ(bench.compositor.CachedDisplayBitmap(*bench.doc.head), nullptr);
    EXPECT_EQ(bench.settings.localPalWarning, 0u);
}

TEST(ParametersWindow, AGlobalPaletteTurnedOnForAFrameStartsFromItsColours) {
    WindowBench bench;
    bench.doc.globalPalettePresent = 0;
    bench.doc.globalPalette = EmptyPalette();  // the file had none
    Gif* gif = bench.doc.head;
    bench.window->Refresh();
    bench.confirmations.Ok();
    bench.window->UseLocalPaletteBox()->click();
    EXPECT_EQ(gif->usesLocalPalette, 0);
    EXPECT_EQ(bench.doc.globalPalette, gif->palette);
    EXPECT_EQ(SwatchCentre(bench.window->BackgroundSwatch()), 0x00FF07u);
}

TEST(ParametersWindow, LocalPalettesSwitchFreelyWhileTheGlobalOneIsOn) {
    WindowBench bench;
    Gif* gif = bench.doc.head;
    ParametersWindow& w = *bench.window;
    w.UseLocalPaletteBox()->click();
    EXPECT_TRUE(bench.confirmations.asked.empty());
    EXPECT_EQ(gif->usesLocalPalette, 0);

    // A frame without colours of its own starts from the global ones.
    gif->palette = EmptyPalette();
    w.UseLocalPaletteBox()->click();
    EXPECT_EQ(gif->usesLocalPalette, 1);
    EXPECT_EQ(gif->palette, bench.doc.globalPalette);
    EXPECT_TRUE(w.EditLocalPaletteButton()->isEnabled());
}

// A frame made from true colour whose reduction has not run.
void MakePending(Gif& gif) {
    gif.trueColor = std::make_shared<TrueColorBitmap>(static_cast<int32_t>(gif.width),
                                                      static_cast<int32_t>(gif.height));
    for (int32_t y = 0; y < gif.trueColor->Height(); ++y)
        for (int32_t x = 0; x < gif.trueColor->Width(); ++x)
            gif.trueColor->Set(x, y,
                               static_cast<uint32_t>(x * 40) << 16 | static_cast<uint32_t>(y * 40));
    SetIndexedReady(gif, 0);
}

TEST(ParametersWindow, APendingFrameRefusesThePaletteChoices) {
    WindowBench bench;
    Gif* gif = bench.doc.head;
    gif->transparent = 1;
    MakePending(*gif);
    ParametersWindow& w = *bench.window;
    w.Refresh();
    ASSERT_TRUE(w.TransparentSwatch()->isEnabled());

    WithoutModal([&] { w.TransparentSwatch()->click(); });
    ASSERT_EQ(bench.boxes.shown.size(), 1u);
    EXPECT_EQ(bench.boxes.shown[0].text, kWaitText);
    EXPECT_EQ(bench.boxes.shown[0].title, "Can't select transparent color now");
    EXPECT_EQ(bench.boxes.shown[0].icon, MessageIcon::Information);

    WithoutModal([&] { w.EditLocalPaletteButton()->click(); });
    ASSERT_EQ(bench.boxes.shown.size(), 2u);
    EXPECT_EQ(bench.boxes.shown[1].text, kWaitText);
    EXPECT_EQ(bench.boxes.shown[1].title, "Can't display local palette now");
    EXPECT_EQ(bench.boxes.shown[1].icon, MessageIcon::Information);
    EXPECT_EQ(bench.Edits(), 0);
    EXPECT_EQ(gif->transparentIndex, 0);
}


TEST(ParametersWindow, AFrameUnderReductionIsShownUndecidedAndWaitedForWhenSwitched) {
    WindowBench bench;
    JobScheduler scheduler(1);
    ColorReduction reduction(&scheduler);
    reduction.Attach(&bench.document);
    PoolGate gate(scheduler);
    Gif* gif = bench.doc.head;
    MakePending(*gif);
    reduction.Start(*gif);
    ParametersWindow& w = *bench.window;
    w.Refresh();
    // The worker owns the palette and transparency until it is done.
    EXPECT_EQ(w.TransparentBox()->checkState(), Qt::PartiallyChecked);
    EXPECT_TRUE(w.UseLocalPaletteBox()->isChecked());
    EXPECT_TRUE(w.TransparentSwatch()->isEnabled());

    WithoutModal([&] { w.TransparentSwatch()->click(); });
    WithoutModal([&] { w.EditLocalPaletteButton()->click(); });
    ASSERT_EQ(bench.boxes.shown.size(), 2u);
    EXPECT_EQ(bench.boxes.shown[0].title, "Can't select transparent color now");
    EXPECT_EQ(bench.boxes.shown[1].title, "Can't display local palette now");
    EXPECT_EQ(IsIndexedReady(*gif), 0);

    // Switching transparency runs the queued reduction here first, then applies.
    w.TransparentBox()->click();
    EXPECT_EQ(IsIndexedReady(*gif), 1);
    EXPECT_EQ(gif->transparent, 1);
    EXPECT_EQ(w.TransparentBox()->checkState(), Qt::Checked);
    EXPECT_FALSE(w.TransparentBox()->isTristate());
    EXPECT_EQ(bench.Edits(), 1);

    // Ready now: the choice opens.
    WhenModal<PalettePanel>([](PalettePanel& panel) { panel.CancelButton()->click(); });
    w.TransparentSwatch()->click();
    EXPECT_EQ(bench.boxes.shown.size(), 2u);
}

TEST(ParametersWindow, TheTransparentSwatchChoosesFromTheFramesPalette) {
    WindowBench bench;
    Gif* gif = bench.doc.head;
    gif->transparent = 1;
    gif->transparentIndex = 20;
    gif->hasTransparentPixels = 0;
    gif->next->transparent = 1;
    ParametersWindow& w = *bench.window;
    w.Refresh();
    bench.ComposeAll();

    WhenModal<PalettePanel>([&](PalettePanel& panel) {
        EXPECT_EQ(panel.SelectedIndex(), 20);
        EXPECT_EQ(panel.HintText()->text().toStdString(), "Click on a Color to Select");
        Click(panel.Grid(), bench.CellCentre(panel, 8));
        panel.OkButton()->click();
    });
    w.TransparentSwatch()->click();
    EXPECT_EQ(gif->transparentIndex, 8);
    EXPECT_EQ(gif->hasTransparentPixels, 1);
    EXPECT_EQ(SwatchCentre(w.TransparentSwatch()), 0x08F707u);
    EXPECT_EQ(bench.Dropped(), (std::vector<bool>{true, true}));
    EXPECT_EQ(bench.Edits(), 1);

    WhenModal<PalettePanel>([&](PalettePanel& panel) {
        Click(panel.Grid(), bench.CellCentre(panel, 9));
        panel.CancelButton()->click();
    });
    w.TransparentSwatch()->click();
    EXPECT_EQ(gif->transparentIndex, 8);
    EXPECT_EQ(bench.Edits(), 1);
}

TEST(ParametersWindow, TheBackgroundSwatchChoosesFromTheGlobalPalette) {
    WindowBench bench;
    ParametersWindow& w = *bench.window;
    bench.ComposeAll();
    WhenModal<PalettePanel>([&](PalettePanel& panel) {
        EXPECT_EQ(panel.SelectedIndex(), 0);
        Click(panel.Grid(), bench.CellCentre(panel, 16));
        panel.OkButton()->click();
    });
    w.BackgroundSwatch()->click();
    EXPECT_EQ(bench.doc.backgroundIndex, 16);
    EXPECT_EQ(SwatchCentre(w.BackgroundSwatch()), 0xEF0310u);
    EXPECT_EQ(bench.Dropped(), (std::vector<bool>{true, true}));
    EXPECT_EQ(bench.Edits(), 1);
}

TEST(ParametersWindow, TheEditPaletteButtonsEditTheirPalettes) {
    WindowBench bench;
    ParametersWindow& w = *bench.window;
    bench.colors.Answer(0x112233);
    WhenModal<PalettePanel>([&](PalettePanel& panel) {
        EXPECT_EQ(panel.HintText()->text().toStdString(),
                  "Click on a Color to Select; double-click to Edit");
        DoubleClick(panel.Grid(), bench.CellCentre(panel, 0));
        panel.OkButton()->click();
    });
    w.EditGlobalPaletteButton()->click();
    EXPECT_EQ(bench.doc.globalPalette[0], (PaletteEntry{0x11, 0x22, 0x33}));
    EXPECT_EQ(SwatchCentre(w.BackgroundSwatch()), 0x112233u);  // background index 0

    bench.colors.Answer(0x445566);
    WhenModal<PalettePanel>([&](PalettePanel& panel) {
        DoubleClick(panel.Grid(), bench.CellCentre(panel, 1));
        panel.OkButton()->click();
    });
    w.EditLocalPaletteButton()->click();
    EXPECT_EQ(bench.doc.head->palette[1], (PaletteEntry{0x44, 0x55, 0x66}));
    EXPECT_EQ(bench.doc.globalPalette[1], (PaletteEntry{254, 3, 1}));
    EXPECT_EQ(bench.Edits(), 2);
}

TEST(ParametersWindow, ALocalDisposalRedrawsTheFramesAfterIt) {
    WindowBench bench(4);
    ParametersWindow& w = *bench.window;
    bench.current = bench.doc.FrameAt(1);
    bench.doc.FrameAt(2)->transparent = 1;  // shows what the second frame leaves behind
    w.Refresh();
    bench.ComposeAll();
    Choose(w.LocalDisposalList(), 2);
    EXPECT_EQ(bench.doc.FrameAt(1)->disposal, DisposalRestoreBackground);
    // The fourth frame covers the screen opaquely and needs nothing from before it.
    EXPECT_EQ(bench.Dropped(), (std::vector<bool>{false, true, true, false}));
    EXPECT_EQ(bench.Edits(), 1);

    // Loading the same value again is no change.
    w.Refresh();
    EXPECT_EQ(bench.Edits(), 1);
    EXPECT_EQ(w.LocalDisposalList()->currentIndex(), 2);
}

TEST(ParametersWindow, TheGlobalDisposalRedrawsEveryFrame) {
    WindowBench bench(3);
    ParametersWindow& w = *bench.window;
    bench.ComposeAll();
    w.UseGlobalDisposalBox()->click();
    EXPECT_EQ(bench.doc.useAnimationDisposal, 1);
    EXPECT_TRUE(w.GlobalDisposalList()->isEnabled());
    EXPECT_FALSE(w.LocalDisposalList()->isEnabled());
    EXPECT_EQ(bench.Dropped(), (std::vector<bool>{true, true, true}));

    bench.ComposeAll();
    Choose(w.GlobalDisposalList(), 3);
    EXPECT_EQ(bench.doc.animationDisposal, 3);
    EXPECT_EQ(bench.Dropped(), (std::vector<bool>{true, true, true}));
    EXPECT_EQ(bench.Edits(), 2);
}

TEST(ParametersWindow, AReservedDisposalIsShownAsNoneAndKept) {
    WindowBench bench;
    bench.doc.head->disposal = 5;
    bench.window->Refresh();
    EXPECT_EQ(bench.window->LocalDisposalList()->currentIndex(), -1);
    EXPECT_EQ(bench.doc.head->disposal, 5u);
    EXPECT_EQ(bench.Edits(), 0);
}

TEST(ParametersWindow, RefreshFollowsTheSelectionAndStaleControlsChangeNothing) {
    WindowBench bench;
    Gif* first = bench.doc.head;
    Gif* second = first->next;
    second->delay = 42;
    ParametersWindow& w = *bench.window;

    // The selection moved without a refresh: the edit showed the first frame, whose delay the
    // user meant; nothing is written into the second.
    bench.current = second;
    Type(w.LocalDelayEdit(), "5");
    EXPECT_EQ(second->delay, 42);
    EXPECT_EQ(Text(w.LocalDelayEdit()), "42");

    Type(w.LocalDelayEdit(), "6");
    EXPECT_EQ(second->delay, 6);
    EXPECT_EQ(first->delay, bench.doc.animationDelay);
}

TEST(ParametersWindow, ClosingRemembersThePlacementAndTellsTheShell) {
    WindowBench bench;
    ParametersWindow& w = *bench.window;
    EXPECT_EQ(bench.settings.toolWindows, 1u);
    WindowPlacement placement;
    placement.left = 40;
    placement.top = 50;
    placement.right = 440;
    placement.bottom = 650;
    w.ApplyPlacement(placement);
    w.ApplyPlacement(WindowPlacement::None());  // nothing remembered: stays
    w.close();
    EXPECT_TRUE(bench.closed);
    EXPECT_EQ(bench.settings.toolWindows, 0u);
    const WindowPlacement& kept = bench.settings.paramPlacement;
    EXPECT_EQ(kept.left, 40);
    EXPECT_EQ(kept.top, 50);
    EXPECT_EQ(kept.right, 440);
    EXPECT_EQ(kept.bottom, 650);
}

TEST(ParametersWindow, HelpOnAControlAsksForItsTopic) {
    WindowBench bench;
    bench.doc.loopCount = 2;
    ParametersWindow& w = *bench.window;
    w.Refresh();
    QApplication::setActiveWindow(&w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    for (QWidget* control : {static_cast<QWidget*>(w.LoopsEdit()),
                             static_cast<QWidget*>(w.TransparentBox()),
                             static_cast<QWidget*>(w.LocalDisposalList())}) {
        control->setFocus();
        QTest::keyClick(control, Qt::Key_F1);
        QWhatsThis::hideText();
    }
    EXPECT_EQ(bench.help.popups, (std::vector<int>{55, 68, 46}));
}

}  // namespace
}  // namespace anitrope::test
