// Videos through FFmpeg against the fixtures of tools/make-video-fixtures.sh (what each frame
// holds is described there), and the "Load AVI" dialog's range checks.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "formats/ffmpeg_video.h"
#include "formats/video_import.h"
#include "model/animation.h"
#include "model/gif.h"

namespace anitrope {
namespace {

const std::string kVideos = std::string(ANITROPE_SOURCE_DIR) + "/tests/data/video/";

std::vector<uint8_t> FileContents(const std::string& name) {
    std::ifstream in(kVideos + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::unique_ptr<VideoStream> Open(const std::string& name) {
    std::string error;
    auto video = OpenVideoFile(kVideos + name, &error);
    EXPECT_TRUE(video) << name << ": " << error;
    return video;
}

// The frame number a flat fixture frame shows: its red is 16k + 8, give or take 7.
int ShownNumber(const VideoPicture& picture) {
    const uint32_t centre = picture.trueColor->Get(picture.width / 2, picture.height / 2);
    return static_cast<int>(centre >> 16) / 16;
}

VideoInfo Frames(int64_t first, int64_t length) {
    VideoInfo info;
    info.first = first;
    info.length = length;
    return info;
}

TEST(VideoRange, DialogChecksInTheirOrder) {
    const VideoInfo ten = Frames(0, 10), fromThree = Frames(3, 10);
    const std::string tooSmall =
        "The first frame index is too small or the number of frames is too high.";
    const std::string tooHigh =
        "The first frame index is too high or the number of frames is too high.";
    struct Case {
        VideoInfo info;
        VideoRange range;
        std::string problem;  // empty: loadable
    } cases[] = {
        {ten, {.count = 10, .first = 0}, ""},
        {ten, {.count = 11, .first = 0}, "The AVI contains only 10 frames."},
        {ten, {.count = 3, .first = 2, .reverse = true}, ""},
        {ten, {.count = 3, .first = 1, .reverse = true}, tooSmall},
        {ten, {.count = 0, .first = 0}, "The number of Frames must be greater than 0."},
        {ten, {.count = 11, .first = 20}, "The AVI contains only 10 frames."},
        {fromThree, {.count = 1, .first = 2}, "The AVI-frame indizes range from 3 to 12."},
        {fromThree, {.count = 1, .first = 13}, "The AVI-frame indizes range from 3 to 12."},
        {fromThree, {.count = 5, .first = 8}, ""},
        {fromThree, {.count = 5, .first = 9}, tooHigh},
        {ten, {.count = 0, .first = 50, .all = true, .reverse = true}, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(VideoRangeProblem(c.info, c.range).value_or(""), c.problem)
            << "count " << c.range.count << " from " << c.range.first;
    EXPECT_EQ(VideoContentsText(fromThree),
              "This AVI contains 10 Frames where the first frame has index 3 and the last frame "
              "has index 12.");
}

TEST(VideoRange, IndicesInReadingOrder) {
    const VideoInfo info = Frames(3, 4);
    using List = std::vector<int64_t>;
    EXPECT_EQ(VideoRangeIndices(info, {.all = true}), (List{3, 4, 5, 6}));
    EXPECT_EQ(VideoRangeIndices(info, {.all = true, .reverse = true}), (List{6, 5, 4, 3}));
    EXPECT_EQ(VideoRangeIndices(info, {.count = 2, .first = 4}), (List{4, 5}));
    EXPECT_EQ(VideoRangeIndices(info, {.count = 3, .first = 5, .reverse = true}), (List{5, 4, 3}));
}

TEST(VideoStream, FixturesDescribeThemselves) {
    struct Case {
        const char* name;
        const char* codec;
        int32_t width, height;
        int64_t length;
        double fps;
        bool paletted;
    } cases[] = {
        {"pal8.avi", "rawvideo", 16, 12, 10, 10, true},
        {"mjpeg.avi", "mjpeg", 32, 24, 12, 12, false},
        {"h264.mp4", "h264", 32, 24, 15, 15, false},
    };
    for (const Case& c : cases) {
        const auto video = Open(c.name);
        if (!video) continue;
        const VideoInfo& info = video->Info();
        EXPECT_EQ(info.codec, c.codec) << c.name;
        EXPECT_EQ(info.width, c.width) << c.name;
        EXPECT_EQ(info.height, c.height) << c.name;
        EXPECT_EQ(info.first, 0) << c.name;
        EXPECT_EQ(info.length, c.length) << c.name;
        EXPECT_DOUBLE_EQ(info.framesPerSecond, c.fps) << c.name;
        EXPECT_EQ(info.paletted, c.paletted) << c.name;
    }
}

// Indices and palettes exactly as written, whichever way the frames are read: a backward
// seek across the palette change must not keep the later palette.
TEST(VideoStream, PalettedFramesKeepIndicesAndPalettes) {
    const auto video = Open("pal8.avi");
    ASSERT_TRUE(video);
    Palette a = EmptyPalette(), b = EmptyPalette();
    for (int32_t k = 0; k < 8; ++k) {
        a[k] = {32 * k, 255 - 32 * k, 16};
        b[k] = {16, 32 * k, 255 - 32 * k};
    }
    for (int64_t k : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0, 7, 2, 5}) {
        const auto frame = video->FrameAt(k);
        ASSERT_TRUE(frame) << k << ": " << video->Error();
        ASSERT_EQ(frame->indices.size(), 16u * 12u);
        EXPECT_FALSE(frame->trueColor);
        for (int y = 0; y < 12; ++y)
            for (int x = 0; x < 16; ++x)
                ASSERT_EQ(frame->indices[y * 16 + x], (x + 2 * y + k) % 8)
                    << "frame " << k << " at " << x << ',' << y;
        EXPECT_TRUE(frame->palette == (k < 5 ? a : b)) << "frame " << k;
    }
}

TEST(VideoStream, FramesAreTheSameInAnyReadingOrder) {
    const auto video = Open("h264.mp4");
    ASSERT_TRUE(video);
    const int64_t length = video->Info().length;
    std::vector<std::vector<uint32_t>> forwards;
    for (int64_t k = 0; k < length; ++k) {
        const auto frame = video->FrameAt(k);
        ASSERT_TRUE(frame) << k << ": " << video->Error();
        EXPECT_EQ(ShownNumber(*frame), k);
        const uint32_t* pixels = frame->trueColor->Row(0);
        forwards.emplace_back(pixels, pixels + 32 * 24);
        for (uint32_t pixel : forwards.back()) ASSERT_EQ(pixel >> 24, 0u) << k;
    }
    // Backwards: one decode of each key-frame interval, where seeking to the key frame for
    // every frame would decode 45 pictures.
    const int64_t decodedBefore = DecodedPictureCount(*video);
    std::vector<int64_t> order;
    for (int64_t k = length - 1; k >= 0; --k) order.push_back(k);
    const std::size_t backwards = order.size();
    order.insert(order.end(), {7, 3, 12, 0, 14, 5, 4, 9, 9, 1});
    for (std::size_t i = 0; i < order.size(); ++i) {
        const int64_t k = order[i];
        const auto frame = video->FrameAt(k);
        ASSERT_TRUE(frame) << k << ": " << video->Error();
        const uint32_t* pixels = frame->trueColor->Row(0);
        EXPECT_TRUE(std::equal(pixels, pixels + 32 * 24, forwards[k].begin())) << "frame " << k;
        if (i + 1 == backwards) {
            EXPECT_LE(DecodedPictureCount(*video) - decodedBefore, length + 3);
        }
    }
}

TEST(VideoStream, DamagedFilesGiveErrorsNotCrashes) {
    std::string error;
    EXPECT_FALSE(OpenVideoFile(kVideos + "missing.avi", &error));
    EXPECT_EQ(error, "cannot open the file");
    const std::vector<uint8_t> text{'G', 'I', 'F', '8', '9', 'a', 0, 0};
    EXPECT_FALSE(OpenVideoBytes(text, &error));
    EXPECT_NE(error, "");

    for (const char* name : {"pal8.avi", "mjpeg.avi", "h264.mp4"}) {
        std::vector<uint8_t> bytes = FileContents(name);
        ASSERT_GT(bytes.size(), 1000u) << name;
        // Cut at many places, and with every byte of a stretch in the middle inverted.
        std::vector<std::vector<uint8_t>> damaged;
        for (std::size_t size = 0; size < bytes.size(); size += bytes.size() / 40 + 1)
            damaged.emplace_back(bytes.begin(), bytes.begin() + static_cast<long>(size));
        damaged.push_back(bytes);
        for (std::size_t i = bytes.size() / 3; i < bytes.size() / 3 + 200; ++i)
            damaged.back()[i] ^= 0xFF;
        for (const auto& input : damaged) {
            const auto video = OpenVideoBytes(input, &error);
            if (!video) {
                EXPECT_NE(error, "") << name << " cut to " << input.size();
                continue;
            }
            for (int64_t k = video->Info().length - 1; k >= 0; k -= 2)
                if (!video->FrameAt(k)) {
                    EXPECT_NE(video->Error(), "") << name;
                }
        }
    }
}

TEST(VideoImport, ProgressStopsTheRunKeepingItsFrames) {
    const auto video = Open("pal8.avi");
    ASSERT_TRUE(video);
    Animation doc;
    std::vector<int64_t> told;
    const VideoRun run = ReadVideoRun(
        *video, {.all = true, .reverse = true}, [&] { return CreateGif(doc, nullptr, nullptr); },
        std::nullopt,
        [&](int64_t index, int64_t ordinal, int64_t total) {
            told.insert(told.end(), {index, ordinal, total});
            return ordinal <= 3;
        });
    EXPECT_EQ(told, (std::vector<int64_t>{9, 1, 10, 8, 2, 10, 7, 3, 10, 6, 4, 10}));
    EXPECT_EQ(run.indices, (std::vector<int64_t>{9, 8, 7}));
    EXPECT_EQ(run.error, "");
    const std::vector<Gif*> frames = ChainFrames(run.frames.get());
    ASSERT_EQ(frames.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        const Gif& gif = *frames[i];
        EXPECT_EQ(gif.prev, i ? frames[i - 1] : nullptr);
        EXPECT_EQ(gif.width, 16u);
        EXPECT_EQ(gif.height, 12u);
        EXPECT_EQ(gif.indexedReady, 1);
        EXPECT_EQ(gif.usesLocalPalette, 1);
        EXPECT_EQ(gif.indexed->Get(1, 0), (1 + 9 - i) % 8) << i;
        EXPECT_EQ(gif.palette[7], (PaletteEntry{16, 224, 31}));
        EXPECT_TRUE(gif.palette[8].IsUnused());
    }
}

TEST(VideoImport, FramesAreScaledToTheRequestedSize) {
    Animation doc;
    const auto newFrame = [&] { return CreateGif(doc, nullptr, nullptr); };
    struct Case {
        const char* name;
        std::optional<std::pair<int32_t, int32_t>> size;
        uint32_t width, height;
        int32_t ready;
        int red;  // of frame 3 at (0, 0): 16 * 3 + 8, and palette A's entry 3
    } cases[] = {
        {"mjpeg.avi", std::nullopt, 32, 24, 0, 56},
        {"mjpeg.avi", std::pair{16, 12}, 16, 12, 0, 56},
        {"pal8.avi", std::pair{32, 24}, 32, 24, 0, 96},  // scaled smoothly: a reduction follows
    };
    for (const Case& c : cases) {
        const auto video = Open(c.name);
        if (!video) continue;
        const VideoRun run = ReadVideoRun(*video, {.count = 2, .first = 3}, newFrame, c.size);
        ASSERT_EQ(run.indices, (std::vector<int64_t>{3, 4})) << c.name << ' ' << run.error;
        for (const Gif* gif : ChainFrames(run.frames.get())) {
            EXPECT_EQ(gif->width, c.width) << c.name;
            EXPECT_EQ(gif->height, c.height) << c.name;
            EXPECT_EQ(gif->indexedReady, c.ready) << c.name;
            ASSERT_TRUE(gif->trueColor) << c.name;
            EXPECT_EQ(gif->trueColor->Width(), static_cast<int32_t>(c.width)) << c.name;
        }
        const int red = static_cast<int>(run.frames->trueColor->Get(0, 0) >> 16);
        EXPECT_NEAR(red, c.red, 4) << c.name;
    }
}

}  // namespace
}  // namespace anitrope
