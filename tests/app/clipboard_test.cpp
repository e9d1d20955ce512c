#include <gtest/gtest.h>

#include "app/command_ids.h"
#include "app/editor.h"
#include "app_fixtures.h"
#include "model/gif.h"
#include "scripted_dialogs.h"
#include "support/temp_file.h"

namespace anitrope::test {
namespace {

class ClipboardTest : public EditorFixture {
protected:
    void Open() {
        const std::string path = dir / "c.gif";
        WriteTestGif(path, 2, 6, 4, 0, 0);
        ASSERT_EQ(editor.OpenFile(path, OpenOrigin::Menu), 0);
    }
    static ClipboardImage Picture(int32_t w, int32_t h, uint32_t rgb) {
        return {w, h, std::vector<uint32_t>(static_cast<std::size_t>(w * h), rgb)};
    }

};

TEST_F(ClipboardTest, PasteFollowsTheClipboard) {
    EXPECT_FALSE(editor.MenuEnabled(CmdPaste));
    clipboard.image = Picture(2, 2, 0x123456);
    EXPECT_TRUE(editor.MenuEnabled(CmdPaste));
    clipboard.image.reset();
    EXPECT_FALSE(editor.MenuEnabled(CmdPaste));
}

TEST_F(ClipboardTest, CopyPutsTheFramesRectangleOfItsPictureThere) {
    Open();
    editor.Dispatch(CmdCopy);
    ASSERT_TRUE(clipboard.image);
    EXPECT_EQ(clipboard.image->width, 6);
    EXPECT_EQ(clipboard.image->height, 4);
    EXPECT_EQ(clipboard.image->pixels.front(), 0x0064C8u) << "frame 0's colour (0, 100, 200)";
}

TEST_F(ClipboardTest, PastingIntoAnEmptyEditorStartsTheAnimation) {
    clipboard.image = Picture(5, 3, 0x204060);
    editor.Dispatch(CmdPaste);
    ASSERT_TRUE(editor.HasAnimation());
    EXPECT_EQ(editor.Data().screenWidth, 5);
    EXPECT_EQ(editor.Data().screenHeight, 3);
    EXPECT_EQ(Labels(), std::vector<std::string>{"Gif : Copy of Clipboard"});
    EXPECT_TRUE(editor.Modified());
    Gif& frame = *editor.Data().head;
    editor.Doc().WaitForReduction(frame);
    EXPECT_EQ(IsIndexedReady(frame), 1) << "reduced from the pasted colours";
    EXPECT_EQ(PaletteRgb(frame.palette[frame.indexed->Get(2, 1)]), 0x204060u);
}

TEST_F(ClipboardTest, APasteOfAnotherSizeAsksAndResizesOrStops) {
    Open();
    clipboard.image = Picture(3, 3, 0xFF0000);
    boxes.Answer("&Cancel Loading");
    editor.Dispatch(CmdPaste);
    EXPECT_EQ(editor.Data().FrameCount(), 2u);
    EXPECT_EQ(boxes.shown.back().title, "Resize");

    boxes.Answer("&Ok, Resize");
    editor.Dispatch(CmdPaste);
    ASSERT_EQ(editor.Data().FrameCount(), 3u);
    Gif& pasted = *editor.Data().FrameAt(1);
    editor.Doc().WaitForReduction(pasted);
    EXPECT_EQ(pasted.width, 6u);
    EXPECT_EQ(pasted.height, 4u);
    EXPECT_EQ(Labels()[1], "Gif : Copy of Clipboard");
}

TEST_F(ClipboardTest, CutCopiesAndRemoves) {
    Open();
    settings.confirmDelete = 0;
    editor.Dispatch(CmdCut);
    EXPECT_TRUE(clipboard.image);
    EXPECT_EQ(editor.Data().FrameCount(), 1u);
    EXPECT_EQ(editor.Doc().UndoName(), "Cut");
}

}  // namespace
}  // namespace anitrope::test
