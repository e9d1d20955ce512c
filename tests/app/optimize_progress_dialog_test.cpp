#include "app/optimize_progress_dialog.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include "app/command_ids.h"
#include "app/editor.h"
#include "app_fixtures.h"
#include "model/gif.h"
#include "scripted_dialogs.h"
#include "support/temp_file.h"

namespace anitrope::test {
namespace {

TEST(OptimizeProgressDialog, ShowsTextAndBarAndTakesAnAbort) {
    OptimizeProgressDialog dialog(nullptr);
    EXPECT_EQ(dialog.windowTitle(), "Optimizing Images ...");
    EXPECT_EQ(dialog.Text()->text(), "Optimizing");
    EXPECT_EQ(dialog.AbortButton()->text(), "&Abort");
    dialog.SetText("Optimizing Palette");
    dialog.SetPercent(49);
    EXPECT_EQ(dialog.Text()->text(), "Optimizing Palette");
    EXPECT_EQ(dialog.Bar()->value(), 50);
    dialog.SetPercent(100);
    EXPECT_EQ(dialog.Bar()->value(), 100);
    EXPECT_FALSE(dialog.Aborted());
    dialog.AbortButton()->click();
    EXPECT_TRUE(dialog.Aborted());
}

TEST(OptimizeProgressDialog, AnAbortedOptimizationLeavesTheOtherFramesUntouched) {
    TempDir dir;
    const std::string path = dir / "a.gif";
    WriteTestGif(path, 4, 16, 12);
    Settings settings;
    ScriptedMessageBoxes boxes;
    ScriptedFileChooser files;
    MemoryClipboard clipboard;
    Editor editor(settings, boxes, files, clipboard);
    ASSERT_EQ(editor.OpenFile(path, OpenOrigin::Menu), 0);
    editor.makeProgress = [] {
        auto dialog = std::make_unique<OptimizeProgressDialog>(nullptr);
        dialog->AbortButton()->click();  // the user aborts at once
        return dialog;
    };
    editor.Dispatch(CmdOptimize);
    // Stopped after the first frame: the others were not cut, nor moved to a shared palette.
    for (Gif* g = editor.Data().head->next; g; g = g->next) {
        EXPECT_EQ(g->width, 16u);
        EXPECT_EQ(g->height, 12u);
    }
    EXPECT_EQ(editor.Data().globalPalettePresent, 0);
}

}  // namespace
}  // namespace anitrope::test
