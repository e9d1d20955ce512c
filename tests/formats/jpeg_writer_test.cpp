#include "formats/jpeg_writer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include "formats/jpeg_reader.h"
#include "support/jpeg_samples.h"
#include "support/temp_file.h"

namespace anitrope {
namespace {

using test::JpegSampleKind;

constexpr int kW = 48;
constexpr int kH = 40;

// The shared sample pattern as a bitmap, so that libjpeg can be given the same pixels.
// Bitmaps cannot be copied or moved, hence the pointer.
std::unique_ptr<TrueColorBitmap> PatternBitmap(uint32_t extraBits = 0) {
    const auto rgb = test::SamplePattern(kW, kH, 3);
    auto bitmap = std::make_unique<TrueColorBitmap>(kW, kH);
    for (int i = 0; i < kW * kH; ++i)
        bitmap->Set(i % kW, i / kW,
                    extraBits | uint32_t{rgb[i * 3]} << 16 | uint32_t{rgb[i * 3 + 1]} << 8 |
                        rgb[i * 3 + 2]);
    return bitmap;
}

std::vector<uint8_t> Encode(const TrueColorBitmap& bitmap, bool colour, int quality) {
    std::vector<uint8_t> out;
    const JpegWriteResult result = EncodeJpeg(bitmap, colour, quality, out);
    EXPECT_TRUE(result.ok) << result.message;
    return out;
}

int Channel(uint32_t pixel, int c) { return static_cast<int>(pixel >> (16 - 8 * c)) & 0xFF; }

struct Error {
    double psnr = 0;
    int worst = 0;
};

Error Compare(const TrueColorBitmap& original, const RgbaPicture& decoded) {
    double squares = 0;
    Error e;
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x)
            for (int c = 0; c < 3; ++c) {
                const int d = Channel(original.Get(x, y), c) - decoded.pixels[(y * kW + x) * 4 + c];
                squares += d * d;
                e.worst = std::max(e.worst, std::abs(d));
            }
    const double mse = squares / (kW * kH * 3);
    e.psnr = mse == 0 ? 99 : 10 * std::log10(255.0 * 255.0 / mse);
    return e;
}

TEST(JpegWriter, HigherQualityGivesSmallerErrorsAndLargerFiles) {
    const auto pattern = PatternBitmap();
    const TrueColorBitmap& bitmap = *pattern;
    struct Step {
        int quality;
        double minPsnr;
        int maxError;
    };
    // A little below what libjpeg-turbo 2.1 achieves on this pattern (PSNR 25.2, 28.0, 31.1,
    // 42.6, 58.6; worst 38, 31, 21, 7, 1).
    const Step steps[] = {{10, 24, 48}, {50, 27, 38}, {75, 30, 28}, {95, 41, 10}, {100, 55, 2}};
    Error previous{};
    std::size_t previousSize = 0;
    for (const Step& step : steps) {
        const auto jpeg = Encode(bitmap, true, step.quality);
        const JpegReadResult read = DecodeJpeg(jpeg);
        ASSERT_TRUE(read.picture) << read.message;
        ASSERT_EQ(read.picture->width, kW);
        ASSERT_EQ(read.picture->height, kH);
        const Error e = Compare(bitmap, *read.picture);
        SCOPED_TRACE(step.quality);
        EXPECT_GE(e.psnr, step.minPsnr);
        EXPECT_LE(e.worst, step.maxError);
        EXPECT_GT(e.psnr, previous.psnr);
        EXPECT_GT(jpeg.size(), previousSize);
        previous = e;
        previousSize = jpeg.size();
    }
}

// Smooth ramps of very unequal channels, where the plain mean and a luma weighting (green
// counting most) are far apart.
std::unique_ptr<TrueColorBitmap> RampBitmap() {
    auto bitmap = std::make_unique<TrueColorBitmap>(kW, kH);
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
            const uint32_t r = uint32_t(x * 255 / kW), b = uint32_t(y * 255 / kH);
            bitmap->Set(x, y, r << 16 | (255 - r) << 8 | b);
        }
    return bitmap;
}

TEST(JpegWriter, GreyExportHoldsOneComponentOfTheChannelMean) {
    const auto ramps = RampBitmap();
    const TrueColorBitmap& bitmap = *ramps;
    const auto jpeg = Encode(bitmap, false, 95);
    const auto segments = test::JpegSegments(jpeg);
    bool sawFrame = false;
    for (const test::JpegSegment& s : segments)
        if (s.code == 0xC0) {
            EXPECT_EQ(jpeg[s.offset + 9], 1) << "component count";
            sawFrame = true;
        }
    EXPECT_TRUE(sawFrame);
    const JpegReadResult read = DecodeJpeg(jpeg);
    ASSERT_TRUE(read.picture) << read.message;
    int worst = 0;
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
            const uint8_t* p = &read.picture->pixels[(y * kW + x) * 4];
            ASSERT_EQ(p[0], p[1]);
            ASSERT_EQ(p[0], p[2]);
            const uint32_t o = bitmap.Get(x, y);
            const int mean = (Channel(o, 0) + Channel(o, 1) + Channel(o, 2)) / 3;
            worst = std::max(worst, std::abs(p[0] - mean));
        }
    EXPECT_LE(worst, 10);
}

TEST(JpegWriter, FilesAreBaselineWithEightBitTablesAtEveryQuality) {
    for (int quality : {0, 50, 100}) {
        for (bool colour : {true, false}) {
            const auto jpeg = Encode(*PatternBitmap(), colour, quality);
            EXPECT_TRUE(test::HasMarker(jpeg, 0xC0));
            EXPECT_FALSE(test::HasMarker(jpeg, 0xC2));
            EXPECT_TRUE(test::HasMarker(jpeg, 0xC4)) << "Huffman tables written";
            int tables = 0;
            for (const test::JpegSegment& s : test::JpegSegments(jpeg))
                if (s.code == 0xDB) {
                    ++tables;
                    // Low quality scales table entries past 255; baseline keeps them 8-bit.
                    EXPECT_EQ(jpeg[s.offset + 4] >> 4, 0) << "quality " << quality;
                }
            EXPECT_EQ(tables, colour ? 2 : 1);
        }
    }
}

TEST(JpegWriter, QualityMeansWhatItMeansToLibjpeg) {
    const auto pattern = PatternBitmap();
    const TrueColorBitmap& bitmap = *pattern;
    const auto rgb = test::SamplePattern(kW, kH, 3);
    EXPECT_EQ(Encode(bitmap, true, 75),
              test::LibjpegEncode(kW, kH, rgb, {JpegSampleKind::Rgb, 75}));
    EXPECT_EQ(Encode(bitmap, true, 250), Encode(bitmap, true, 100));
    EXPECT_EQ(Encode(bitmap, true, -5), Encode(bitmap, true, 0));
}

TEST(JpegWriter, TransparencyIsIgnored) {
    EXPECT_EQ(Encode(*PatternBitmap(TransparentBit), true, 80), Encode(*PatternBitmap(), true, 80));
}

TEST(JpegWriter, SizesThatAreNotWholeBlocksKeepTheirSizeAndColour) {
    for (auto [w, h] : {std::pair{1, 1}, {17, 9}, {1, 40}, {33, 2}}) {
        TrueColorBitmap bitmap(w, h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) bitmap.Set(x, y, 0x3080C0);
        for (bool colour : {true, false}) {
            const JpegReadResult read = DecodeJpeg(Encode(bitmap, colour, 90));
            ASSERT_TRUE(read.picture) << read.message;
            EXPECT_EQ(read.picture->width, w);
            EXPECT_EQ(read.picture->height, h);
            const int grey = (0x30 + 0x80 + 0xC0) / 3;
            const int expected[3] = {colour ? 0x30 : grey, colour ? 0x80 : grey,
                                     colour ? 0xC0 : grey};
            for (std::size_t i = 0; i < read.picture->pixels.size(); i += 4)
                for (int c = 0; c < 3; ++c)
                    ASSERT_NEAR(read.picture->pixels[i + c], expected[c], 3) << w << "x" << h;
        }
    }
}

TEST(JpegWriter, EmptyBitmapsAreNotWritten) {
    std::vector<uint8_t> out;
    for (auto [w, h] : {std::pair{0, 0}, {0, 5}, {5, 0}}) {
        const JpegWriteResult result = EncodeJpeg(TrueColorBitmap(w, h), true, 75, out);
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.message, "nothing to write");
    }
}

std::string Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

TEST(JpegWriter, FilesAreReplacedOnlyBySuccessfulWrites) {
    const test::TempDir dir;
    const std::string path = dir / "p.jpg";
    ASSERT_TRUE(WriteJpegFile(path, *PatternBitmap(), true, 75).ok);
    const std::string written = Contents(path);
    const JpegReadResult read = ReadJpegFile(path);
    ASSERT_TRUE(read.picture) << read.message;
    EXPECT_EQ(read.picture->width, kW);

    EXPECT_FALSE(WriteJpegFile(path, TrueColorBitmap(0, 3), true, 75).ok);
    EXPECT_EQ(Contents(path), written);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1)
        << "no temporary file left behind";

    const JpegWriteResult nowhere =
        WriteJpegFile("/nonexistent-dir/x.jpg", *PatternBitmap(), true, 75);
    EXPECT_FALSE(nowhere.ok);
    EXPECT_EQ(nowhere.failure, JpegFailure::CannotOpen);
    EXPECT_FALSE(std::filesystem::exists("/nonexistent-dir/x.jpg"));
}

}  // namespace
}  // namespace anitrope
