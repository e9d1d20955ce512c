#include "quantize/perceptual_reduction.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <functional>
#include <limits>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "quantize/reduce_pixels.h"
#include "quantize_fixtures.h"

namespace anitrope {
namespace {

using testing::Entry;
using testing::Rgb;

constexpr KeepColors kNoKeep{-1, -1, -1, -1, -1};

std::unique_ptr<TrueColorBitmap> Picture(int32_t width, int32_t height,
                                         const std::function<uint32_t(int, int)>& color) {
    auto pixels = std::make_unique<TrueColorBitmap>(width, height);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) pixels->Set(x, y, color(x, y));
    return pixels;
}

uint32_t Clamped(double r, double g, double b) {
    const auto c = [](double v) { return static_cast<uint32_t>(std::clamp(v, 0.0, 255.0)); };
    return Rgb(c(r), c(g), c(b));
}

// Over the opaque pixels; infinity when every one is exact.
double Psnr(const TrueColorBitmap& pixels, const ReductionResult& result) {
    double error = 0;
    int64_t count = 0;
    for (int32_t y = 0; y < pixels.Height(); ++y)
        for (int32_t x = 0; x < pixels.Width(); ++x) {
            const uint32_t want = pixels.Get(x, y);
            if (want & TransparentBit) continue;
            const PaletteEntry got = result.palette[result.indexed->Get(x, y)];
            const PaletteEntry w = Entry(want);
            error += std::pow(got.red - w.red, 2) + std::pow(got.green - w.green, 2) +
                     std::pow(got.blue - w.blue, 2);
            count += 3;
        }
    if (error == 0) return std::numeric_limits<double>::infinity();
    return 10 * std::log10(255.0 * 255.0 * static_cast<double>(count) / error);
}

std::vector<uint8_t> Indices(const ReductionResult& result) {
    std::vector<uint8_t> indices;
    for (int32_t y = 0; y < result.indexed->Height(); ++y)
        for (int32_t x = 0; x < result.indexed->Width(); ++x)
            indices.push_back(result.indexed->Get(x, y));
    return indices;
}

// Every opaque pixel shows a used colour before the transparent slot, which is left unused.
void ExpectSoundPalette(const TrueColorBitmap& pixels, const ReductionResult& result) {
    ASSERT_GE(result.transparentIndex, 0);
    ASSERT_LE(result.transparentIndex, kPaletteSlots - 1);
    EXPECT_EQ(result.transparent, 1);
    EXPECT_TRUE(result.palette[static_cast<size_t>(result.transparentIndex)].IsUnused());
    for (int i = 0; i < result.transparentIndex; ++i)
        EXPECT_FALSE(result.palette[static_cast<size_t>(i)].IsUnused()) << "slot " << i;
    for (int32_t y = 0; y < pixels.Height(); ++y)
        for (int32_t x = 0; x < pixels.Width(); ++x) {
            const bool transparent = (pixels.Get(x, y) & TransparentBit) != 0;
            EXPECT_EQ(result.indexed->Get(x, y) == result.transparentIndex, transparent)
                << x << "," << y;
        }
}

struct ManyColours {
    std::string name;
    std::function<uint32_t(int, int)> color;
    double floorDb;          // without dithering
    double ditheredFloorDb;  // error diffusion trades squared error for smoothness
};

// 255 colours tiling the red-green plane of the gradient leave squares of about 16 x 16 steps:
// a squared error of 16²/12 in two channels of three, 36.6 dB at best. The floors sit a little
// under what the best tiling allows; Popularity, which bands, must do worse.
TEST(ReducePerceptual, ManyColoursStayAboveAPsnrFloorWithAtMost255Colours) {
    std::mt19937 random(7);
    std::normal_distribution<double> grain(0, 6);
    const std::vector<ManyColours> cases = {
        {"red-green gradient", [](int x, int y) { return Rgb(x * 2, y * 2, 128); }, 35, 32},
        {"three-channel ramp", [](int x, int y) { return Clamped(x * 2, 255 - y * 2, (x + y)); },
         34, 32},
        {"photo-like noise field",
         [&](int x, int y) {
             const double base = 128 + 90 * std::sin(x / 9.0) * std::cos(y / 13.0);
             return Clamped(base + grain(random), base * 0.7 + grain(random),
                            255 - base + grain(random));
         },
         33, 30},
    };
    for (const ManyColours& c : cases) {
        SCOPED_TRACE(c.name);
        const auto pixels = Picture(128, 128, c.color);
        const auto popularity = ReduceTrueColor(*pixels, kNoKeep);
        const auto plain = ReducePerceptual(*pixels, kNoKeep, false);
        const auto dithered = ReducePerceptual(*pixels, kNoKeep, true);
        ASSERT_TRUE(popularity && plain && dithered);
        ExpectSoundPalette(*pixels, *plain);
        ExpectSoundPalette(*pixels, *dithered);
        EXPECT_GE(Psnr(*pixels, *plain), c.floorDb);
        EXPECT_GT(Psnr(*pixels, *plain), Psnr(*pixels, *popularity));
        EXPECT_GE(Psnr(*pixels, *dithered), c.ditheredFloorDb);
        EXPECT_EQ(dithered->palette, plain->palette) << "dithering picks from the same palette";
        EXPECT_NE(Indices(*dithered), Indices(*plain)) << "the error moves pixels";
        // The same input, the same output.
        const auto again = ReducePerceptual(*pixels, kNoKeep, true);
        EXPECT_EQ(again->palette, dithered->palette);
        EXPECT_EQ(Indices(*again), Indices(*dithered));
    }
}

TEST(ReducePerceptual, FewColoursAreKeptExactlyWithTheKeepColorsFirst) {
    struct Case {
        std::string name;
        std::unique_ptr<TrueColorBitmap> pixels;
        KeepColors keep;
        int colors;  // the expected transparent index
    };
    std::vector<Case> cases;
    // Odd channels and white: no bit is dropped, unlike Popularity's first mask.
    cases.push_back({"three colours and transparency",
                     testing::RowBitmap({0xFFFFFF, 0x010203, TransparentBit, 0xFFFFFF, 0x7F7F7F}),
                     kNoKeep, 3});
    cases.push_back({"255 colours",
                     Picture(15, 17, [](int x, int y) { return Rgb(x * 17, y * 15, 3); }), kNoKeep,
                     255});
    cases.push_back({"KeepColors, one unused",
                     testing::RowBitmap({0x0000FF, 0x00FF00}),
                     {0x00FF00, -1, 0x123456, 0x00FF00, -1},
                     3});
    cases.push_back(
        {"all transparent", testing::FilledBitmap(3, 2, TransparentBit | 0x123456), kNoKeep, 0});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (bool dither : {false, true}) {
            const auto result = ReducePerceptual(*c.pixels, c.keep, dither);
            ASSERT_TRUE(result);
            ExpectSoundPalette(*c.pixels, *result);
            EXPECT_EQ(result->transparentIndex, c.colors);
            EXPECT_EQ(Psnr(*c.pixels, *result), std::numeric_limits<double>::infinity());
        }
    }
    const auto kept = ReducePerceptual(*cases[2].pixels, cases[2].keep, false);
    EXPECT_EQ(kept->palette[0], Entry(0x00FF00));
    EXPECT_EQ(kept->palette[1], Entry(0x123456));
    EXPECT_EQ(kept->palette[2], Entry(0x0000FF));
    const auto allTransparent = ReducePerceptual(*cases[3].pixels, kNoKeep, false);
    EXPECT_EQ(allTransparent->hasTransparentPixels, 1);
    EXPECT_EQ(allTransparent->indexed->Get(2, 1), 0);
}

// The flag rises while the reduction runs: after the palette, before the pixels.
TEST(ReducePerceptual, StopsWhenAbortedBeforeOrDuringTheWork) {
    const auto pixels = Picture(64, 64, [](int x, int y) { return Rgb(x * 4, y * 4, x ^ y); });
    std::atomic<bool> abort{true};
    EXPECT_FALSE(ReducePerceptual(*pixels, kNoKeep, false, &abort));
    abort = false;
    bool asked = false;
    const PreviousPalette raise = [&]() -> const SharedPalette* {
        asked = true;
        abort = true;
        return nullptr;
    };
    EXPECT_FALSE(ReducePerceptual(*pixels, kNoKeep, false, &abort, raise));
    EXPECT_TRUE(asked);
}

// A fade step takes the previous frame's palette over; a different picture keeps its own.
TEST(ReducePerceptual, TakesThePreviousPaletteOnlyWhereItCostsLittle) {
    const auto frame = [](double shade) {
        return Picture(96, 64, [shade](int x, int y) {
            return Clamped(x * 2.6 * shade, y * 4 * shade, 200 * shade);
        });
    };
    const auto first = ReducePerceptual(*frame(1.0), kNoKeep, false);
    ASSERT_TRUE(first);
    const SharedPalette previous{first->palette, first->transparentIndex};
    const PreviousPalette offer = [&] { return &previous; };

    const auto near = frame(0.995);
    const auto own = ReducePerceptual(*near, kNoKeep, false);
    const auto taken = ReducePerceptual(*near, kNoKeep, false, nullptr, offer);
    ASSERT_TRUE(own && taken);
    EXPECT_EQ(taken->palette, first->palette);
    EXPECT_NE(own->palette, first->palette);
    EXPECT_GT(Psnr(*near, *taken), Psnr(*near, *own) - kPaletteReuseLossDb);

    const auto far = frame(0.5);
    const auto kept = ReducePerceptual(*far, kNoKeep, false, nullptr, offer);
    ASSERT_TRUE(kept);
    EXPECT_NE(kept->palette, first->palette);

    // A palette without the frame's KeepColors is never taken.
    const KeepColors keep{0x010101, -1, -1, -1, -1};
    const auto withKeep = ReducePerceptual(*near, keep, false, nullptr, offer);
    EXPECT_EQ(withKeep->palette[0], Entry(0x010101));
}

TEST(ReduceTrueColor, ThePopularityOptionIsThePopularityReduction) {
    const auto pixels = Picture(40, 30, [](int x, int y) { return Rgb(x * 6, y * 8, x * y); });
    const auto plain = ReduceTrueColor(*pixels, kNoKeep);
    const auto chosen = ReduceTrueColor(*pixels, kNoKeep, ReductionOptions{});
    ASSERT_TRUE(plain && chosen);
    EXPECT_EQ(chosen->palette, plain->palette);
    EXPECT_EQ(Indices(*chosen), Indices(*plain));
}

}  // namespace
}  // namespace anitrope
