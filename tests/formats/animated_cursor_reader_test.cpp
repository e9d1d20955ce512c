// The animated cursor reader against hand-built RIFF files: step order with and without a
// sequence, the first step's canvas, and damaged chunks, sequences and icons.

#include "formats/animated_cursor_reader.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "model/picture_limits.h"
#include "support/icon_builder.h"

namespace anitrope {
namespace {

using test::AnimatedCursor;
using test::AnimatedCursorBytes;
using test::FileData;
using test::IconFileBytes;
using test::SolidBitmap;

constexpr uint32_t kColours[] = {0x110000, 0x002200, 0x000033, 0x444444, 0x550055};
constexpr uint32_t G = 0xC0C0C0;

// Icons of `count` distinct colours, all of one size.
std::vector<FileData> SolidIcons(int count, int32_t width = 2, int32_t height = 2) {
    std::vector<FileData> icons;
    for (int i = 0; i < count; ++i)
        icons.push_back(IconFileBytes(SolidBitmap(width, height, kColours[i]),
                                      i % 2 == 0 ? test::kCursorFileType : test::kIconFileType));
    return icons;
}

uint32_t Rgb(const RgbaPicture& p, int32_t x, int32_t y) {
    const uint8_t* px = p.pixels.data() + (std::size_t(y) * p.width + x) * 4;
    return uint32_t(px[0]) << 16 | uint32_t(px[1]) << 8 | px[2];
}

// The colour each step shows at its top-left corner, checking every step is one colour,
// opaque and of the given size.
std::vector<uint32_t> StepColours(const CursorReadResult& result, int32_t width, int32_t height) {
    std::vector<uint32_t> colours;
    for (const RgbaPicture& step : result.steps) {
        EXPECT_EQ(step.width, width);
        EXPECT_EQ(step.height, height);
        EXPECT_EQ(step.pixels.size(), std::size_t(width) * height * 4);
        if (step.width != width || step.height != height) continue;
        for (int32_t y = 0; y < height; ++y)
            for (int32_t x = 0; x < width; ++x) EXPECT_EQ(Rgb(step, x, y), Rgb(step, 0, 0));
        for (std::size_t i = 3; i < step.pixels.size(); i += 4) EXPECT_EQ(step.pixels[i], 255);
        colours.push_back(Rgb(step, 0, 0));
    }
    return colours;
}

TEST(AnimatedCursorSteps, IconsInStoredOrderWithoutSequence) {
    const auto result = DecodeAnimatedCursor(AnimatedCursorBytes({SolidIcons(5)}));
    ASSERT_TRUE(result.iconFound) << result.error;
    EXPECT_TRUE(result.error.empty());
    EXPECT_EQ(StepColours(result, 2, 2), std::vector<uint32_t>(kColours, kColours + 5));
}

TEST(AnimatedCursorSteps, SequenceReordersAndRepeats) {
    AnimatedCursor cursor{SolidIcons(3), std::vector<uint32_t>{2, 0, 2, 1, 0, 0}};
    const auto result = DecodeAnimatedCursor(AnimatedCursorBytes(cursor));
    ASSERT_TRUE(result.iconFound) << result.error;
    EXPECT_EQ(StepColours(result, 2, 2),
              (std::vector<uint32_t>{kColours[2], kColours[0], kColours[2], kColours[1],
                                     kColours[0], kColours[0]}));
}

TEST(AnimatedCursorSteps, SequenceNamingAMissingIconIsRefused) {
    for (const uint32_t index : {3u, 0xFFFFFFFFu}) {
        AnimatedCursor cursor{SolidIcons(3), std::vector<uint32_t>{0, 1, index}};
        const auto result = DecodeAnimatedCursor(AnimatedCursorBytes(cursor));
        EXPECT_FALSE(result.iconFound);
        EXPECT_TRUE(result.steps.empty());
        EXPECT_EQ(result.error, "animated cursor sequence names a missing icon");
    }
    AnimatedCursor empty{SolidIcons(3), std::vector<uint32_t>{}};
    EXPECT_EQ(DecodeAnimatedCursor(AnimatedCursorBytes(empty)).error,
              "animated cursor has no steps");
    EXPECT_EQ(DecodeAnimatedCursor(AnimatedCursorBytes({})).error, "animated cursor has no steps");
}

TEST(AnimatedCursorSteps, LaterIconsAreFittedToTheFirstStepsCanvas) {
    // Step 1 is 2x2; step 2 is wider and shorter (cropped right, padded below); step 3 is
    // smaller (padded right and below).
    test::IconBitmap wide = SolidBitmap(3, 1, 0);
    wide.pixels = {0x0000FF, 0x00FF00, 0xFF0000};
    AnimatedCursor cursor{{IconFileBytes(SolidBitmap(2, 2, kColours[0])), IconFileBytes(wide),
                           IconFileBytes(SolidBitmap(1, 1, kColours[1]))},
                          std::nullopt};
    const auto result = DecodeAnimatedCursor(AnimatedCursorBytes(cursor));
    ASSERT_TRUE(result.iconFound) << result.error;
    ASSERT_EQ(result.steps.size(), 3u);
    for (const RgbaPicture& step : result.steps) {
        ASSERT_EQ(step.width, 2);
        ASSERT_EQ(step.height, 2);
        ASSERT_EQ(step.pixels.size(), 16u);
    }
    const auto& cropped = result.steps[1];
    EXPECT_EQ(Rgb(cropped, 0, 0), 0x0000FFu);
    EXPECT_EQ(Rgb(cropped, 1, 0), 0x00FF00u);
    EXPECT_EQ(Rgb(cropped, 0, 1), G);
    EXPECT_EQ(Rgb(cropped, 1, 1), G);
    const auto& padded = result.steps[2];
    EXPECT_EQ(Rgb(padded, 0, 0), kColours[1]);
    EXPECT_EQ(Rgb(padded, 1, 0), G);
    EXPECT_EQ(Rgb(padded, 0, 1), G);
    EXPECT_EQ(Rgb(padded, 1, 1), G);

    // With a sequence the canvas is the first step's, not the first icon's.
    cursor.sequence = std::vector<uint32_t>{2, 0};
    const auto resequenced = DecodeAnimatedCursor(AnimatedCursorBytes(cursor));
    ASSERT_TRUE(resequenced.iconFound) << resequenced.error;
    EXPECT_EQ(StepColours(resequenced, 1, 1), (std::vector<uint32_t>{kColours[1], kColours[0]}));
}

TEST(AnimatedCursorSteps, AFailingIconEndsTheSteps) {
    auto icons = SolidIcons(4);
    icons[2] = {0, 0, 1, 0, 0, 0};  // no images
    const auto result = DecodeAnimatedCursor(AnimatedCursorBytes({icons}));
    EXPECT_TRUE(result.iconFound);
    EXPECT_EQ(StepColours(result, 2, 2), (std::vector<uint32_t>{kColours[0], kColours[1]}));
    EXPECT_EQ(result.error, "step 3: icon file holds no images");

    icons[0] = icons[2];
    const auto first = DecodeAnimatedCursor(AnimatedCursorBytes({icons}));
    EXPECT_FALSE(first.iconFound);
    EXPECT_TRUE(first.steps.empty());
    EXPECT_EQ(first.error, "step 1: icon file holds no images");
}

TEST(AnimatedCursorBounds, TooManyStepsAreRefusedBeforeDecoding) {
    // The icon would fail to decode: refusing on the count alone shows nothing was decoded.
    AnimatedCursor cursor{{FileData{0}}, std::vector<uint32_t>(kMaxCursorSteps + 1, 0)};
    EXPECT_EQ(DecodeAnimatedCursor(AnimatedCursorBytes(cursor)).error,
              "too many animated cursor steps");
    cursor.sequence.reset();
    cursor.icons.assign(kMaxCursorSteps + 1, FileData{0});
    EXPECT_EQ(DecodeAnimatedCursor(AnimatedCursorBytes(cursor)).error,
              "too many animated cursor steps");
    cursor.icons.resize(kMaxCursorSteps);
    EXPECT_EQ(DecodeAnimatedCursor(AnimatedCursorBytes(cursor)).error,
              "step 1: not an icon or cursor file");
}

TEST(AnimatedCursorBounds, StepsTimesCanvasAreBounded) {
    // 256x256 canvases: 1024 steps are exactly the pixel limit, one more is refused.
    test::IconBitmap big = SolidBitmap(256, 256, 0);
    big.bitsPerPixel = 1;
    big.palette = {0, 0xFFFFFF};
    const std::size_t limitSteps = std::size_t(kMaxPicturePixels / (256 * 256));
    ASSERT_EQ(limitSteps, 1024u);
    AnimatedCursor cursor{{IconFileBytes(big)}, std::vector<uint32_t>(limitSteps + 1, 0)};
    const auto result = DecodeAnimatedCursor(AnimatedCursorBytes(cursor));
    EXPECT_FALSE(result.iconFound);
    EXPECT_EQ(result.error, "animated cursor too large");
}

TEST(AnimatedCursorChunks, HeaderFlagsAndMissingChunks) {
    AnimatedCursor raw{SolidIcons(2), std::nullopt, 0};
    EXPECT_EQ(DecodeAnimatedCursor(AnimatedCursorBytes(raw)).error,
              "animated cursors of raw bitmap frames are not supported");

    const auto good = AnimatedCursorBytes({SolidIcons(2)});
    auto noHeader = good;
    noHeader[test::FindId(noHeader, "anih")] = 'x';  // an unknown chunk, skipped
    EXPECT_EQ(DecodeAnimatedCursor(noHeader).error, "animated cursor header missing or cut short");
    auto noFrames = good;
    noFrames[test::FindId(noFrames, "fram")] = 'x';  // a list of another kind, skipped
    EXPECT_EQ(DecodeAnimatedCursor(noFrames).error, "animated cursor has no icons");
    auto notAcon = good;
    notAcon[8] = 'X';
    EXPECT_EQ(DecodeAnimatedCursor(notAcon).error, "not an animated cursor");
    auto shortHeader = good;
    test::PutLe32(shortHeader, test::FindId(shortHeader, "anih") + 4, 34);
    EXPECT_FALSE(DecodeAnimatedCursor(shortHeader).iconFound);
    auto oddSequence = AnimatedCursorBytes({SolidIcons(2), std::vector<uint32_t>{0, 1}});
    test::PutLe32(oddSequence, test::FindId(oddSequence, "seq ") + 4, 6);
    EXPECT_FALSE(DecodeAnimatedCursor(oddSequence).iconFound);
}

TEST(AnimatedCursorChunks, LengthsPastTheirParentAreRefused) {
    const auto good = AnimatedCursorBytes({SolidIcons(2)});
    ASSERT_TRUE(DecodeAnimatedCursor(good).iconFound);
    const auto lengthAt = [&](std::string_view id) { return test::FindId(good, id) + 4; };
    const std::size_t listAt = test::FindId(good, "fram") - 8;  // the 'LIST' holding 'fram'
    const std::size_t iconAt = lengthAt("icon");
    struct Damage {
        std::size_t at;
        uint32_t value;
    };
    const Damage damages[] = {
        {4, uint32_t(good.size() - 7)},                   // RIFF past the file
        {4, 2},                                           // RIFF too short for its type
        {listAt + 4, uint32_t(good.size())},              // the frame list past the RIFF
        {iconAt, test::GetLe32(good, iconAt) + 0x10000},  // an icon past the frame list
        {iconAt, 0xFFFFFFFF},
        {lengthAt("anih"), 0xFFFFFFF8},
    };
    for (const Damage& d : damages) {
        auto file = good;
        test::PutLe32(file, d.at, d.value);
        const auto result = DecodeAnimatedCursor(file);
        EXPECT_FALSE(result.iconFound) << d.at << " " << d.value;
        EXPECT_EQ(result.error, "animated cursor cut short") << d.at;
    }
    // Past the frame list but not past the file: a chunk after the list must not lend it
    // its bytes.
    const auto icon = IconFileBytes(SolidBitmap(1, 1, kColours[0]));
    const auto withTrailer = [&](uint32_t iconLength) {
        auto iconChunk = test::RiffChunk("icon", icon);
        test::PutLe32(iconChunk, 4, iconLength);
        return test::RiffFile(
            "ACON", {test::RiffChunk("anih", test::AnimationHeader(1, 1, 1)),
                     test::RiffList("fram", {iconChunk}), test::RiffChunk("rate", FileData(8, 6))});
    };
    ASSERT_TRUE(DecodeAnimatedCursor(withTrailer(uint32_t(icon.size()))).iconFound);
    EXPECT_EQ(DecodeAnimatedCursor(withTrailer(uint32_t(icon.size() + 8))).error,
              "animated cursor cut short");

    // An icon chunk that stays inside the list but takes in the next icon's bytes is one
    // icon with trailing bytes: fine for the icon reader, one step fewer.
    auto merged = good;
    test::PutLe32(merged, iconAt, uint32_t(good.size() - iconAt - 4));
    const auto result = DecodeAnimatedCursor(merged);
    ASSERT_TRUE(result.iconFound) << result.error;
    EXPECT_EQ(result.steps.size(), 1u);
}

TEST(AnimatedCursorChunks, TruncatedFilesAreRefusedOrStayWhole) {
    const auto good = AnimatedCursorBytes({SolidIcons(3), std::vector<uint32_t>{0, 1, 2, 1}});
    for (std::size_t n = 0; n < good.size(); ++n) {
        const FileData prefix(good.begin(), good.begin() + std::ptrdiff_t(n));
        const auto cut = DecodeAnimatedCursor(prefix);
        EXPECT_FALSE(cut.iconFound) << n;
        EXPECT_FALSE(cut.error.empty()) << n;
        // With the RIFF length made to fit, damage moves inside: a chunk cut short, or a
        // missing chunk, but never a step of another size.
        if (n < 12) continue;
        auto fitted = prefix;
        test::PutLe32(fitted, 4, uint32_t(n - 8));
        const auto inner = DecodeAnimatedCursor(fitted);
        if (inner.steps.empty()) {
            EXPECT_FALSE(inner.error.empty()) << n;
        } else {
            EXPECT_LE(inner.steps.size(), 4u) << n;
            for (const auto& step : inner.steps)
                EXPECT_EQ(step.pixels.size(), std::size_t(step.width) * step.height * 4) << n;
        }
    }
}

TEST(AnimatedCursorChunks, UnreadableFile) {
    EXPECT_FALSE(ReadAnimatedCursorFile("/nonexistent/file.ani").iconFound);
    EXPECT_EQ(DecodeAnimatedCursor(FileData{'R', 'I', 'F', 'F'}).error, "not an animated cursor");
}

}  // namespace
}  // namespace anitrope
