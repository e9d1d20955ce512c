// The "Select Effect/Transition" dialog over a small document, and the commands that insert
// what it chose.

#include "app/effect_dialog.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeView>

#include "app/command_ids.h"
#include "app/settings.h"
#include "app_fixtures.h"
#include "effects/effect_entry.h"
#include "model/document.h"
#include "panel_fixtures.h"
#include "scripted_dialogs.h"
#include "support/animation_dump.h"

namespace anitrope::test {
namespace {

int IndexOf(bool effect, const char* name) {
    const EffectEntry* entry = FindEntry(effect, name);
    EXPECT_NE(entry, nullptr) << name;
    return static_cast<int>(entry - EntryTable(effect).data());
}

std::string Text(const QLabel* label) { return label->text().toStdString(); }
std::string Text(const QLineEdit* edit) { return edit->text().toStdString(); }

// Picks an entry in one of the two name lists as the user does.
void Choose(QComboBox* list, int index) {
    list->setCurrentIndex(index);
    emit list->activated(index);
}

// Two frames of 8 x 8 (or a first one of another size) with palette entry k = {k, 255-k, 7}.
class EffectDialogTest : public ::testing::Test {
protected:
    explicit EffectDialogTest(int frames = 2) {
        Animation& doc = test::Setup(document);
        for (int i = 0; i < frames; ++i) {
            Gif* gif = AppendFrame(doc, 8, 8);
            for (int32_t y = 0; y < 8; ++y)
                for (int32_t x = 0; x < 8; ++x) gif->indexed->Set(x, y, static_cast<uint8_t>(x + 8 * i));
        }
    }
    Gif& First() { return *document.Data().head; }

    std::unique_ptr<EffectDialog> Open() {
        params.noTransition = First().next ? 0 : 1;
        EffectDialogContext context{document, First(), settings, boxes, confirmations, nullptr, nullptr};
        context.chooseColor = [this](Gif&) -> std::optional<int> { return chosenColor; };
        return std::make_unique<EffectDialog>(std::move(context), params, color);
    }
    std::string LastMessage() const { return boxes.shown.empty() ? "" : boxes.shown.back().text; }

    Document document;
    Settings settings;
    ScriptedMessageBoxes boxes;
    ScriptedConfirmations confirmations;
    EffectParams params;
    int32_t color = 0;
    std::optional<int> chosenColor;
};

class SingleFrameDialogTest : public EffectDialogTest {
protected:
    SingleFrameDialogTest() : EffectDialogTest(1) {}
};

TEST_F(SingleFrameDialogTest, WithoutSuccessorOnlyEffectsAreOffered) {
    auto dialog = Open();
    EXPECT_EQ(dialog->windowTitle().toStdString(),
              "Select Effect - (Transition not possible -> no second image)");
    EXPECT_EQ(params.isEffect, 1);
    EXPECT_TRUE(dialog->EffectRadio()->isChecked());

    dialog->TransitionRadio()->click();
    EXPECT_EQ(LastMessage(), "Transitions can only be performed between the selected Image and its successor.");
    EXPECT_EQ(boxes.shown.back().title, "Warning");
    EXPECT_TRUE(dialog->EffectRadio()->isChecked());
    EXPECT_EQ(params.isEffect, 1);
}

TEST_F(EffectDialogTest, ASuccessorOfAnotherSizeRulesOutTransitions) {
    test::Setup(document).FrameAt(1)->width = 6;
    auto dialog = Open();
    EXPECT_EQ(dialog->windowTitle().toStdString(), "Size of second Image doesn't match");
    EXPECT_EQ(params.isEffect, 1);
    EXPECT_EQ(params.noTransition, 1);
}

// The count is checked 500 ms after typing: refused counts are put back.
TEST_F(EffectDialogTest, RefusedFrameCountsAreReportedAndPutBack) {
    struct Row {
        const char* typed;
        bool pingPong;
        const char* message;
    };
    for (const Row& row : {Row{"0", false, "Number of Frames must be larger than Zero !"},
                           Row{"-3", false, "Number of Frames must be larger than Zero !"},
                           Row{"1", true, "Number of Frames must be larger than one if PingPong is selected !"},
                           Row{"1", false, ""}}) {
        SCOPED_TRACE(row.typed);
        params = EffectParams{};
        params.transitionIndex = IndexOf(false, "Overblend");
        boxes.shown.clear();
        auto dialog = Open();
        if (row.pingPong) dialog->PingPongBox()->click();
        dialog->FrameCountEdit()->setText(row.typed);
        EXPECT_TRUE(dialog->EditsPending());
        dialog->EditsSettled();
        EXPECT_EQ(LastMessage(), row.message);
        if (*row.message) {
            EXPECT_EQ(boxes.shown.back().title, "Invalid Parameter");
            EXPECT_EQ(Text(dialog->FrameCountEdit()), "10");
            EXPECT_EQ(params.frameCount, 10);
        } else {
            EXPECT_EQ(params.frameCount, 1);
        }
    }
}

TEST_F(EffectDialogTest, PingPongNeedsTwoFramesAndOkNeedsOne) {
    params.frameCount = 1;
    auto dialog = Open();
    dialog->PingPongBox()->click();
    EXPECT_EQ(LastMessage(), "PingPong requires at least two frames.");
    EXPECT_FALSE(dialog->PingPongBox()->isChecked());
    EXPECT_EQ(params.pingPong, 0);

    dialog->FrameCountEdit()->setText("0");
    dialog->OkButton()->click();
    EXPECT_EQ(LastMessage(), "Number of Frames must be larger than Zero !");
    EXPECT_NE(dialog->result(), QDialog::Accepted);
}

// Choosing another entry puts its own labels and defaults into the slots; what was typed for
// the one before is gone.
TEST_F(EffectDialogTest, SwitchingEntriesStartsFromTheirDefaults) {
    params.isEffect = 1;
    params.effectIndex = IndexOf(true, "Emboss");
    auto dialog = Open();
    EXPECT_EQ(Text(dialog->ValueLabel(1)), "Strength(0-100)");
    EXPECT_EQ(Text(dialog->ValueLabel(2)), "Bias(0-255)");
    EXPECT_EQ(Text(dialog->ValueEdit(2)), "128");
    dialog->ValueEdit(1)->setText("55");

    Choose(dialog->EffectList(), IndexOf(true, "Blur"));
    EXPECT_EQ(Text(dialog->ValueEdit(1)), "20");
    EXPECT_FALSE(dialog->ValueEdit(2)->isEnabled());
    EXPECT_EQ(Text(dialog->ValueLabel(2)), "not used");
    EXPECT_EQ(dialog->Description()->text().toStdString(), "Blurs the image(s)");
    EXPECT_EQ(params.effectIndex, IndexOf(true, "Blur"));

    // The transition table brings its own entry.
    params.transitionIndex = 0;
    dialog->TransitionRadio()->click();
    Choose(dialog->TransitionList(), IndexOf(false, "Color Blending"));
    EXPECT_EQ(dialog->CheckBox(2)->text().toStdString(), "Blend Out");
    EXPECT_TRUE(dialog->CheckBox(2)->isChecked());
    EXPECT_FALSE(dialog->ColorSwatchWidget()->isEnabled());
    EXPECT_EQ(params.isEffect, 0);

    // An out-of-range value is refused on OK, focused, and the dialog stays.
    Choose(dialog->TransitionList(), IndexOf(false, "Emboss"));
    dialog->ValueEdit(2)->setText("300");
    dialog->OkButton()->click();
    EXPECT_EQ(LastMessage(), "Valid values for Bias : 0-255");
    EXPECT_EQ(boxes.shown.back().title, "Parameter out of Range");
    EXPECT_NE(dialog->result(), QDialog::Accepted);
}

TEST_F(EffectDialogTest, OkStoresTheControlsAndCancelRestoresTheRecord) {
    params.frameCount = 6;
    params.transitionIndex = IndexOf(false, "Emboss");
    params.colorIndex = 4;
    const EffectParams opened = params;
    {
        auto dialog = Open();
        dialog->EffectRadio()->click();
        Choose(dialog->EffectList(), IndexOf(true, "Invert"));
        dialog->PingPongBox()->click();
        dialog->FrameCountEdit()->setText("3");
        dialog->EditsSettled();
        dialog->CancelButton()->click();
    }
    EffectParams expected = opened;
    expected.colorIndex = -1;
    EXPECT_EQ(std::tie(params.frameCount, params.isEffect, params.pingPong, params.effectIndex,
                       params.transitionIndex, params.colorIndex),
              std::tie(expected.frameCount, expected.isEffect, expected.pingPong, expected.effectIndex,
                       expected.transitionIndex, expected.colorIndex));

    auto dialog = Open();
    dialog->ValueEdit(1)->setText("30");
    dialog->ValueEdit(2)->setText("-7");
    dialog->OkButton()->click();  // the entry's own check refuses the negative bias first
    EXPECT_EQ(LastMessage(), "Valid values for Bias : 0-255");
    dialog->ValueEdit(2)->setText("100");
    dialog->OkButton()->click();
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(params.value1, 30);
    EXPECT_EQ(params.value2, 100);
    EXPECT_EQ(params.isEffect, 0);
    EXPECT_EQ(params.preview, 0);
}

// An entry may propose another count (Spiral's grid): Yes puts it into the dialog.
TEST_F(EffectDialogTest, AProposedCountIsTakenOnYes) {
    params.transitionIndex = IndexOf(false, "Spiral");
    auto dialog = Open();
    boxes.Answer("&Yes");
    dialog->EditsSettled();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].title, "Spiral grid doesn't correspond to Nr. of Frames");
    const std::string proposed = "Use " + Text(dialog->FrameCountEdit()) + " frames instead of 10 ?";
    EXPECT_NE(boxes.shown[0].text.find(proposed), std::string::npos) << boxes.shown[0].text;
    EXPECT_TRUE(dialog->PreviewRunning());
}

// The colour chosen for an entry may be the frame's transparent one: OK asks first, unless
// the question was silenced for good.
TEST_F(EffectDialogTest, TheTransparentColourIsConfirmed) {
    First().transparent = 1;
    First().transparentIndex = 3;
    params.isEffect = 1;
    params.effectIndex = IndexOf(true, "Fade Out");
    params.colorIndex = -1;  // the dialog then starts at the transparent index
    auto dialog = Open();
    EXPECT_EQ(color, 3);
    confirmations.Cancel();
    dialog->OkButton()->click();
    EXPECT_EQ(confirmations.asked.size(), 1u);
    EXPECT_NE(dialog->result(), QDialog::Accepted);

    settings.transparentWarning = 1;
    dialog->OkButton()->click();
    EXPECT_EQ(confirmations.asked.size(), 1u);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(params.colorIndex, 3);
}

// The preview animates the frames the entry makes, on copies when the frame is large, and
// never touches the document.
TEST_F(EffectDialogTest, PreviewAnimatesWithoutTouchingTheDocument) {
    for (int32_t width : {8, 200}) {
        SCOPED_TRACE(width);
        const int32_t height = width == 8 ? 8 : 60;  // 12000 pixels are previewed from copies
        for (Gif* gif = test::Setup(document).head; gif; gif = gif->next) {
            gif->width = static_cast<uint32_t>(width);
            gif->height = static_cast<uint32_t>(height);
            gif->indexed = std::make_shared<IndexedBitmap>(gif, width, height);
        }
        const std::string before = DumpDocument(document.Data());
        params = EffectParams{};
        params.transitionIndex = IndexOf(false, "Fade");
        settings.fixedPreviewFrames = 1;
        settings.previewFrames = 4;
        auto dialog = Open();
        dialog->EditsSettled();
        ASSERT_TRUE(dialog->PreviewRunning());
        EXPECT_EQ(dialog->PreviewFrameCount(), 4);
        std::vector<int> shown;
        for (int i = 0; i < 5; ++i) {
            dialog->NextPreviewFrame();
            shown.push_back(dialog->PreviewFrameShown());
        }
        EXPECT_EQ(shown, (std::vector<int>{0, 1, 2, 3, 0}));
        dialog->PreviewBox()->click();
        EXPECT_FALSE(dialog->PreviewRunning());
        dialog->CancelButton()->click();
        EXPECT_EQ(DumpDocument(document.Data()), before);
    }
}

// The commands: the dialog's choice is computed and inserted after the current frame as one
// group, one edit.
class InsertEffectTest : public EditorFixture {
protected:
    void SetUp() override {
        WriteTestGif(dir / "three.gif", 3, 24, 20);
        ASSERT_EQ(editor.OpenFile(dir / "three.gif", OpenOrigin::Menu), 0);
        editor.Select(ImageItem(0));
    }
};

TEST_F(InsertEffectTest, ATransitionGoesBetweenTheFrameAndItsSuccessor) {
    Gif* first = editor.Data().FrameAt(0);
    Gif* second = editor.Data().FrameAt(1);
    editor.chooseEffect = [](EffectParams& p) {
        EXPECT_EQ(p.isEffect, 0);
        EXPECT_EQ(p.noTransition, 0);
        p.transitionIndex = IndexOf(false, "Fade");
        p.frameCount = 3;
        return true;
    };
    editor.Dispatch(CmdInsertTransition);
    EXPECT_EQ(Labels(), (std::vector<std::string>{"Gif :three.gif", "Trans 1: Fade", "Gif :Fade (1/3)",
                                                  "Gif :Fade (2/3)", "Gif :Fade (3/3)", "Gif :three.gif",
                                                  "Gif :three.gif"}));
    EXPECT_EQ(editor.Data().FrameAt(0), first);
    EXPECT_EQ(editor.Data().FrameAt(4), second);
    EXPECT_EQ(editor.CurrentGif(), editor.Data().FrameAt(1));
    EXPECT_TRUE(editor.Modified());
    EXPECT_EQ(editor.Doc().UndoName(), "Insert Transition");

    // Frame 1 of 3 lies a quarter of the way: palette entry 0 goes from red 0 to red 40.
    editor.Doc().WaitForReductions();
    const Gif& made = *editor.Data().FrameAt(1);
    EXPECT_EQ(EffectivePalette(made)[made.indexed->Get(0, 0)].red, 10);

    editor.Undo();
    EXPECT_EQ(editor.Data().FrameCount(), 3u);
}

TEST_F(InsertEffectTest, PreconditionsAndFailuresLeaveTheDocumentAlone) {
    const std::string before = DumpDocument(editor.Data());
    int asked = 0;
    editor.chooseEffect = [&](EffectParams& p) {
        ++asked;
        // One frame played forwards and back is no fade: the computation fails.
        p.effectIndex = IndexOf(true, "Fade Out");
        p.frameCount = 1;
        p.pingPong = 1;
        return true;
    };
    editor.Select(OutlineItem::Root());
    editor.Dispatch(CmdEffectButton);
    EXPECT_EQ(boxes.shown.back().text, "Please select an image file prior to applying an Effect/Transition.");
    EXPECT_EQ(asked, 0);

    editor.Select(ImageItem(2));
    editor.Dispatch(CmdInsertEffect);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(editor.Effects().noTransition, 1);
    EXPECT_EQ(boxes.shown.back().text, "An Error occured while calculating the last animation :-(");
    EXPECT_EQ(DumpDocument(editor.Data()), before);
    EXPECT_FALSE(editor.Modified());

    editor.chooseEffect = [&](EffectParams&) { return false; };  // Cancel
    editor.Dispatch(CmdEffectButton);
    EXPECT_EQ(DumpDocument(editor.Data()), before);
}


// Every entry that is built previews in the dialog with its own defaults and inserts its
// frames through the commands, on an effect's frame and on a transition's pair.
TEST_F(InsertEffectTest, EveryAvailableEntryPreviewsAndInserts) {
    for (bool effect : {true, false}) {
        const auto table = EntryTable(effect);
        for (std::size_t index = 0; index < table.size(); ++index) {
            if (!table[index].Available()) continue;
            SCOPED_TRACE(table[index].name);
            editor.Select(ImageItem(0));
            EffectParams& params = editor.Effects();
            params.isEffect = effect;
            (effect ? params.effectIndex : params.transitionIndex) = static_cast<int32_t>(index);
            params.frameCount = 4;
            params.colorIndex = 1;
            int previewFrames = -1;
            editor.chooseEffect = [&](EffectParams& p) {
                ScriptedConfirmations confirmations;
                EffectDialog dialog(EffectDialogContext{editor.Doc(), *editor.CurrentGif(), settings,
                                                        boxes, confirmations, nullptr, nullptr},
                                    p, editor.EffectColor());
                dialog.EditsSettled();
                previewFrames = dialog.PreviewFrameCount();
                dialog.OkButton()->click();
                return dialog.result() == QDialog::Accepted;
            };
            const std::size_t before = editor.Data().FrameCount();
            editor.Dispatch(effect ? CmdInsertEffect : CmdInsertTransition);
            // A few entries make more frames than asked for (Rotor turns all the way).
            EXPECT_GE(previewFrames, 4);
            EXPECT_EQ(editor.Data().FrameCount(), before + static_cast<std::size_t>(previewFrames))
                << (boxes.shown.empty() ? "" : boxes.shown.back().text);
            editor.Undo();
        }
    }
}

// Through the window and the real dialog: the new group is open in the tree with its first
// frame selected.
TEST(EffectWindow, TheInsertedGroupShowsItsFirstFrame) {
    WindowWorld world;
    world.window.show();
    WriteTestGif(world.dir / "three.gif", 3, 6, 5);
    ASSERT_EQ(world.window.Core().OpenFile(world.dir / "three.gif", OpenOrigin::Menu), 0);
    Editor& editor = world.window.Core();
    editor.Select(OutlineItem::Frame(editor.Data().head));
    WhenModal<EffectDialog>([](EffectDialog& dialog) {
        Choose(dialog.TransitionList(), IndexOf(false, "Fade"));
        dialog.FrameCountEdit()->setText("3");
        dialog.OkButton()->click();
    });
    world.window.MenuAction(CmdInsertTransition)->trigger();
    QApplication::processEvents();
    EXPECT_EQ(editor.Selected().kind, OutlineKind::Frame);
    EXPECT_EQ(editor.CurrentGif(), editor.Data().FrameAt(1));
    EXPECT_EQ(world.window.TreePane()->currentIndex().data().toString(), "Gif :Fade (1/3)");
}
}  // namespace
}  // namespace anitrope::test
