#include "app/editor.h"

#include <gtest/gtest.h>

#include "app/command_ids.h"
#include "app_fixtures.h"
#include "model/gif.h"
#include "scripted_dialogs.h"
#include "support/temp_file.h"

namespace anitrope::test {
namespace {

class EditorTest : public EditorFixture {
protected:
    std::string MakeGif(const char* name, int frames, int32_t w = 8, int32_t h = 6, int32_t left = 0,
                    int32_t top = 0, int comments = 0) {
        const std::string path = dir / name;
        WriteTestGif(path, frames, w, h, left, top, comments);
        return path;
    }
    bool Menu(int command) { return editor.MenuEnabled(command); }
    // What the rule says, before commands whose work comes later are grayed.
    bool Rule(int command) { return FindCommand(command)->menu(editor.State()); }

};

TEST_F(EditorTest, AnEmptyEditorOffersOnlyWhatNeedsNoDocument) {
    for (int command : {CmdOpen, CmdExit, CmdOptions, CmdAbout}) EXPECT_TRUE(Menu(command)) << command;
    for (int command : {CmdSaveAs, CmdNew, CmdExportImage, CmdExportAll, CmdCopy, CmdCut, CmdDelete,
                        CmdDuplicate, CmdInsertEffect, CmdInsertTransition, CmdOptimize,
                        CmdUnoptimize, CmdGotoFirst, CmdStartAnimation, CmdGotoLast, CmdComment,
                        CmdResize})
        EXPECT_FALSE(Rule(command)) << command;
}

TEST_F(EditorTest, OpeningIntoTheEmptyEditorListsEveryFrameAndSelectsTheFirst) {
    const std::string path = MakeGif("three.gif", 3, 8, 6, 0, 0, 2);
    files.Choose(path);
    editor.Dispatch(CmdOpen);
    ASSERT_TRUE(editor.HasAnimation());
    EXPECT_EQ(files.asked.at(0).title, "Load Image");
    EXPECT_EQ(files.asked.at(0).filters.size(), 13u);
    EXPECT_EQ(Labels(), (std::vector<std::string>{"Gif :three.gif", "Comment [1]", "Comment [2]",
                                                  "Gif :three.gif", "Comment [1]", "Comment [2]",
                                                  "Gif :three.gif", "Comment [1]", "Comment [2]"}));
    EXPECT_EQ(editor.CurrentGif(), editor.Data().head);
    EXPECT_EQ(editor.Kind(), SelectionKind::Image);
    EXPECT_EQ(settings.path, path);
    EXPECT_EQ(settings.pathSave, path) << "the first file of an empty editor seeds the save path";
    EXPECT_EQ(settings.history[0], path);
    EXPECT_EQ(MenuText(CmdResize, editor.State()), "&Resize All");
    for (int command : {CmdDelete, CmdGotoFirst, CmdGotoLast}) EXPECT_TRUE(Menu(command)) << command;
    EXPECT_TRUE(Rule(CmdInsertTransition)) << "the first frame has a successor";
}

TEST_F(EditorTest, AFileThatIsNoGifIsRefusedAndChangesNothing) {
    const std::string bad = dir / "bad.gif";
    { std::FILE* f = std::fopen(bad.c_str(), "wb"); std::fputs("not a gif", f); std::fclose(f); }
    EXPECT_EQ(editor.OpenFile(bad, OpenOrigin::Menu), -1);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "Loading Gif");
    EXPECT_EQ(boxes.shown[0].title, "Error");
    EXPECT_FALSE(editor.HasAnimation());
    EXPECT_EQ(settings.history[0], "");
}

TEST_F(EditorTest, InsertingAFileOfAnotherSizeAsksAndCancelLeavesAll) {
    editor.OpenFile(MakeGif("big.gif", 2, 8, 6), OpenOrigin::Menu);
    const std::vector<std::string> before = Labels();
    boxes.Answer("&Cancel Loading");
    EXPECT_EQ(editor.OpenFile(MakeGif("small.gif", 1, 4, 3), OpenOrigin::Menu), -1);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].title, "Resize");
    EXPECT_NE(boxes.shown[0].text.find("Shall the new image be resized ?"), std::string::npos);
    EXPECT_EQ(Labels(), before);
    EXPECT_EQ(editor.Data().FrameCount(), 2u);
}

TEST_F(EditorTest, InsertingAndResizingPutsTheFramesAfterTheCurrentOne) {
    editor.OpenFile(MakeGif("big.gif", 2, 8, 6), OpenOrigin::Menu);
    boxes.Answer("&Ok, Resize");
    ASSERT_EQ(editor.OpenFile(MakeGif("small.gif", 2, 4, 3), OpenOrigin::Menu), 0);
    EXPECT_EQ(Labels(), (std::vector<std::string>{"Gif :big.gif", "Gif :small.gif",
                                                  "Gif :small.gif", "Gif :big.gif"}));
    const Animation& doc = editor.Data();
    ASSERT_EQ(doc.FrameCount(), 4u);
    editor.Pictures().WaitForCompositions();
    for (std::size_t k : {1u, 2u}) {
        Gif& frame = *doc.FrameAt(k);
        editor.Doc().WaitForReduction(frame);
        EXPECT_EQ(frame.width, 8u) << k;
        EXPECT_EQ(frame.height, 6u) << k;
        EXPECT_EQ(frame.name, "small.gif");
    }
    EXPECT_EQ(editor.CurrentGif(), doc.FrameAt(1));
    EXPECT_EQ(settings.history[0], dir / "small.gif");
    EXPECT_EQ(settings.history[1], dir / "big.gif");
}

TEST_F(EditorTest, WithTheRootSelectedNewFramesGoToTheFront) {
    editor.OpenFile(MakeGif("a.gif", 1), OpenOrigin::Menu);
    editor.Select(OutlineItem::Root());
    ASSERT_EQ(editor.OpenFile(MakeGif("b.gif", 1), OpenOrigin::Menu), 0);
    EXPECT_EQ(Labels(), (std::vector<std::string>{"Gif :b.gif", "Gif :a.gif"}));
    EXPECT_EQ(editor.Data().head->name, "b.gif");
}

TEST_F(EditorTest, EnableRulesFollowTheSelectionKind) {
    editor.OpenFile(MakeGif("c.gif", 2, 8, 6, 0, 0, 1), OpenOrigin::Menu);
    // Root: image commands grayed.
    editor.Select(OutlineItem::Root());
    EXPECT_EQ(editor.Kind(), SelectionKind::None);
    for (int command : {CmdCopy, CmdCut, CmdDelete, CmdDuplicate, CmdExportImage, CmdExportAll,
                        CmdInsertEffect, CmdInsertTransition})
        EXPECT_FALSE(Rule(command)) << command;
    EXPECT_TRUE(Rule(CmdBannerText));
    // The second image has no successor: no transition.
    editor.Select(ImageItem(1));
    EXPECT_EQ(editor.Kind(), SelectionKind::Image);
    EXPECT_EQ(editor.CurrentGif(), editor.Data().FrameAt(1));
    EXPECT_FALSE(Rule(CmdInsertTransition));
    for (int command : {CmdInsertEffect, CmdCopy, CmdCut, CmdDuplicate, CmdExportImage,
                        CmdExportAll, CmdDelete, CmdOptimize, CmdUnoptimize})
        EXPECT_TRUE(Rule(command)) << command;
    // A comment: delete and export all stay, image commands go, Comment stays.
    editor.Select(*editor.Items().NextItem(ImageItem(0)));
    EXPECT_EQ(editor.Kind(), SelectionKind::Comment);
    EXPECT_TRUE(Rule(CmdDelete));
    EXPECT_TRUE(Rule(CmdExportAll));
    EXPECT_TRUE(Rule(CmdComment));
    for (int command : {CmdExportImage, CmdInsertEffect, CmdInsertTransition, CmdPaste, CmdCut,
                        CmdCopy, CmdDuplicate, CmdBannerText})
        EXPECT_FALSE(Rule(command)) << command;
    EXPECT_FALSE(ToolbarEnabled(CmdInsertEffect, editor.State()));
    EXPECT_EQ(editor.CurrentGif(), editor.Data().FrameAt(1)) << "kept from the last image";
    EXPECT_TRUE(Menu(CmdExportAll));
}

TEST_F(EditorTest, AGlobalCommentItemKeepsCommentAndDelete) {
    const std::string example = std::string(ANITROPE_SOURCE_DIR) + "/examples/bounce.gif";
    ASSERT_EQ(editor.OpenFile(example, OpenOrigin::Menu), 0);
    const OutlineItem global = *editor.Items().NextItem(OutlineItem::Root());
    ASSERT_EQ(editor.Items().Label(global), "GlobalComment [1]");
    editor.Select(global);
    EXPECT_EQ(editor.Kind(), SelectionKind::GlobalComment);
    EXPECT_TRUE(Rule(CmdComment));
    EXPECT_TRUE(Rule(CmdDelete));
    EXPECT_FALSE(Rule(CmdCopy));
    // Deleting it asks nothing and leaves the frames.
    editor.Dispatch(CmdDelete);
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(editor.Data().globalComments.Size(), 0u);
    EXPECT_EQ(editor.Data().FrameCount(), 12u);
}

TEST_F(EditorTest, RemovingTheLastFrameReturnsToTheEmptyEditor) {
    editor.OpenFile(MakeGif("one.gif", 1), OpenOrigin::Menu);
    boxes.Answer("&Yes");
    editor.Dispatch(CmdDelete);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].title, "Confirm Removal");
    EXPECT_FALSE(editor.HasAnimation());
    EXPECT_EQ(editor.CurrentGif(), nullptr);
    EXPECT_EQ(editor.Items().ItemCount(), 1u);
    EXPECT_FALSE(editor.Modified());
    EXPECT_FALSE(Rule(CmdDelete));
    EXPECT_FALSE(Rule(CmdResize));
    EXPECT_TRUE(Menu(CmdOpen));
}

TEST_F(EditorTest, GotoFirstAndLastWalkTheImages) {
    editor.OpenFile(MakeGif("d.gif", 3, 8, 6, 0, 0, 1), OpenOrigin::Menu);
    editor.Dispatch(CmdGotoLast);
    EXPECT_EQ(editor.CurrentGif(), editor.Data().FrameAt(2));
    editor.Dispatch(CmdGotoFirst);
    EXPECT_EQ(editor.CurrentGif(), editor.Data().FrameAt(0));
}

TEST_F(EditorTest, DroppedFilesAreCheckedByExtension) {
    editor.DropFiles({dir / "picture.xyz", MakeGif("never.gif", 1)});
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "Invalid format \"*.xyz\"- only GIF, JPG, BMP, DIB, TGA, AVI, "
                                   "ICO, CUR and ANI files are accepted");
    EXPECT_EQ(boxes.shown[0].title, "Drag & Drop  Error");
    EXPECT_FALSE(editor.HasAnimation()) << "the rest of the list is dropped";

    const std::string bare = dir / "noextension";
    WriteTestGif(bare, 2, 5, 5);
    editor.DropFiles({bare});
    EXPECT_EQ(editor.Data().FrameCount(), 2u) << "read as GIF";
}

TEST_F(EditorTest, TheCommandLineRefusesUnknownExtensions) {
    editor.Dispatch(CmdOpenCommandLine, dir / "movie.xyz");
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "Invalid format '*.xyz'- only GIF, JPG, BMP, DIB, TGA, AVI, ICO, "
                                   "CUR and ANI files are accepted");
    EXPECT_EQ(boxes.shown[0].title, "CommandLine Error");
    editor.Dispatch(CmdOpenCommandLine, MakeGif("ok.GIF", 1));
    EXPECT_TRUE(editor.HasAnimation());
}

TEST_F(EditorTest, RecentFilesKeepFiveNewestFirst) {
    std::vector<std::string> paths;
    for (int i = 0; i < 6; ++i) {
        paths.push_back(MakeGif(("r" + std::to_string(i) + ".gif").c_str(), 1));
        editor.Select(OutlineItem::Root());
        ASSERT_EQ(editor.OpenFile(paths.back(), OpenOrigin::Menu), 0) << i;
    }
    EXPECT_EQ(settings.history, (std::array<std::string, 5>{paths[5], paths[4], paths[3], paths[2],
                                                            paths[1]}));
    // Reopening the third entry moves it to the top; the ones above it move down.
    editor.Select(OutlineItem::Root());
    editor.Dispatch(CmdRecentFile1 + 2);
    EXPECT_EQ(settings.history, (std::array<std::string, 5>{paths[3], paths[5], paths[4], paths[2],
                                                            paths[1]}));
    // A recent file that no longer opens leaves the list.
    std::remove(paths[4].c_str());
    editor.Dispatch(CmdRecentFile1 + 2);
    EXPECT_EQ(settings.history, (std::array<std::string, 5>{paths[3], paths[5], paths[2], paths[1], ""}));
    editor.Dispatch(CmdRecentFile1 + 4);  // empty: nothing
    EXPECT_EQ(boxes.shown.size(), 1u);
}

}  // namespace
}  // namespace anitrope::test
