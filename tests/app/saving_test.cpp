#include <gtest/gtest.h>

#include <filesystem>

#include "app/command_ids.h"
#include "app/editor.h"
#include "app_fixtures.h"
#include "formats/jpeg_reader.h"
#include "gif/gif_reader.h"
#include "model/gif.h"
#include "scripted_dialogs.h"
#include "support/giflib_oracle.h"
#include "support/temp_file.h"

namespace anitrope::test {
namespace {

namespace fs = std::filesystem;

class SavingTest : public EditorFixture {
protected:
    void SetUp() override {
        source = dir / "source.gif";
        // A still background with a small block moving: optimization has something to cut.
        Animation doc;
        doc.screenWidth = 32;
        doc.screenHeight = 24;
        doc.globalPalettePresent = 1;
        for (int i = 0; i < 8; ++i) doc.globalPalette[static_cast<std::size_t>(i)] = {i * 30, 200 - i * 20, 90};
        Gif* last = nullptr;
        for (int k = 0; k < 4; ++k) {
            Gif* gif = CreateGif(doc, last, nullptr);
            (last ? last->next : doc.head) = gif;
            gif->width = 32;
            gif->height = 24;
            gif->usesLocalPalette = 0;
            gif->palette = doc.globalPalette;
            gif->indexed = std::make_unique<IndexedBitmap>(gif, 32, 24);
            for (int32_t y = 0; y < 24; ++y)
                for (int32_t x = 0; x < 32; ++x)
                    gif->indexed->Set(x, y, static_cast<uint8_t>(x >= k * 6 && x < k * 6 + 5 && y >= 8 && y < 13 ? 7 : (x / 8) % 3));
            last = gif;
        }
        ASSERT_EQ(SaveAnimation(doc, doc.head, source), GifWriteStatus::Ok);
        ASSERT_EQ(editor.OpenFile(source, OpenOrigin::Menu), 0);
    }
    void MakeModified() {
        editor.Dispatch(CmdDuplicate);
        ASSERT_TRUE(editor.Modified());
    }
    std::vector<uint32_t> Widths(const Animation& doc) {
        std::vector<uint32_t> widths;
        for (Gif* g = doc.head; g; g = g->next) widths.push_back(g->width);
        return widths;
    }

    std::string source;
};

TEST_F(SavingTest, SaveAsWritesTheAnimationAndRemembersThePath) {
    MakeModified();
    files.Choose(dir / "saved");
    editor.Dispatch(CmdSaveAs);
    const std::string written = dir / "saved.GIF";
    ASSERT_TRUE(fs::exists(written)) << "a name without a dot gets .GIF";
    EXPECT_EQ(files.asked.at(0).title, "Save Animation");
    EXPECT_EQ(files.asked.at(0).proposedName, "source.gif") << "the save path seeds the dialog";
    EXPECT_FALSE(editor.Modified());
    EXPECT_EQ(settings.pathSave, written);
    EXPECT_EQ(settings.history[0], written);
    Animation loaded;
    ASSERT_EQ(LoadGifDocument(loaded, written), GifReadStatus::Ok);
    EXPECT_EQ(loaded.FrameCount(), 5u);
}

TEST_F(SavingTest, ASavedFileReadsTheSameInGiflib) {
    for (bool optimized : {false, true}) {
        const std::string path = dir / (optimized ? "o.gif" : "p.gif");
        files.Choose(path, 0, SaveAnimationChoices{optimized, false, 3});
        ASSERT_TRUE(editor.SaveAs(0));
        Animation ours;
        ASSERT_EQ(LoadGifDocument(ours, path), GifReadStatus::Ok);
        OracleResult oracle = ReadWithGiflib(path);
        ASSERT_TRUE(oracle.gif) << oracle.error;
        EXPECT_EQ(OracleDifferences(*oracle.gif, ours, true), std::vector<std::string>{}) << path;
    }
}

TEST_F(SavingTest, AFailedSaveSaysSoAndKeepsTheChanges) {
    MakeModified();
    files.Choose(dir / "missing-folder/x.gif");
    EXPECT_FALSE(editor.SaveAs(0));
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "while saving animation");
    EXPECT_EQ(boxes.shown[0].title, "Error...");
    EXPECT_TRUE(editor.Modified());
}

TEST_F(SavingTest, ClosingWithChangesAnsweredYesThenCancelledKeepsEverything) {
    MakeModified();
    boxes.Answer("&Yes");
    files.Cancel();
    editor.Dispatch(CmdNew);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].title, "Confirm Close");
    EXPECT_TRUE(editor.HasAnimation());
    EXPECT_TRUE(editor.Modified());

    boxes.Answer("&No");
    editor.Dispatch(CmdNew);
    EXPECT_FALSE(editor.HasAnimation());
    EXPECT_FALSE(editor.Modified());
}

TEST_F(SavingTest, ClosingWithChangesAnsweredYesSavesThenCloses) {
    MakeModified();
    boxes.Answer("&Yes");
    files.Choose(dir / "closing.gif");
    editor.Dispatch(CmdNew);
    EXPECT_TRUE(fs::exists(dir / "closing.gif"));
    EXPECT_FALSE(editor.HasAnimation());
}

TEST_F(SavingTest, ExitAsksOnlyWithChangesAndCancelKeepsRunning) {
    EXPECT_TRUE(editor.ConfirmShutdown());
    EXPECT_TRUE(boxes.shown.empty());
    MakeModified();
    boxes.Answer("Cancel");
    EXPECT_FALSE(editor.ConfirmShutdown());
    EXPECT_EQ(boxes.shown.back().title, "Confirm Exit");
    boxes.Answer("&No");
    EXPECT_TRUE(editor.ConfirmShutdown());
}

TEST_F(SavingTest, AnOptimizedSaveLeavesTheDocumentUnlessItsResultsAreToBeShown) {
    const std::vector<uint32_t> before = Widths(editor.Data());
    const Palette globalBefore = editor.Data().globalPalette;
    files.Choose(dir / "copy.gif", 0, SaveAnimationChoices{true, false, 3});
    ASSERT_TRUE(editor.SaveAs(0));
    EXPECT_TRUE(settings.saveOptimized);
    EXPECT_EQ(Widths(editor.Data()), before) << "the copy was optimized, not the document";
    EXPECT_EQ(editor.Data().globalPalette, globalBefore);
    Animation written;
    ASSERT_EQ(LoadGifDocument(written, dir / "copy.gif"), GifReadStatus::Ok);
    EXPECT_LT(written.FrameAt(1)->width, 32u);

    files.Choose(dir / "shown.gif", 0, SaveAnimationChoices{true, true, 3});
    ASSERT_TRUE(editor.SaveAs(0));
    EXPECT_EQ(settings.reloadAfterSave, 1u);
    EXPECT_LT(editor.Data().FrameAt(1)->width, 32u) << "the document shows the optimized frames";
    EXPECT_EQ(Widths(editor.Data()), Widths(written));
}

TEST_F(SavingTest, ExportWritesTheCurrentFrameAsAGifOfItsOwn) {
    files.Choose(dir / "frame.gif");
    editor.Dispatch(CmdExportImage);
    EXPECT_EQ(files.asked.at(0).title, "Export single image");
    Animation single;
    ASSERT_EQ(LoadGifDocument(single, dir / "frame.gif"), GifReadStatus::Ok);
    EXPECT_EQ(single.FrameCount(), 1u);
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(SavingTest, ExportWritesJpegAtTheChosenQualityAndKeepsIt) {
    // The quality below the dialog starts at the setting, 75 unless changed.
    files.Choose(dir / "frame", 1);
    editor.Dispatch(CmdExportImage);
    EXPECT_EQ(files.asked.at(0).jpegQuality, 75);
    EXPECT_EQ(files.asked.at(0).filters.at(1).name, "Jpeg(*.jpg)");
    const JpegReadResult at75 = ReadJpegFile(dir / "frame.JPG");
    ASSERT_TRUE(at75.picture) << at75.message;
    EXPECT_EQ(at75.picture->width, 32);
    EXPECT_EQ(at75.picture->height, 24);
    // Pixel (12, 2) is palette entry 1 of the first frame: (30, 180, 90).
    const uint8_t* p = &at75.picture->pixels[(2 * 32 + 12) * 4];
    EXPECT_NEAR(p[0], 30, 12);
    EXPECT_NEAR(p[1], 180, 12);
    EXPECT_NEAR(p[2], 90, 12);
    EXPECT_EQ(settings.pathSave, dir / "frame.JPG");

    files.Choose(dir / "low.jpg", 1, std::nullopt, 5);
    editor.Dispatch(CmdExportImage);
    EXPECT_EQ(settings.jpegCompression, 5u);
    EXPECT_LT(fs::file_size(dir / "low.jpg"), fs::file_size(dir / "frame.JPG"));
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(SavingTest, AFailedJpegExportSaysSoAndKeepsThePreviousFile) {
    files.Choose(dir / "no-such-dir/frame.jpg", 1);
    editor.Dispatch(CmdExportImage);
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[0].text, "Jpeg Error");
    EXPECT_EQ(boxes.shown[0].title, "JpegFile :\nCan't open " + dir / "no-such-dir/frame.jpg" + "\n");
    EXPECT_EQ(boxes.shown[1].text, "Error");
    EXPECT_EQ(boxes.shown[1].title, "Couldn't write jpeg");
    EXPECT_NE(settings.pathSave, dir / "no-such-dir/frame.jpg");
}

TEST_F(SavingTest, DuplicateInsertsACopyAfterTheCurrentFrame) {
    Gif* original = editor.CurrentGif();
    {
        Transaction edit(editor.Doc(), "Disposal Change");
        edit.Set(*original, &Gif::disposal, uint32_t{DisposalRestoreBackground});
        edit.Set(*original, &Gif::delay, 33);
    }
    editor.Dispatch(CmdDuplicate);
    Gif* copy = editor.CurrentGif();
    ASSERT_NE(copy, original);
    EXPECT_EQ(original->next, copy);
    EXPECT_EQ(copy->name, "Copy of source.gif");
    EXPECT_EQ(editor.Items().Label(editor.Selected()), "Gif :Copy of source.gif");
    EXPECT_EQ(editor.Data().FrameCount(), 5u);
    // Pixels, palette and timing are copied; the disposal is the new frame's own.
    EXPECT_EQ(copy->delay, 33);
    EXPECT_EQ(copy->disposal, 0u);
    EXPECT_EQ(copy->usesLocalPalette, original->usesLocalPalette);
    EXPECT_EQ(EffectivePalette(*copy), EffectivePalette(*original));
    for (int32_t y = 0; y < 24; ++y)
        for (int32_t x = 0; x < 32; ++x) ASSERT_EQ(copy->indexed->Get(x, y), original->indexed->Get(x, y));
}

TEST_F(SavingTest, OptimizeAndUnoptimizeImagesAskFirst) {
    editor.confirm = [](int) { return false; };
    editor.Dispatch(CmdOptimize);
    EXPECT_EQ(Widths(editor.Data()), (std::vector<uint32_t>(4, 32u)));
    EXPECT_FALSE(editor.Modified());
    editor.confirm = [](int) { return true; };
    editor.Dispatch(CmdOptimize);
    EXPECT_LT(editor.Data().FrameAt(1)->width, 32u);
    EXPECT_TRUE(editor.Modified());
    editor.Dispatch(CmdUnoptimize);
    EXPECT_EQ(Widths(editor.Data()), (std::vector<uint32_t>(4, 32u)));
}

}  // namespace
}  // namespace anitrope::test
