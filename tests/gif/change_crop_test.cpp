#include "gif/change_crop.h"

#include <gtest/gtest.h>

#include <set>

#include "gif/screen_walk.h"
#include "gif/unchanged_pixels.h"
#include "optimizer_fixtures.h"

namespace anitrope::test {
namespace {

bool Changed(int32_t length, std::set<int32_t> differing) {
    return LineChanged(length, length / 20, [&](int32_t i) { return differing.count(i) > 0; });
}

TEST(LineChanged, CountsAndCloseNeighboursDecide) {
    EXPECT_FALSE(Changed(40, {}));
    EXPECT_FALSE(Changed(40, {17})) << "one stray pixel in a row of 40";
    EXPECT_FALSE(Changed(40, {5, 30})) << "two, far apart, within the threshold of 2";
    EXPECT_TRUE(Changed(40, {5, 20, 35})) << "three exceed 40 / 20";
    EXPECT_TRUE(Changed(40, {10, 12})) << "two positions apart";
    EXPECT_TRUE(Changed(400, {10, 11}));
    EXPECT_FALSE(Changed(400, {10, 13})) << "three apart is far enough";
    EXPECT_TRUE(Changed(19, {7})) << "below width 20 every difference counts";
    EXPECT_FALSE(Changed(40, {0})) << "the first difference alone never triggers the gap rule";
}

// CropToChanges of `target` over the screen just before it.
bool CropInPlace(FrameBook& book, Gif& target, uint32_t mask = 0xF0F0F0) {
    bool cut = false;
    WalkScreens(book.doc, book.doc.head, [&](Gif& gif, const ScreenImage& before) {
        if (&gif == &target) cut = CropToChanges(gif, before, mask);
        return &gif != &target;
    });
    return cut;
}

// Two frames on the same screen: the first all index 1, the second as given.
struct TwoFrames {
    explicit TwoFrames(int32_t w, int32_t h, const std::function<uint8_t(int32_t, int32_t)>& second,
                       uint32_t firstDisposal = DisposalDoNotDispose)
        : book(w, h) {
        book.AddFull([](int32_t, int32_t) { return uint8_t{1}; }, firstDisposal);
        frame = &book.Add(0, 0, w, h, second);
    }
    bool Crop(uint32_t mask = 0xF0F0F0) { return CropInPlace(book, *frame, mask); }
    FrameBook book;
    Gif* frame;
};

void ExpectRect(const Gif& gif, int32_t left, int32_t top, uint32_t width, uint32_t height) {
    EXPECT_EQ(gif.left, left);
    EXPECT_EQ(gif.top, top);
    EXPECT_EQ(gif.width, width);
    EXPECT_EQ(gif.height, height);
    ASSERT_TRUE(gif.indexed);
    EXPECT_EQ(gif.indexed->Width(), static_cast<int32_t>(width));
    EXPECT_EQ(gif.indexed->Height(), static_cast<int32_t>(height));
}

TEST(CropToChanges, AnIdenticalFrameKeepsItsSize) {
    TwoFrames frames(30, 20, [](int32_t, int32_t) { return uint8_t{1}; });
    EXPECT_FALSE(frames.Crop());
    ExpectRect(*frames.frame, 0, 0, 30, 20);
}

TEST(CropToChanges, CutsToTheChangedBlockAndKeepsItsPixels) {
    auto inBlock = [](int32_t x, int32_t y) { return x >= 10 && x < 16 && y >= 4 && y < 9; };
    TwoFrames frames(40, 20, [&](int32_t x, int32_t y) { return uint8_t(inBlock(x, y) ? 7 : 1); });
    EXPECT_TRUE(frames.Crop());
    ExpectRect(*frames.frame, 10, 4, 6, 5);
    for (int32_t y = 0; y < 5; ++y)
        for (int32_t x = 0; x < 6; ++x) EXPECT_EQ(frames.frame->indexed->Get(x, y), 7);
}

TEST(CropToChanges, ColoursEqualUnderTheMaskAreUnchanged) {
    TwoFrames frames(30, 20, [](int32_t x, int32_t y) { return uint8_t(x < 8 && y < 8 ? 2 : 1); });
    // Index 2 differs from index 1 only in the low four bits of each channel.
    const PaletteEntry base = frames.book.doc.globalPalette[1];
    frames.book.doc.globalPalette[2] = {base.red ^ 0x0F, base.green ^ 0x0F, base.blue ^ 0x0F};
    EXPECT_FALSE(frames.Crop(0xF0F0F0));
    EXPECT_TRUE(frames.Crop(0xFCFCFC)) << "a finer mask sees the difference";
    ExpectRect(*frames.frame, 0, 0, 8, 8);
}

TEST(CropToChanges, ScatteredChangesInOneRowKeepTheFullWidth) {
    // Two differing pixels close together in one row: the row counts, no column does.
    TwoFrames frames(40, 10, [](int32_t x, int32_t y) {
        return uint8_t(y == 6 && (x == 20 || x == 22) ? 9 : 1);
    });
    EXPECT_TRUE(frames.Crop());
    ExpectRect(*frames.frame, 0, 6, 40, 1);
}

TEST(CropToChanges, TransparentAndOffScreenPixelsNeverCount) {
    FrameBook book(20, 20);
    book.AddFull([](int32_t, int32_t) { return uint8_t{1}; });
    // Hangs over the right edge; transparent everywhere except a block that is off screen.
    Gif& frame = book.Add(10, 5, 20, 10, [](int32_t x, int32_t) { return uint8_t(x >= 12 ? 5 : 0); });
    frame.transparent = 1;
    frame.transparentIndex = 0;
    EXPECT_FALSE(CropInPlace(book, frame));
}

TEST(CropToChanges, PixelsWithNothingBeneathAreChanges) {
    // The first frame leaves its lower half transparent: nothing is drawn there yet, so the
    // second frame must keep that half, while its upper half repeats the first frame.
    FrameBook book(20, 20);
    Gif& first = book.AddFull([](int32_t, int32_t y) { return uint8_t(y < 10 ? 1 : 0); });
    first.transparent = 1;
    first.transparentIndex = 0;
    Gif& frame = book.AddFull([](int32_t, int32_t) { return uint8_t{1}; });
    EXPECT_TRUE(CropInPlace(book, frame));
    ExpectRect(frame, 0, 10, 20, 10);
}

TEST(CropToChanges, ComparesWithTheScreenAfterEarlierDisposals) {
    // The first frame restores the background after it: the second frame, equal to the first,
    // differs from what is on screen and keeps its size.
    TwoFrames restored(20, 10, [](int32_t, int32_t) { return uint8_t{1}; },
                       DisposalRestoreBackground);
    EXPECT_FALSE(restored.Crop());
    ExpectRect(*restored.frame, 0, 0, 20, 10);

    // Frame 2 shows a block and restores the previous screen: frame 3, without the block,
    // changes nothing the screen still shows.
    FrameBook book(20, 10);
    book.AddFull([](int32_t, int32_t) { return uint8_t{1}; });
    book.Add(4, 4, 3, 3, [](int32_t, int32_t) { return uint8_t{6}; }, DisposalRestorePrevious);
    Gif& third = book.AddFull([](int32_t x, int32_t y) {
        return uint8_t((x == 15 || x == 16) && y < 4 ? 8 : 1);
    });
    EXPECT_TRUE(CropInPlace(book, third));
    ExpectRect(third, 15, 0, 2, 4);
}

TEST(CropToChanges, CutsTheTrueColourToTheSameRectangle) {
    TwoFrames frames(30, 20, [](int32_t x, int32_t y) {
        return uint8_t(x >= 3 && x < 6 && y >= 2 && y < 5 ? 4 : 1);
    });
    frames.frame->trueColor = std::make_unique<TrueColorBitmap>(30, 20);
    for (int32_t y = 0; y < 20; ++y)
        for (int32_t x = 0; x < 30; ++x) frames.frame->trueColor->Set(x, y, uint32_t(y * 100 + x));
    EXPECT_TRUE(frames.Crop());
    ExpectRect(*frames.frame, 3, 2, 3, 3);
    ASSERT_TRUE(frames.frame->trueColor);
    EXPECT_EQ(frames.frame->trueColor->Width(), 3);
    EXPECT_EQ(frames.frame->trueColor->Get(0, 0), 203u);
    EXPECT_EQ(frames.frame->trueColor->Get(2, 0), 205u);
}

// MarkUnchangedTransparent of `frame` over the screen just before it.
int64_t MarkInto(FrameBook& book, Gif& frame, IndexedBitmap& target) {
    int64_t marked = -1;
    WalkScreens(book.doc, book.doc.head, [&](Gif& gif, const ScreenImage& before) {
        if (&gif == &frame) marked = MarkUnchangedTransparent(book.doc, gif, target, before, 0xF0F0F0);
        return &gif != &frame;
    });
    return marked;
}

TEST(MarkUnchangedTransparent, MarksWhatTheScreenAlreadyShows) {
    FrameBook book(8, 4);
    book.AddFull([](int32_t x, int32_t) { return uint8_t(x < 4 ? 1 : 2); });
    Gif& second = book.AddFull([](int32_t, int32_t) { return uint8_t{1}; });
    second.transparent = 1;
    second.transparentIndex = 200;
    second.hasTransparentPixels = 0;
    IndexedBitmap target(&second, 8, 4);
    EXPECT_EQ(MarkInto(book, second, target), 16);
    EXPECT_EQ(second.hasTransparentPixels, 1);
    for (int32_t x = 0; x < 8; ++x) EXPECT_EQ(target.Get(x, 2), x < 4 ? 200 : 1) << x;
}

TEST(MarkUnchangedTransparent, LeavesFramesItMustNotTouch) {
    for (uint32_t disposal : {DisposalRestoreBackground, DisposalRestorePrevious}) {
        FrameBook book(4, 4);
        book.AddFull([](int32_t, int32_t) { return uint8_t{1}; }, disposal);
        Gif& second = book.AddFull([](int32_t, int32_t) { return uint8_t{1}; });
        second.transparent = 1;
        IndexedBitmap target(&second, 4, 4);
        EXPECT_EQ(MarkInto(book, second, target), 0) << "after disposal " << disposal;
    }
    FrameBook opaque(4, 4);
    opaque.AddFull([](int32_t, int32_t) { return uint8_t{1}; });
    Gif& second = opaque.AddFull([](int32_t, int32_t) { return uint8_t{1}; });
    IndexedBitmap target(&second, 4, 4);
    EXPECT_EQ(MarkInto(opaque, second, target), 0) << "a frame without a transparent index";

    Gif& first = *opaque.doc.head;
    first.transparent = 1;
    EXPECT_EQ(MarkInto(opaque, first, target), 0) << "the first frame";
}

}  // namespace
}  // namespace anitrope::test
