// Signature, logical screen, global colour table and the statuses of files that never reach
// an image.

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "support/animation_dump.h"
#include "support/gif_builder.h"
#include "support/gif_loading.h"
#include "support/temp_file.h"

namespace anitrope::test {
namespace {

const uint8_t kOnePixel[] = {1};

std::vector<uint8_t> OneFrameGif(const LogicalScreen& screen, const ImageHeader& image) {
    std::vector<uint8_t> pixels(std::size_t{image.width} * image.height, 1);
    GifBuilder gif;
    gif.Header().Screen(screen).Image(image, pixels).Trailer();
    return gif.Bytes();
}

void ExpectPaletteHolds(const Palette& palette, const ColorTable& colors, int usedSlots) {
    for (int i = 0; i < usedSlots; ++i) {
        const Rgb c =
            i < static_cast<int>(colors.size()) ? colors[static_cast<std::size_t>(i)] : Rgb{};
        EXPECT_EQ(palette[static_cast<std::size_t>(i)], (PaletteEntry{c.red, c.green, c.blue}))
            << "slot " << i;
    }
    EXPECT_EQ(UsedPaletteSlots(palette), usedSlots);
}

TEST(GifReaderHeader, MissingFileCannotBeOpened) {
    Animation animation;
    EXPECT_EQ(LoadGifDocument(animation, "/nonexistent/anitrope/missing.gif"),
              GifReadStatus::CannotOpen);
    EXPECT_EQ(animation.head, nullptr);

    EXPECT_EQ(ReadFileIntoNewAnimation("/nonexistent/anitrope/missing.gif").status,
              GifReadStatus::CannotOpen);
    EXPECT_EQ(ReadFileIntoNewAnimation("/").status, GifReadStatus::CannotOpen);  // a directory
}

TEST(GifReaderHeader, SignatureMustBeUpperCaseGif) {
    for (const char* header : {"gif89a", "Gif89a", "GIf89a", "GIX89a", "JIF89a", "PNG89a"}) {
        SCOPED_TRACE(header);
        GifBuilder gif;
        gif.Header(header).Screen({.globalColors = DistinctColors(2)});
        gif.Image({}, kOnePixel).Trailer();
        EXPECT_EQ(ReadIntoNewAnimation(gif.Bytes()).status, GifReadStatus::NotGif);
    }
}

TEST(GifReaderHeader, VersionBytesAreIgnored) {
    for (const char* header : {"GIF87a", "GIF89a", "GIF90z", "GIF   ", "GIF\xff\xff\xff"}) {
        SCOPED_TRACE(header);
        GifBuilder gif;
        gif.Header(header).Screen({.globalColors = DistinctColors(2)});
        gif.Image({}, kOnePixel).Trailer();
        GifLoad load = ReadIntoNewAnimation(gif.Bytes());
        ASSERT_EQ(load.status, GifReadStatus::Ok);
        EXPECT_EQ(load.FrameCount(), 1u);
    }
}

TEST(GifReaderHeader, FileWithoutImageIsNoImage) {
    GifBuilder trailerOnly;
    trailerOnly.Header().Screen({.globalColors = DistinctColors(2)}).Trailer();
    EXPECT_EQ(ReadIntoNewAnimation(trailerOnly.Bytes()).status, GifReadStatus::NoImage);

    GifBuilder extensionsOnly;
    extensionsOnly.Header().Screen({.globalColors = DistinctColors(2)});
    extensionsOnly.NetscapeLoop(0).Control({.delay = 5}).Comment({"no picture"}).Trailer();
    EXPECT_EQ(ReadIntoNewAnimation(extensionsOnly.Bytes()).status, GifReadStatus::NoImage);

    GifBuilder strayByte;  // neither an extension, an image nor the trailer
    strayByte.Header().Screen({.globalColors = DistinctColors(2)}).Control({}).Byte(0x99);
    strayByte.Image({}, kOnePixel).Trailer();
    EXPECT_EQ(ReadIntoNewAnimation(strayByte.Bytes()).status, GifReadStatus::NoImage);
}

TEST(GifReaderHeader, FailedLoadLeavesTheDocumentAlone) {
    GifBuilder gif;
    gif.Header("GIT89a").Screen({.width = 40, .height = 30});
    TempFile file(gif.Bytes());
    Animation animation;
    animation.screenWidth = 7;
    animation.screenHeight = 9;
    animation.loopCount = 3;
    animation.backgroundIndex = 4;
    const std::string before = DumpAnimation(animation);
    EXPECT_EQ(LoadGifDocument(animation, file.Path()), GifReadStatus::NotGif);
    EXPECT_EQ(DumpAnimation(animation), before);
    EXPECT_EQ(animation.head, nullptr);
}

TEST(GifReaderHeader, LogicalScreenBecomesTheScreenOfAnEmptyDocument) {
    GifLoad load = ReadIntoNewAnimation(
        OneFrameGif({.width = 300, .height = 200, .globalColors = DistinctColors(2)},
                    {.left = 3, .top = 4, .width = 10, .height = 10}));
    ASSERT_EQ(load.status, GifReadStatus::Ok);
    EXPECT_EQ(load.animation->screenWidth, 300);
    EXPECT_EQ(load.animation->screenHeight, 200);
}

TEST(GifReaderHeader, InsertedFramesLeaveTheDocumentsValuesAlone) {
    GifBuilder first;
    first.Header().Screen({.width = 7, .height = 9, .globalColors = DistinctColors(2),
                           .background = 1});
    first.NetscapeLoop(4).Image({.width = 7, .height = 9}, std::vector<uint8_t>(63, 1));
    GifLoad document = ReadIntoNewAnimation(first.Trailer().Bytes());
    ASSERT_EQ(document.status, GifReadStatus::Ok);
    Animation& animation = *document.animation;

    GifBuilder second;
    second.Header().Screen(
        {.width = 300, .height = 200, .globalColors = DistinctColors(8), .background = 6});
    second.NetscapeLoop(9).Comment({"second"});
    second.Image({.width = 20, .height = 20}, std::vector<uint8_t>(400, 1)).Trailer();
    ASSERT_EQ(ReadAppending(animation, second.Bytes()), GifReadStatus::Ok);

    EXPECT_EQ(animation.FrameCount(), 2u);
    EXPECT_EQ(animation.screenWidth, 7);
    EXPECT_EQ(animation.screenHeight, 9);
    EXPECT_EQ(animation.backgroundIndex, 1);
    EXPECT_EQ(animation.loopCount, 4);
    ExpectPaletteHolds(animation.globalPalette, DistinctColors(2), 2);
    for (Gif* g = animation.head; g; g = g->next) EXPECT_EQ(g->animation, &animation);
    ASSERT_NE(animation.FrameAt(1), nullptr);
    EXPECT_EQ(animation.FrameAt(1)->prev, animation.head);
    EXPECT_EQ(animation.FrameAt(1)->width, 20u);
}

TEST(GifReaderHeader, LoadedDocumentScreenIsTheBoundingBoxOfItsFrames) {
    const uint8_t pixels[20 * 30] = {};
    GifBuilder inside;  // frames smaller than the declared screen shrink it
    inside.Header().Screen({.width = 100, .height = 100, .globalColors = DistinctColors(2)});
    inside.Image({.width = 10, .height = 10}, std::span(pixels, 100));
    inside.Image({.left = 5, .top = 7, .width = 20, .height = 30}, pixels).Trailer();
    GifLoad shrunk = LoadFromBytes(inside.Bytes());
    ASSERT_EQ(shrunk.status, GifReadStatus::Ok);
    EXPECT_EQ(shrunk.animation->screenWidth, 25);
    EXPECT_EQ(shrunk.animation->screenHeight, 37);

    GifBuilder outside;  // and frames beyond it grow it
    outside.Header().Screen({.width = 10, .height = 10, .globalColors = DistinctColors(2)});
    outside.Image({.left = 8, .top = 9, .width = 20, .height = 30}, pixels).Trailer();
    GifLoad grown = LoadFromBytes(outside.Bytes());
    ASSERT_EQ(grown.status, GifReadStatus::Ok);
    EXPECT_EQ(grown.animation->screenWidth, 28);
    EXPECT_EQ(grown.animation->screenHeight, 39);
}

TEST(GifReaderHeader, BackgroundIndexIsRead) {
    GifLoad load = ReadIntoNewAnimation(
        OneFrameGif({.globalColors = DistinctColors(256), .background = 201}, {}));
    ASSERT_EQ(load.status, GifReadStatus::Ok);
    EXPECT_EQ(load.animation->backgroundIndex, 201);
}

TEST(GifReaderHeader, GlobalColorTableBecomesGlobalAndFirstFramePalette) {
    // A 5-colour table is stored as 8 entries, the padding black; slots 8-255 stay unused.
    const ColorTable colors = DistinctColors(5);
    GifBuilder gif;
    gif.Header().Screen({.width = 2, .height = 1, .globalColors = colors});
    const uint8_t pixels[] = {4, 7};
    gif.Image({.width = 2, .height = 1}, pixels).Image({.width = 2, .height = 1}, pixels);
    gif.Trailer();
    GifLoad load = ReadIntoNewAnimation(gif.Bytes());
    ASSERT_EQ(load.status, GifReadStatus::Ok);
    EXPECT_EQ(load.animation->globalPalettePresent, 1);
    ExpectPaletteHolds(load.animation->globalPalette, colors, 8);
    ExpectPaletteHolds(load.Frame(0).palette, colors, 8);
    for (std::size_t i = 0; i < 2; ++i) {
        SCOPED_TRACE(testing::Message() << "frame " << i);
        EXPECT_EQ(load.Frame(i).usesLocalPalette, 0);
        ExpectPaletteHolds(EffectivePalette(load.Frame(i)), colors, 8);
    }
}

TEST(GifReaderHeader, FileWithoutGlobalTableLeavesNoGlobalPalette) {
    GifLoad load = ReadIntoNewAnimation(OneFrameGif({}, {.localColors = DistinctColors(4)}));
    ASSERT_EQ(load.status, GifReadStatus::Ok);
    EXPECT_EQ(load.animation->globalPalettePresent, 0);
    EXPECT_EQ(UsedPaletteSlots(load.animation->globalPalette), 0);
}

TEST(GifReaderHeader, InsertedFramesKeepTheirFilesGlobalColoursAsLocalOnes) {
    const ColorTable docGlobal = DistinctColors(4);
    ColorTable fileGlobal;
    for (int i = 0; i < 4; ++i) fileGlobal.push_back({200, 100, static_cast<uint8_t>(i)});
    const ColorTable ownColors = {{9, 9, 9}, {8, 8, 8}};

    GifLoad document = ReadIntoNewAnimation(OneFrameGif({.globalColors = docGlobal}, {}));
    ASSERT_EQ(document.status, GifReadStatus::Ok);
    Animation& animation = *document.animation;
    ASSERT_EQ(animation.head->usesLocalPalette, 0);

    // Frames 0 and 2 of the file draw with its global colours, frame 1 with its own; frame 2
    // follows a local-table frame, so its own palette field need not hold the global colours.
    GifBuilder inserted;
    inserted.Header().Screen({.globalColors = fileGlobal});
    inserted.Image({}, kOnePixel).Image({.localColors = ownColors}, kOnePixel);
    inserted.Image({}, kOnePixel).Trailer();
    ASSERT_EQ(ReadAppending(animation, inserted.Bytes()), GifReadStatus::Ok);
    ASSERT_EQ(animation.FrameCount(), 4u);

    ExpectPaletteHolds(animation.globalPalette, docGlobal, 4);
    {
        SCOPED_TRACE("frame 0, the document's own");
        EXPECT_EQ(animation.FrameAt(0)->usesLocalPalette, 0);
        ExpectPaletteHolds(EffectivePalette(*animation.FrameAt(0)), docGlobal, 4);
    }
    for (std::size_t i : {1u, 3u}) {
        SCOPED_TRACE(testing::Message() << "frame " << i << ", global in its file");
        EXPECT_EQ(animation.FrameAt(i)->usesLocalPalette, 1);
        ExpectPaletteHolds(EffectivePalette(*animation.FrameAt(i)), fileGlobal, 4);
    }
    {
        SCOPED_TRACE("frame 2, local all along");
        EXPECT_EQ(animation.FrameAt(2)->usesLocalPalette, 1);
        ExpectPaletteHolds(EffectivePalette(*animation.FrameAt(2)), ownColors, 2);
    }
}

TEST(GifReaderHeader, FailedInsertLeavesTheDocumentAlone) {
    Animation animation;
    ASSERT_EQ(ReadAppending(animation, OneFrameGif({.globalColors = DistinctColors(2)}, {})),
              GifReadStatus::Ok);
    const std::string before = DumpAnimation(animation);
    GifBuilder damaged;
    damaged.Header("GIT89a").Screen({.globalColors = DistinctColors(4)});
    EXPECT_EQ(ReadAppending(animation, damaged.Bytes()), GifReadStatus::NotGif);
    GifBuilder noImage;
    noImage.Header().Screen({.globalColors = DistinctColors(4)}).NetscapeLoop(2).Trailer();
    EXPECT_EQ(ReadAppending(animation, noImage.Bytes()), GifReadStatus::NoImage);
    EXPECT_EQ(DumpAnimation(animation), before);
}

TEST(GifReaderHeader, ReadFramesAreEightBitReadyAndNamedAfterTheirSource) {
    const ColorTable twoColors = DistinctColors(2);
    GifBuilder gif;
    gif.Header().Screen({.globalColors = twoColors});
    gif.Image({}, kOnePixel).Image({.localColors = twoColors}, kOnePixel).Trailer();

    GifLoad fromMemory = ReadIntoNewAnimation(gif.Bytes(), "in-memory name");
    ASSERT_EQ(fromMemory.status, GifReadStatus::Ok);
    GifLoad fromFile = LoadFromBytes(gif.Bytes());
    ASSERT_EQ(fromFile.status, GifReadStatus::Ok);
    for (std::size_t i = 0; i < 2; ++i) {
        SCOPED_TRACE(testing::Message() << "frame " << i);
        EXPECT_EQ(fromMemory.Frame(i).name, "in-memory name");
        EXPECT_EQ(fromFile.Frame(i).name, fromFile.path);
        EXPECT_EQ(fromFile.Frame(i).bitsPerPixel, 8);
        EXPECT_EQ(IsIndexedReady(fromFile.Frame(i)), 1);
    }
}

TEST(GifReaderHeader, EveryStatusHasItsOwnText) {
    std::set<std::string> texts;
    for (int code = 0; code <= 7; ++code) {
        const char* text = GifReadStatusText(static_cast<GifReadStatus>(code));
        ASSERT_NE(text, nullptr) << "status " << code;
        EXPECT_STRNE(text, "") << "status " << code;
        texts.insert(text);
    }
    EXPECT_EQ(texts.size(), 8u);
}

}  // namespace
}  // namespace anitrope::test

namespace anitrope::test {
namespace {

TEST(GifReaderHeader, LoadingIntoAUsedDocumentKeepsNothingOfTheOldFile) {
    GifBuilder rich;
    rich.Header().Screen({.globalColors = DistinctColors(4)}).NetscapeLoop(3);
    rich.Image({}, kOnePixel).Comment({"old global"}).Trailer();
    GifBuilder bare;  // no global table, no looping block, no comments
    bare.Header().Screen({});
    bare.Image({.localColors = DistinctColors(2)}, kOnePixel).Trailer();
    TempFile richFile(rich.Bytes()), bareFile(bare.Bytes());

    Animation animation;
    ASSERT_EQ(LoadGifDocument(animation, richFile.Path()), GifReadStatus::Ok);
    ASSERT_EQ(animation.globalComments.Size(), 1u);
    ASSERT_EQ(animation.globalPalettePresent, 1);
    ASSERT_EQ(LoadGifDocument(animation, bareFile.Path()), GifReadStatus::Ok);
    EXPECT_EQ(animation.FrameCount(), 1u);
    EXPECT_EQ(animation.globalPalettePresent, 0);
    EXPECT_EQ(UsedPaletteSlots(animation.globalPalette), 0);
    EXPECT_TRUE(animation.globalComments.Empty());
    EXPECT_EQ(animation.hasGlobalComments, 0);
    EXPECT_FALSE(animation.hasLoopExtension);
}

}  // namespace
}  // namespace anitrope::test
