// Browsing changes nothing; every edit comes back with Undo and goes again with Redo. Both are
// tried through the real window, with the Parameters window open.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeView>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "app/about_box.h"
#include "app/color_swatch.h"
#include "app/command_ids.h"
#include "app/effect_dialog.h"
#include "app/main_window.h"
#include "app/outline_model.h"
#include "app/options_dialog.h"
#include "app/palette_grid.h"
#include "app/palette_panel.h"
#include "app/parameters_window.h"
#include "app/preview_pane.h"
#include "app_fixtures.h"
#include "panel_fixtures.h"
#include "scripted_dialogs.h"
#include "support/animation_dump.h"
#include "support/gif_builder.h"
#include "support/picture_files.h"
#include "support/temp_file.h"

namespace anitrope::test {
namespace {

// A file that gives every control something other than its default: delays, all four
// disposals, transparency, local and global palettes, comments on a frame and on the file, a
// loop count. Eight frames of 8 x 6 on a 12 x 9 screen.
std::string WriteRichGif(const std::string& path) {
    const ColorTable global = DistinctColors(16);
    GifBuilder gif;
    gif.Header().Screen({.width = 12, .height = 9, .globalColors = global, .background = 3}).NetscapeLoop(4);
    for (int k = 0; k < 8; ++k) {
        std::vector<uint8_t> pixels(8 * 6);
        for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<uint8_t>((i + k) % 8);
        GraphicControl control{.disposal = static_cast<uint8_t>(k % 4), .delay = static_cast<uint16_t>(5 + 7 * k)};
        if (k % 3 == 1) control.transparentIndex = 2;
        gif.Control(control);
        if (k == 2) gif.Comment({"a frame's note"});
        ImageHeader header{.left = static_cast<uint16_t>(k % 5), .top = static_cast<uint16_t>(k % 4), .width = 8, .height = 6};
        if (k % 2 == 1) header.localColors = DistinctColors(8);
        gif.Image(header, pixels);
    }
    gif.Comment({"the file's note"}).Trailer();
    WriteBytes(path, gif.Bytes());
    return path;
}

class DocumentCoreTest : public ::testing::Test, public WindowWorld {
public:
    DocumentCoreTest() {
        window.show();
        window.Core().onArmTimer = [](int) {};  // playback is stepped by hand
        window.Core().onStopTimer = [] {};
        EXPECT_EQ(window.Core().OpenFile(WriteRichGif(dir / "rich.gif"), OpenOrigin::Menu), 0);
        window.ToggleParameters();
        QApplication::processEvents();
    }

    Editor& editor() { return window.Core(); }
    ParametersWindow& parameters() { return *window.Parameters(); }
    std::string Dump() { return DumpDocument(editor().Data()); }

    // Every item of the tree view, depth first.
    std::vector<QModelIndex> TreeIndexes() {
        std::vector<QModelIndex> indexes;
        const QAbstractItemModel& model = *window.TreePane()->model();
        std::function<void(const QModelIndex&)> walk = [&](const QModelIndex& parent) {
            for (int row = 0; row < model.rowCount(parent); ++row) {
                const QModelIndex index = model.index(row, 0, parent);
                indexes.push_back(index);
                walk(index);
            }
        };
        walk({});
        return indexes;
    }
    void Key(int key) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(window.TreePane(), &press);
    }
};

// A long random walk of looking: clicks and arrow keys in the tree, playback, and every
// dialog opened and cancelled, with the Parameters window following along. Nothing of the
// document changes and it never counts as modified.
TEST_F(DocumentCoreTest, BrowsingPlayingAndCancelledDialogsChangeNothing) {
    const std::string before = Dump();
    ASSERT_FALSE(editor().Modified());
    std::mt19937 random(20261208);
    const std::vector<std::pair<const char*, std::function<void()>>> actions{
        {"click an item",
         [&] {
             const std::vector<QModelIndex> indexes = TreeIndexes();
             window.TreePane()->setCurrentIndex(indexes[random() % indexes.size()]);
         }},
        {"arrow down", [&] { Key(Qt::Key_Down); }},
        {"arrow up", [&] { Key(Qt::Key_Up); }},
        {"end", [&] { Key(Qt::Key_End); }},
        {"goto first and last",
         [&] {
             window.MenuAction(CmdGotoLast)->trigger();
             window.MenuAction(CmdGotoFirst)->trigger();
         }},
        {"play a few frames",
         [&] {
             editor().Dispatch(CmdStartAnimation);
             for (auto i = random() % 12; i > 0; --i) editor().PlaybackStep();
             editor().Dispatch(CmdStopAnimation);
         }},
        {"cancel Open", [&] { files.Cancel(); window.MenuAction(CmdOpen)->trigger(); }},
        {"cancel Save As", [&] { files.Cancel(); window.MenuAction(CmdSaveAs)->trigger(); }},
        {"cancel Export Image", [&] { files.Cancel(); editor().Dispatch(CmdExportImage); }},
        {"answer No to Delete",
         [&] {
             // Frames and groups ask first; comments would go at once.
             const SelectionKind kind = editor().Kind();
             if (kind != SelectionKind::Image && kind != SelectionKind::EffectGroup) return;
             boxes.Answer("&No");
             editor().Dispatch(CmdDelete);
         }},
        {"cancel Optimize", [&] { confirmations.Cancel(); editor().Dispatch(CmdOptimize); }},
        {"cancel UnOptimize", [&] { confirmations.Cancel(); editor().Dispatch(CmdUnoptimize); }},
        {"cancel Options",
         [&] {
             WhenModal<OptionsDialog>([](OptionsDialog& dialog) { dialog.reject(); });
             editor().Dispatch(CmdOptions);
         }},
        {"cancel a palette panel",
         [&] {
             for (QAbstractButton* button : std::initializer_list<QAbstractButton*>{
                      parameters().BackgroundSwatch(), parameters().EditGlobalPaletteButton(),
                      parameters().EditLocalPaletteButton(), parameters().TransparentSwatch()}) {
                 if (!button->isEnabled()) continue;
                 WhenModal<PalettePanel>([&](PalettePanel& panel) {
                     Click(panel.Grid(), PaletteGridGeometry(panel.Grid()->size()).CellRect(5).center());
                     panel.CancelButton()->click();
                 });
                 button->click();
             }
         }},
        {"cancel switching the global palette off",
         [&] {
             if (!parameters().UseGlobalPaletteBox()->isChecked()) return;
             confirmations.Cancel();
             parameters().UseGlobalPaletteBox()->click();
         }},
        {"refresh the Parameters window", [&] { parameters().Refresh(); }},
        {"cancel the effect dialog after trying entries",
         [&] {
             if (editor().Kind() != SelectionKind::Image) return;
             WhenModal<EffectDialog>([&](EffectDialog& dialog) {
                 dialog.EffectRadio()->click();
                 const int entry = static_cast<int>(random() % dialog.EffectList()->count());
                 dialog.EffectList()->setCurrentIndex(entry);
                 emit dialog.EffectList()->activated(entry);
                 dialog.EditsSettled();
                 dialog.NextPreviewFrame();
                 dialog.CancelButton()->click();
             });
             editor().Dispatch(CmdInsertEffect);
         }},
    };
    for (int step = 0; step < 400; ++step) {
        const auto& [name, action] = actions[random() % actions.size()];
        action();
        QApplication::processEvents();
        ASSERT_EQ(Dump(), before) << "step " << step << ": " << name;
        ASSERT_FALSE(editor().Modified()) << "step " << step << ": " << name;
        ASSERT_FALSE(editor().Doc().CanUndo()) << "step " << step << ": " << name;
    }
    EXPECT_EQ(window.windowTitle(), "rich.gif - Anitrope");
}

struct EditRow {
    const char* name;
    const char* undoName;
    std::function<void(DocumentCoreTest&)> edit;
    bool saves = false;  // the edit is saved as it is made
};

void Type(QLineEdit* edit, const QString& text) {
    edit->setText(text);
    emit edit->textEdited(text);
}

void SelectFrame(DocumentCoreTest& t, std::size_t index);

// Each kind of edit, made as a user makes it: Undo brings back exactly the document before
// it and clears the modified mark; Redo makes exactly the same document again.
TEST_F(DocumentCoreTest, EveryKindOfEditIsUndoneAndRedone) {
    const std::vector<EditRow> rows{
        {"delete a frame", "Delete", [](DocumentCoreTest& t) {
             t.boxes.Answer("&Yes");
             t.editor().Dispatch(CmdDelete);
         }},
        {"delete the global comment", "Delete", [](DocumentCoreTest& t) {
             t.editor().Select(OutlineItem::GlobalComment(0));
             t.editor().Dispatch(CmdDelete);
         }},
        {"delete a frame's comment", "Delete", [](DocumentCoreTest& t) {
             t.editor().Select(OutlineItem::Comment(t.editor().Data().FrameAt(2), 0));
             t.editor().Dispatch(CmdDelete);
         }},
        {"cut", "Cut", [](DocumentCoreTest& t) {
             t.boxes.Answer("&Yes");
             t.editor().Dispatch(CmdCut);
         }},
        {"paste", "Paste", [](DocumentCoreTest& t) {
             t.clipboard.image = ClipboardImage{8, 6, std::vector<uint32_t>(48, 0x336699)};
             t.editor().Dispatch(CmdPaste);
         }},
        {"duplicate", "Duplicate", [](DocumentCoreTest& t) { t.editor().Dispatch(CmdDuplicate); }},
        {"import a picture", "Import Image", [](DocumentCoreTest& t) {
             WriteBytes(t.dir / "add.bmp", Bmp24File(12, 9, [](int32_t x, int32_t) { return x * 0x101010u; }));
             t.editor().OpenFile(t.dir / "add.bmp", OpenOrigin::Menu);
         }},
        {"insert a file", "Import Image", [](DocumentCoreTest& t) {
             t.boxes.Answer("&Ok, Resize");
             t.editor().OpenFile(WriteRichGif(t.dir / "more.gif"), OpenOrigin::Menu);
         }},
        {"optimize", "Optimize", [](DocumentCoreTest& t) {
             t.confirmations.Ok();
             t.editor().Dispatch(CmdOptimize);
         }},
        {"unoptimize", "UnOptimize", [](DocumentCoreTest& t) {
             t.confirmations.Ok();
             t.editor().Dispatch(CmdUnoptimize);
         }},
        {"type a delay", "Delay Change", [](DocumentCoreTest& t) {
             Type(t.parameters().LocalDelayEdit(), "1");
             Type(t.parameters().LocalDelayEdit(), "12");
         }},
        {"type the global delay", "Global Delay Change", [](DocumentCoreTest& t) {
             Type(t.parameters().GlobalDelayEdit(), "33");
         }},
        {"type a loop count", "Loop Count Change", [](DocumentCoreTest& t) {
             Type(t.parameters().LoopsEdit(), "7");
         }},
        {"infinite looping", "Infinite Looping", [](DocumentCoreTest& t) {
             t.parameters().InfiniteLoopingBox()->click();
         }},
        {"choose a disposal", "Disposal Change", [](DocumentCoreTest& t) {
             t.parameters().LocalDisposalList()->setCurrentIndex(3);
             emit t.parameters().LocalDisposalList()->activated(3);
         }},
        {"use the global disposal", "Use Global Disposal", [](DocumentCoreTest& t) {
             t.parameters().UseGlobalDisposalBox()->click();
         }},
        {"use the global delay", "Use Global Delay", [](DocumentCoreTest& t) {
             t.parameters().UseGlobalDelayBox()->click();
         }},
        {"transparency", "Transparency Change", [](DocumentCoreTest& t) {
             t.parameters().TransparentBox()->click();
         }},
        {"a local palette", "Use Local Palette", [](DocumentCoreTest& t) {
             t.parameters().UseLocalPaletteBox()->click();
         }},
        {"no global palette", "Use Global Palette", [](DocumentCoreTest& t) {
             t.confirmations.Ok();
             t.parameters().UseGlobalPaletteBox()->click();
         }},
        {"the background colour", "Background Color Change", [](DocumentCoreTest& t) {
             WhenModal<PalettePanel>([](PalettePanel& panel) {
                 Click(panel.Grid(), PaletteGridGeometry(panel.Grid()->size()).CellRect(9).center());
                 panel.OkButton()->click();
             });
             t.parameters().BackgroundSwatch()->click();
         }},
        {"a palette entry", "Global Palette Change", [](DocumentCoreTest& t) {
             t.colors.Answer(0x123456);
             WhenModal<PalettePanel>([](PalettePanel& panel) {
                 DoubleClick(panel.Grid(), PaletteGridGeometry(panel.Grid()->size()).CellRect(1).center());
                 panel.OkButton()->click();
             });
             t.parameters().EditGlobalPaletteButton()->click();
         }},
        {"insert an effect", "Insert Effect", [](DocumentCoreTest& t) {
             WhenModal<EffectDialog>([](EffectDialog& dialog) {
                 const int invert = 9;
                 dialog.EffectList()->setCurrentIndex(invert);
                 emit dialog.EffectList()->activated(invert);
                 dialog.FrameCountEdit()->setText("3");
                 dialog.OkButton()->click();
             });
             t.editor().Dispatch(CmdInsertEffect);
         }},
        {"an optimized save shown in the editor", "Optimize", [](DocumentCoreTest& t) {
             t.files.Choose(t.dir / "saved.gif", 0, SaveAnimationChoices{true, true, 3});
             t.editor().Dispatch(CmdSaveAs);
         }, true},
    };
    for (const EditRow& row : rows) {
        SCOPED_TRACE(row.name);
        // Every row starts from the file as opened, the third frame selected.
        if (editor().Modified()) boxes.Answer("&No");
        editor().Dispatch(CmdNew);
        ASSERT_EQ(editor().OpenFile(dir / "rich.gif", OpenOrigin::Menu), 0);
        SelectFrame(*this, 2);
        const std::string before = Dump();

        row.edit(*this);
        editor().Doc().WaitForReductions();
        const std::string after = Dump();
        ASSERT_NE(after, before) << "the edit changed nothing";
        EXPECT_EQ(editor().Doc().UndoName(), row.undoName);
        EXPECT_EQ(window.MenuAction(CmdUndo)->text().toStdString(),
                  std::string("&Undo ") + row.undoName + "\tCtrl+Z");

        window.MenuAction(CmdUndo)->trigger();
        editor().Doc().WaitForReductions();
        EXPECT_EQ(Dump(), before);
        EXPECT_EQ(editor().Modified(), row.saves) << "back where the file was opened";
        window.MenuAction(CmdRedo)->trigger();
        editor().Doc().WaitForReductions();
        EXPECT_EQ(Dump(), after);
        window.MenuAction(CmdUndo)->trigger();
        editor().Doc().WaitForReductions();
        EXPECT_EQ(Dump(), before);
    }
}

void SelectFrame(DocumentCoreTest& t, std::size_t index) {
    t.editor().Select(OutlineItem::Frame(t.editor().Data().FrameAt(index)));
}

// The issue a user met: a deleted frame, a changed delay and an optimize, all undone with
// Ctrl+Z in reverse order, the title's mark going with them.
TEST_F(DocumentCoreTest, ThreeEditsComeBackInReverseOrderAndTheTitleFollows) {
    const std::string opened = Dump();
    EXPECT_EQ(window.windowTitle(), "rich.gif - Anitrope");
    SelectFrame(*this, 3);
    boxes.Answer("&Yes");
    editor().Dispatch(CmdDelete);
    const std::string deleted = Dump();
    EXPECT_EQ(window.windowTitle(), "rich.gif * - Anitrope");
    Type(parameters().LocalDelayEdit(), "99");
    const std::string delayed = Dump();
    confirmations.Ok();
    editor().Dispatch(CmdOptimize);
    EXPECT_NE(Dump(), delayed);
    EXPECT_EQ(window.MenuAction(CmdUndo)->text(), "&Undo Optimize\tCtrl+Z");
    EXPECT_EQ(window.MenuAction(CmdUndo)->shortcuts(),
              (QList<QKeySequence>{QKeySequence("Ctrl+Z")}));
    EXPECT_EQ(window.MenuAction(CmdRedo)->shortcuts(),
              (QList<QKeySequence>{QKeySequence("Ctrl+Y"), QKeySequence("Ctrl+Shift+Z")}));

    for (const std::string* expected : {&delayed, &deleted, &opened}) {
        window.MenuAction(CmdUndo)->trigger();
        EXPECT_EQ(Dump(), *expected);
    }
    EXPECT_FALSE(window.MenuAction(CmdUndo)->isEnabled());
    EXPECT_EQ(window.MenuAction(CmdUndo)->text(), "&Undo\tCtrl+Z");
    EXPECT_EQ(window.MenuAction(CmdRedo)->text(), "&Redo Delete\tCtrl+Y");
    EXPECT_EQ(window.windowTitle(), "rich.gif - Anitrope");
    EXPECT_EQ(editor().CurrentGif(), editor().Data().FrameAt(3)) << "the frame that came back";
}

TEST_F(DocumentCoreTest, NewAndOpeningIntoTheEmptyEditorForgetTheHistory) {
    Type(parameters().LocalDelayEdit(), "50");
    ASSERT_TRUE(editor().Doc().CanUndo());
    boxes.Answer("&No");  // don't save
    editor().Dispatch(CmdNew);
    EXPECT_FALSE(editor().Doc().CanUndo());
    EXPECT_EQ(window.windowTitle(), "Anitrope");
    ASSERT_EQ(editor().OpenFile(dir / "rich.gif", OpenOrigin::Menu), 0);
    EXPECT_FALSE(editor().Doc().CanUndo());
    EXPECT_FALSE(window.MenuAction(CmdUndo)->isEnabled());
}

TEST_F(DocumentCoreTest, SavingMarksThePlaceAndUndoingPastItModifiesAgain) {
    Type(parameters().LocalDelayEdit(), "50");
    files.Choose(dir / "out.gif");
    editor().Dispatch(CmdSaveAs);
    EXPECT_EQ(window.windowTitle(), "out.gif - Anitrope");
    window.MenuAction(CmdUndo)->trigger();
    EXPECT_EQ(window.windowTitle(), "out.gif * - Anitrope");
    window.MenuAction(CmdRedo)->trigger();
    EXPECT_EQ(window.windowTitle(), "out.gif - Anitrope");
}

// The tree shows a small picture of each frame as it is displayed, made in the background.
TEST_F(DocumentCoreTest, FrameItemsShowThumbnailsOfTheirPictures) {
    const QAbstractItemModel& model = *window.TreePane()->model();
    const QModelIndex root = model.index(0, 0);
    // The first frame item after the global comment.
    const QModelIndex first = model.index(1, 0, root);
    ASSERT_EQ(model.data(first).toString(), "Gif :rich.gif");
    model.data(first, Qt::DecorationRole);  // asks for the picture
    editor().Pictures().WaitForCompositions();
    const auto picture = editor().Pictures().CachedDisplayBitmap(*editor().Data().head);
    ASSERT_TRUE(picture);
    const QPixmap shown = model.data(first, Qt::DecorationRole).value<QPixmap>();
    const QImage expected = OutlineModel::Thumbnail(*picture);
    EXPECT_EQ(shown.toImage().convertToFormat(QImage::Format_ARGB32), expected);
    // The screen's shape: 12 x 9 fits as 32 x 24.
    EXPECT_NE(expected.pixel(0, 0) >> 24, 0u);
    EXPECT_EQ(model.data(model.index(0, 0, root), Qt::DecorationRole), QVariant()) << "no picture for a comment";
}

TEST(OutlineThumbnail, KeepsTheShapeCentredAndAveragesWhatItCovers) {
    ScreenImage wide(64, 16, 0x000000);
    for (int32_t y = 0; y < 16; ++y)
        for (int32_t x = 32; x < 64; ++x) wide.Set(x, y, 0xFF0000);
    const QImage thumb = OutlineModel::Thumbnail(wide);
    ASSERT_EQ(thumb.size(), QSize(32, 24));
    // 64 x 16 fits as 32 x 8, rows 8 to 15: transparent above and below.
    EXPECT_EQ(qAlpha(thumb.pixel(5, 2)), 0);
    EXPECT_EQ(qAlpha(thumb.pixel(5, 20)), 0);
    EXPECT_EQ(thumb.pixel(5, 10), qRgb(0, 0, 0));
    EXPECT_EQ(thumb.pixel(25, 10), qRgb(255, 0, 0));
    // A column of the thumbnail covers two of the picture; in the middle it mixes both halves.
    ScreenImage stripes(4, 3, 0);
    for (int32_t y = 0; y < 3; ++y) stripes.Set(1, y, 0x0000FE);
    const QImage small = OutlineModel::Thumbnail(stripes);
    EXPECT_EQ(small.pixel(12, 12), qRgb(0, 0, 0xFE)) << "enlarged, each pixel its own colour";
    EXPECT_EQ(small.pixel(20, 12), qRgb(0, 0, 0));
}

TEST(PreviewPicture, KeepsTheAnimationsShapeCentredInThePane) {
    struct Case {
        QRect area;
        int32_t width, height;
        QRect expected;
    };
    for (const Case& c : std::vector<Case>{
             {QRect(0, 0, 400, 300), 640, 480, QRect(0, 0, 400, 300)},
             {QRect(2, 2, 400, 400), 640, 480, QRect(2, 52, 400, 300)},
             {QRect(0, 0, 500, 300), 100, 100, QRect(100, 0, 300, 300)},
             {QRect(0, 0, 100, 100), 0, 5, QRect()},
         }) {
        EXPECT_EQ(PreviewPane::PictureRect(c.area, c.width, c.height), c.expected)
            << c.width << "x" << c.height << " in " << c.area.width() << "x" << c.area.height();
    }
}

}  // namespace
}  // namespace anitrope::test
