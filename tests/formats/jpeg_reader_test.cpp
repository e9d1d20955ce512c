#include "formats/jpeg_reader.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "support/jpeg_samples.h"
#include "support/temp_file.h"

namespace anitrope {
namespace {

using test::JpegSampleKind;

std::vector<uint8_t> Sample(int w, int h, JpegSampleKind kind, bool progressive = false) {
    const auto samples = test::SamplePattern(w, h, static_cast<int>(kind));
    return test::LibjpegEncode(w, h, samples, {kind, 90, progressive});
}

void ExpectFatal(const JpegReadResult& read, const std::string& message) {
    EXPECT_FALSE(read.picture);
    EXPECT_EQ(read.failure, JpegFailure::Fatal);
    EXPECT_EQ(read.message, message);
}

// Height and width of the first frame header, big-endian, as libjpeg will read them.
void PatchSize(std::vector<uint8_t>& jpeg, uint16_t width, uint16_t height) {
    for (const test::JpegSegment& s : test::JpegSegments(jpeg))
        if (s.code == 0xC0 || s.code == 0xC2) {
            jpeg[s.offset + 5] = static_cast<uint8_t>(height >> 8);
            jpeg[s.offset + 6] = static_cast<uint8_t>(height);
            jpeg[s.offset + 7] = static_cast<uint8_t>(width >> 8);
            jpeg[s.offset + 8] = static_cast<uint8_t>(width);
            return;
        }
    FAIL() << "no frame header";
}

TEST(JpegReader, GreyFilesBecomeRgbWithEqualChannelsAndOpaqueAlpha) {
    const auto grey = test::SamplePattern(24, 16, 1);
    const JpegReadResult read =
        DecodeJpeg(test::LibjpegEncode(24, 16, grey, {JpegSampleKind::Grey, 95, false}));
    ASSERT_TRUE(read.picture) << read.message;
    ASSERT_EQ(read.picture->width, 24);
    ASSERT_EQ(read.picture->height, 16);
    const auto& px = read.picture->pixels;
    ASSERT_EQ(px.size(), 24u * 16u * 4u);
    int worst = 0;
    for (std::size_t i = 0; i < grey.size(); ++i) {
        EXPECT_EQ(px[i * 4], px[i * 4 + 1]);
        EXPECT_EQ(px[i * 4], px[i * 4 + 2]);
        EXPECT_EQ(px[i * 4 + 3], 255);
        worst = std::max(worst, std::abs(px[i * 4] - grey[i]));
    }
    EXPECT_LE(worst, 10);
}

TEST(JpegReader, ProgressiveAndBaselineFilesOfOnePictureDecodeAlike) {
    const JpegReadResult baseline = DecodeJpeg(Sample(20, 12, JpegSampleKind::Rgb));
    const JpegReadResult progressive = DecodeJpeg(Sample(20, 12, JpegSampleKind::Rgb, true));
    ASSERT_TRUE(baseline.picture) << baseline.message;
    ASSERT_TRUE(progressive.picture) << progressive.message;
    ASSERT_EQ(progressive.picture->pixels.size(), baseline.picture->pixels.size());
    for (std::size_t i = 0; i < baseline.picture->pixels.size(); ++i)
        EXPECT_NEAR(progressive.picture->pixels[i], baseline.picture->pixels[i], 2) << i;
}

TEST(JpegReader, EveryCutOfAFileGivesTheWholePictureOrAMessage) {
    for (bool progressive : {false, true}) {
        const auto jpeg = Sample(16, 16, JpegSampleKind::Rgb, progressive);
        for (std::size_t cut = 0; cut < jpeg.size(); ++cut) {
            const JpegReadResult read = DecodeJpeg(std::span(jpeg.data(), cut));
            if (read.picture) {
                // libjpeg fills what is missing with grey and warns: still a picture.
                EXPECT_EQ(read.picture->pixels.size(), 16u * 16u * 4u);
                EXPECT_EQ(read.failure, JpegFailure::None);
            } else {
                EXPECT_EQ(read.failure, JpegFailure::Fatal) << "cut at " << cut;
                EXPECT_FALSE(read.message.empty()) << "cut at " << cut;
            }
        }
    }
}

TEST(JpegReader, DamagedOrForeignBytesFailWithLibjpegsMessage) {
    const uint8_t gif[] = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0};
    ExpectFatal(DecodeJpeg(gif), "Not a JPEG file: starts with 0x47 0x49");
    ExpectFatal(DecodeJpeg({}), "Empty input file");

    std::vector<uint8_t> garbage = {0xFF, 0xD8};
    for (int i = 0; i < 200; ++i) garbage.push_back(static_cast<uint8_t>(i % 0xF0));
    const JpegReadResult afterSoi = DecodeJpeg(garbage);
    EXPECT_EQ(afterSoi.failure, JpegFailure::Fatal);
    EXPECT_FALSE(afterSoi.message.empty());

    // Huffman code counts that add up to far more than 256 codes.
    auto jpeg = Sample(16, 16, JpegSampleKind::Rgb);
    bool patched = false;
    for (const test::JpegSegment& s : test::JpegSegments(jpeg))
        if (s.code == 0xC4 && !patched) {
            for (std::size_t i = 0; i < 16; ++i) jpeg[s.offset + 5 + i] = 0xFF;
            patched = true;
        }
    ASSERT_TRUE(patched);
    ExpectFatal(DecodeJpeg(jpeg), "Bogus Huffman table definition");
}

TEST(JpegReader, SizesBeyondThePictureLimitsAreRefusedBeforeDecoding) {
    // Progressive: were the size not checked first, libjpeg would go on to ask for a
    // coefficient buffer of many gigabytes, and fail differently.
    for (auto [w, h] : {std::pair<uint16_t, uint16_t>{60000, 60000}, {20000, 1}, {16384, 16384}}) {
        auto jpeg = Sample(16, 16, JpegSampleKind::Rgb, true);
        PatchSize(jpeg, w, h);
        ExpectFatal(DecodeJpeg(jpeg), "picture too large");
    }
    auto empty = Sample(16, 16, JpegSampleKind::Rgb);
    PatchSize(empty, 16, 0);
    const JpegReadResult read = DecodeJpeg(empty);
    EXPECT_EQ(read.failure, JpegFailure::Fatal);
    EXPECT_FALSE(read.message.empty());
}

TEST(JpegReader, ComponentCountsOtherThanGreyAndRgbAreRefused) {
    for (bool progressive : {false, true})
        ExpectFatal(DecodeJpeg(Sample(16, 16, JpegSampleKind::Cmyk, progressive)),
                    "JPEG files with 4 colour components are not supported");
    ExpectFatal(DecodeJpeg(Sample(16, 16, JpegSampleKind::TwoChannel)),
                "JPEG files with 2 colour components are not supported");
}

TEST(JpegReader, AThousandScansAreReadAndOneMoreIsRefused) {
    const auto jpeg = Sample(8, 8, JpegSampleKind::Grey, true);
    const auto thousand = test::WithRepeatedLastScan(jpeg, 1000);
    int scans = 0;
    for (const test::JpegSegment& s : test::JpegSegments(thousand)) scans += s.code == 0xDA;
    ASSERT_EQ(scans, 1000);
    const JpegReadResult enough = DecodeJpeg(thousand);
    EXPECT_TRUE(enough.picture) << enough.message;
    ExpectFatal(DecodeJpeg(test::WithRepeatedLastScan(jpeg, 1001)),
                "JPEG file has more than 1000 scans");
}

TEST(JpegReader, FilesAreReadOrCannotBeOpened) {
    const test::TempFile file(Sample(9, 7, JpegSampleKind::Rgb), ".jpg");
    const JpegReadResult read = ReadJpegFile(file.Path());
    ASSERT_TRUE(read.picture) << read.message;
    EXPECT_EQ(read.picture->width, 9);
    EXPECT_EQ(read.picture->height, 7);
    const JpegReadResult missing = ReadJpegFile("/nonexistent/x.jpg");
    EXPECT_FALSE(missing.picture);
    EXPECT_EQ(missing.failure, JpegFailure::CannotOpen);
}

}  // namespace
}  // namespace anitrope
