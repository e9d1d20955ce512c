// Pictures of other formats opened in the editor: where their frames go, what they hold, the
// resize question, the enable rules, and the refusals that leave the document alone.

#include <gtest/gtest.h>

#include "app/command_ids.h"
#include "app/editor.h"
#include "app_fixtures.h"
#include "formats/jpeg_writer.h"
#include "formats/png_writer.h"
#include "model/gif.h"
#include "support/icon_builder.h"
#include "support/picture_files.h"

namespace anitrope::test {
namespace {

uint32_t Quadrants(int32_t x, int32_t y) {
    return x < 4 ? (y < 3 ? 0xFF0000u : 0x00FF00u) : (y < 3 ? 0x0000FFu : 0xFFFFFFu);
}

class PictureImportTest : public EditorFixture {
protected:
    std::string Bmp(const char* name, int32_t w = 8, int32_t h = 6) {
        WriteBytes(dir / name, Bmp24File(w, h, Quadrants));
        return dir / name;
    }
    std::string Jpeg(const char* name, int32_t w, int32_t h, uint32_t rgb) {
        TrueColorBitmap pixels(w, h);
        for (int32_t y = 0; y < h; ++y)
            for (int32_t x = 0; x < w; ++x) pixels.Set(x, y, rgb);
        EXPECT_TRUE(WriteJpegFile(dir / name, pixels, true, 95).ok);
        return dir / name;
    }
    // The colour the frame's reduced pixel shows.
    uint32_t Shown(Gif& gif, int32_t x, int32_t y) {
        editor.Doc().WaitForReduction(gif);
        const PaletteEntry& e = gif.palette[gif.indexed->Get(x, y)];
        return static_cast<uint32_t>(e.red) << 16 | static_cast<uint32_t>(e.green) << 8 |
               static_cast<uint32_t>(e.blue);
    }
    // The reduction keeps seven bits a channel: a colour comes back within 1.
    void ExpectShows(Gif& gif, int32_t x, int32_t y, uint32_t rgb) {
        const uint32_t shown = Shown(gif, x, y);
        for (int shift : {16, 8, 0})
            EXPECT_NEAR(static_cast<int>(shown >> shift & 0xFF), static_cast<int>(rgb >> shift & 0xFF), 1)
                << "at " << x << "," << y;
    }
    bool Menu(int command) { return FindCommand(command)->menu(editor.State()); }
};

TEST_F(PictureImportTest, TheFirstPictureSetsTheScreenAndIsReducedExactly) {
    ASSERT_EQ(editor.OpenFile(Bmp("first.bmp"), OpenOrigin::Menu), 0);
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(editor.Data().screenWidth, 8);
    EXPECT_EQ(editor.Data().screenHeight, 6);
    EXPECT_EQ(Labels(), (std::vector<std::string>{"Gif :first.bmp"}));
    Gif& frame = *editor.CurrentGif();
    ExpectShows(frame, 0, 0, 0xFF0000u);
    ExpectShows(frame, 0, 5, 0x00FF00u);
    ExpectShows(frame, 7, 0, 0x0000FFu);
    ExpectShows(frame, 7, 5, 0xFFFFFFu);
    EXPECT_FALSE(frame.hasTransparentPixels);
    // A picture is no GIF yet: saving proposes its name as one.
    EXPECT_EQ(settings.pathSave, dir / "first.gif");
    for (int command : {CmdSaveAs, CmdNew, CmdExportImage, CmdExportAll, CmdCopy, CmdCut, CmdDelete,
                        CmdDuplicate, CmdInsertEffect, CmdStartAnimation})
        EXPECT_TRUE(Menu(command)) << command;
    EXPECT_FALSE(Menu(CmdInsertTransition)) << "the new frame has no successor";
}

TEST_F(PictureImportTest, PicturesGoAfterTheSelectionOrFirstUnderTheRoot) {
    ASSERT_EQ(editor.OpenFile(Bmp("a.bmp"), OpenOrigin::Menu), 0);
    ASSERT_EQ(editor.OpenFile(Bmp("b.bmp"), OpenOrigin::Menu), 0);
    editor.Select(*editor.Items().FirstImageItem());
    ASSERT_EQ(editor.OpenFile(Bmp("c.dib"), OpenOrigin::Menu), 0);
    EXPECT_EQ(Labels(), (std::vector<std::string>{"Gif :a.bmp", "Gif :c.dib", "Gif :b.bmp"}));
    EXPECT_EQ(editor.CurrentGif(), editor.Data().FrameAt(1));
    editor.Select(OutlineItem::Root());
    ASSERT_EQ(editor.OpenFile(Bmp("d.BMP"), OpenOrigin::Menu), 0);
    EXPECT_EQ(Labels().front(), "Gif :d.BMP");
    EXPECT_EQ(editor.Data().FrameAt(0)->name, "d.BMP");
    EXPECT_TRUE(editor.Modified()) << "frames were added to an animation";
}

TEST_F(PictureImportTest, AnotherSizeAsksOnceAndResizesOrLeavesEverything) {
    ASSERT_EQ(editor.OpenFile(Bmp("screen.bmp"), OpenOrigin::Menu), 0);
    boxes.Answer("&Cancel Loading");
    EXPECT_EQ(editor.OpenFile(Bmp("small.bmp", 4, 3), OpenOrigin::Menu), -1);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].title, "Resize");
    EXPECT_EQ(editor.Data().FrameCount(), 1u);
    EXPECT_EQ(Labels().size(), 1u);

    boxes.Answer("&Ok, Resize");
    ASSERT_EQ(editor.OpenFile(Bmp("small.bmp", 4, 3), OpenOrigin::Menu), 0);
    Gif& resized = *editor.CurrentGif();
    editor.Doc().WaitForReduction(resized);
    EXPECT_EQ(resized.width, 8u);
    EXPECT_EQ(resized.height, 6u);
    EXPECT_EQ(editor.Data().FrameCount(), 2u);
    EXPECT_FALSE(Menu(CmdInsertTransition)) << "the new frame is the last";
    editor.Select(*editor.Items().FirstImageItem());
    EXPECT_TRUE(Menu(CmdInsertTransition));
}

TEST_F(PictureImportTest, ATruncatedTargaLoadsWithBlackTopRows) {
    // Two of six rows present: the bottom ones, since TGA files store the bottom row first.
    WriteBytes(dir / "short.tga", Tga24File(8, 6, Quadrants, 2 * 8 * 3));
    ASSERT_EQ(editor.OpenFile(dir / "short.tga", OpenOrigin::Menu), 0);
    Gif& frame = *editor.CurrentGif();
    ExpectShows(frame, 0, 5, 0x00FF00u);
    ExpectShows(frame, 7, 4, 0xFFFFFFu);
    ExpectShows(frame, 0, 0, 0x000000u);
    ExpectShows(frame, 7, 3, 0x000000u);
}

TEST_F(PictureImportTest, DamagedPicturesAreReportedAndChangeNothing) {
    ASSERT_EQ(editor.OpenFile(Bmp("keep.bmp"), OpenOrigin::Menu), 0);
    const std::vector<std::string> before = Labels();
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
        const char* text;
        const char* title;
    };
    std::vector<uint8_t> wide = Tga24File(2049, 1, Quadrants);
    std::vector<uint8_t> bmp = Bmp24File(8, 6, Quadrants);
    bmp.resize(40);
    const std::vector<Case> cases{
        {"cut.bmp", bmp, "Couldn't Load Bitmap", "Error"},
        {"wide.tga", wide, "Couldn't Load Bitmap", "Error"},
        {"tiny.tga", std::vector<uint8_t>(17, 0), "Couldn't Load Bitmap", "Error"},
        {"none.png", {'x', 'y'}, "Couldn't Load Bitmap", "Error"},
        {"bad.jpg", {0xFF, 0xD8, 0xFF, 0xDB, 0, 3, 1}, nullptr, "JPEG Fatal Error"},
    };
    for (const Case& c : cases) {
        boxes.shown.clear();
        WriteBytes(dir / c.name, c.bytes);
        EXPECT_EQ(editor.OpenFile(dir / c.name, OpenOrigin::Menu), -1) << c.name;
        ASSERT_EQ(boxes.shown.size(), 1u) << c.name;
        if (c.text) EXPECT_EQ(boxes.shown[0].text, c.text) << c.name;
        else EXPECT_FALSE(boxes.shown[0].text.empty()) << "libjpeg's own message";
        EXPECT_EQ(boxes.shown[0].title, c.title) << c.name;
        EXPECT_EQ(Labels(), before) << c.name;
        EXPECT_EQ(editor.Data().FrameCount(), 1u) << c.name;
    }
    boxes.shown.clear();
    EXPECT_EQ(editor.OpenFile(dir / "missing.jpg", OpenOrigin::Menu), -1);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "Jpeg Error");
    EXPECT_EQ(boxes.shown[0].title, "JPEG :\nCan't open " + dir / "missing.jpg" + "\n");
    EXPECT_EQ(settings.history[0], dir / "keep.bmp") << "failed files stay out of the recent list";
}

TEST_F(PictureImportTest, JpegAndPngPicturesArriveWithTheirColours) {
    ASSERT_EQ(editor.OpenFile(Jpeg("photo.jpg", 16, 8, 0x3366CC), OpenOrigin::Menu), 0);
    Gif& photo = *editor.CurrentGif();
    const uint32_t shown = Shown(photo, 5, 5);
    for (int shift : {16, 8, 0})
        EXPECT_NEAR(static_cast<int>(shown >> shift & 0xFF), static_cast<int>(0x3366CCu >> shift & 0xFF), 3);

    RgbaPicture png{16, 8, std::vector<uint8_t>(16 * 8 * 4, 0)};
    for (std::size_t i = 0; i < png.pixels.size(); i += 4) {
        png.pixels[i] = 200;
        png.pixels[i + 3] = (i / 4) % 16 < 8 ? 255 : 0;  // the right half transparent
    }
    ASSERT_TRUE(WritePngFile(dir / "half.png", png));
    ASSERT_EQ(editor.OpenFile(dir / "half.png", OpenOrigin::CommandLine), 0);
    Gif& half = *editor.CurrentGif();
    ExpectShows(half, 2, 2, 0xC80000u);
    EXPECT_TRUE(half.hasTransparentPixels);
    EXPECT_EQ(half.indexed->Get(12, 2), half.transparentIndex);
    EXPECT_EQ(Labels(), (std::vector<std::string>{"Gif :photo.jpg", "Gif :half.png"}));
}

TEST_F(PictureImportTest, EveryWayInTakesTheNewFormats) {
    WriteBytes(dir / "p.bmp", Bmp24File(8, 6, Quadrants));
    editor.DropFiles({dir / "p.bmp", Jpeg("q.jpeg", 8, 6, 0x808080)});
    EXPECT_EQ(editor.Data().FrameCount(), 2u);
    editor.Dispatch(CmdOpenCommandLine, Bmp("r.dib"));
    EXPECT_EQ(editor.Data().FrameCount(), 3u);
    EXPECT_TRUE(boxes.shown.empty());

    editor.Dispatch(CmdOpen);  // cancelled
    ASSERT_EQ(files.asked.size(), 1u);
    const auto& filters = files.asked[0].filters;
    const bool hasPng = std::any_of(filters.begin(), filters.end(),
                                    [](const FileFilter& f) { return f.name == "PNG(*.png)"; });
    EXPECT_TRUE(hasPng);

    WriteBytes(dir / "movie.avi", {'R', 'I', 'F', 'F'});
    editor.Dispatch(CmdOpenCommandLine, dir / "movie.avi");
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "Could not open AVI.") << "a damaged video changes nothing";
    EXPECT_EQ(boxes.shown[0].title, "Error");
    EXPECT_EQ(editor.Data().FrameCount(), 3u);
}

// A 16 x 16 cursor step: a square of `rgb` in the middle, the rest masked out.
IconBitmap CursorStep(uint32_t rgb) {
    IconBitmap step = SolidBitmap(16, 16, rgb);
    step.mask.assign(16 * 16, 0);
    for (int32_t y = 0; y < 16; ++y)
        for (int32_t x = 0; x < 16; ++x)
            if (x < 4 || x >= 12 || y < 4 || y >= 12) {
                step.pixels[static_cast<std::size_t>(y * 16 + x)] = 0;
                step.mask[static_cast<std::size_t>(y * 16 + x)] = 1;
            }
    return step;
}

TEST_F(PictureImportTest, IconsShowTheirColourBitmapAsStored) {
    IconBitmap icon = CursorStep(0x00FE00);
    WriteBytes(dir / "i.ico", IconFileBytes(icon));
    ASSERT_EQ(editor.OpenFile(dir / "i.ico", OpenOrigin::Menu), 0);
    Gif& frame = *editor.CurrentGif();
    ExpectShows(frame, 8, 8, 0x00FE00u);
    ExpectShows(frame, 0, 0, 0x000000u);  // masked out, but the mask is not applied
    EXPECT_FALSE(frame.hasTransparentPixels);
}

TEST_F(PictureImportTest, ABlackAndWhiteIconShowsBothMasksOneAboveTheOther) {
    IconBitmap mono{8, 8, 1, {0x000000, 0xFFFFFF}, std::vector<uint32_t>(64, 1), std::vector<uint8_t>(64, 0)};
    WriteBytes(dir / "mono.ico", IconFileBytes(mono));
    ASSERT_EQ(editor.OpenFile(dir / "mono.ico", OpenOrigin::Menu), 0);
    EXPECT_EQ(editor.CurrentGif()->width, 8u);
    EXPECT_EQ(editor.CurrentGif()->height, 16u);
    ExpectShows(*editor.CurrentGif(), 3, 2, 0x000000u);   // the AND mask: nothing masked
    ExpectShows(*editor.CurrentGif(), 3, 12, 0xFFFFFFu);  // the XOR bits: all white
}

TEST_F(PictureImportTest, CursorsAreDrawnOverLightGrey) {
    WriteBytes(dir / "c.cur", IconFileBytes(CursorStep(0xFE0000), kCursorFileType));
    ASSERT_EQ(editor.OpenFile(dir / "c.cur", OpenOrigin::Menu), 0);
    ExpectShows(*editor.CurrentGif(), 8, 8, 0xFE0000u);
    ExpectShows(*editor.CurrentGif(), 1, 1, 0xC0C0C0u);
    EXPECT_EQ(Labels(), (std::vector<std::string>{"Gif :c.cur"}));
}

TEST_F(PictureImportTest, AnAnimatedCursorBecomesConsecutiveFramesAskingOnce) {
    ASSERT_EQ(editor.OpenFile(Bmp("screen.bmp"), OpenOrigin::Menu), 0);
    const std::vector<uint32_t> colours{0xFE0000, 0x00FE00, 0x0000FE, 0xFEFE00, 0x00FEFE};
    AnimatedCursor cursor;
    for (uint32_t c : colours) cursor.icons.push_back(IconFileBytes(CursorStep(c), kCursorFileType));
    WriteBytes(dir / "five.ani", AnimatedCursorBytes(cursor));

    boxes.Answer("&Cancel Loading");
    EXPECT_EQ(editor.OpenFile(dir / "five.ani", OpenOrigin::Menu), -1);
    EXPECT_EQ(editor.Data().FrameCount(), 1u) << "cancelled at the first step: nothing added";

    boxes.shown.clear();
    boxes.Answer("&Ok, Resize");
    ASSERT_EQ(editor.OpenFile(dir / "five.ani", OpenOrigin::Menu), 0);
    EXPECT_EQ(boxes.shown.size(), 1u) << "one question for all the steps";
    ASSERT_EQ(editor.Data().FrameCount(), 6u);
    EXPECT_EQ(Labels(), (std::vector<std::string>{"Gif :screen.bmp", "Gif :five.ani", "Gif :five.ani",
                                                  "Gif :five.ani", "Gif :five.ani", "Gif :five.ani"}));
    for (std::size_t k = 0; k < colours.size(); ++k) {
        Gif& step = *editor.Data().FrameAt(k + 1);
        editor.Doc().WaitForReduction(step);
        EXPECT_EQ(step.width, 8u);
        ExpectShows(step, 4, 3, colours[k]);
    }
    EXPECT_EQ(editor.CurrentGif(), editor.Data().FrameAt(5));
}

TEST_F(PictureImportTest, DamagedIconsAndCursorsAreReported) {
    ASSERT_EQ(editor.OpenFile(Bmp("keep.bmp"), OpenOrigin::Menu), 0);
    FileData icon = IconFileBytes(CursorStep(0x102030));
    PutLe32(icon, 18, 1u << 30);  // the first entry's offset, far past the end
    AnimatedCursor broken;
    broken.icons.push_back(IconFileBytes(CursorStep(0x102030), kCursorFileType));
    broken.sequence = std::vector<uint32_t>{0, 7};  // names an icon the file lacks
    const std::vector<std::pair<std::string, FileData>> cases{
        {"far.ico", icon}, {"far.cur", icon}, {"seq.ani", AnimatedCursorBytes(broken)}};
    for (const auto& [name, bytes] : cases) {
        boxes.shown.clear();
        WriteBytes(dir / name, bytes);
        EXPECT_EQ(editor.OpenFile(dir / name, OpenOrigin::Drop), -1) << name;
        ASSERT_EQ(boxes.shown.size(), 1u) << name;
        EXPECT_EQ(boxes.shown[0].text, "Couldn't Load Icon") << name;
        EXPECT_EQ(boxes.shown[0].title, "Error") << name;
        EXPECT_EQ(editor.Data().FrameCount(), 1u) << name;
    }
}

}  // namespace
}  // namespace anitrope::test
