#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "banner/text_drawer.h"
#include "model/frame_chain.h"
#include "model/palette_entry.h"

namespace anitrope {

struct Gif;

// Colours here are 0x00RRGGBB, as true-colour pixels are.
inline constexpr uint32_t kBannerBlack = 0x000000;
inline constexpr uint32_t kBannerWhite = 0xFFFFFF;

inline constexpr std::size_t kMaxBannerTextLength = 2048;  // characters, not bytes
inline constexpr int32_t kMaxBannerFontHeight = 400;

// What the banner dialog edits: one record for the program run, never stored.
struct BannerSettings {
    std::string text;  // UTF-8
    FontDescription font;
    int32_t drawBorder = 0;
    int32_t textYOffset = 0;
    int32_t shadowEnabled = 1;
    int32_t shadowXOffset = 9;
    int32_t shadowYOffset = 7;
    int32_t shadowThickness = 8;
    int32_t shadowIntensity = 14;
    int32_t frameCount = 10;
    int32_t imageWidth = 140;
    int32_t imageHeight = 80;
    uint32_t textColor = kBannerBlack;
    uint32_t backgroundColor = kBannerWhite;
    uint32_t shadowColor = kBannerBlack;
    std::array<uint32_t, 16> customColors = MakeWhiteColors();

private:
    static std::array<uint32_t, 16> MakeWhiteColors() {
        std::array<uint32_t, 16> colors{};
        colors.fill(kBannerWhite);
        return colors;
    }
};

// Status codes of a banner generation.
enum BannerStatus : int32_t {
    BannerDone = 0,
    BannerNotRequested = 1,  // not usable or not accepted: nothing to do
    BannerOutOfRange = 2,    // a value beyond what the dialog allows
    BannerTooLarge = 3,      // the frames would take more memory than allowed
    BannerNoMemory = 4,
    BannerStopped = 5,  // the progress asked to stop
};

// One banner to make: filled by the shell (warnIfEmpty, usePalette), completed by the dialog,
// read by the generator, which leaves its frames or its refusal here.
struct BannerRequest {
    bool warnIfEmpty = false;
    bool usePalette = false;
    Palette palette = EmptyPalette();
    int32_t frameCount = 10;
    int32_t imageWidth = 140;
    int32_t imageHeight = 80;
    std::string text;
    FontDescription font;
    int32_t drawBorder = 0;
    int32_t textYOffset = 0;
    int32_t shadowEnabled = 1;
    int32_t shadowXOffset = 9;
    int32_t shadowYOffset = 7;
    int32_t shadowThickness = 8;
    int32_t shadowIntensity = 14;
    uint32_t textColor = kBannerBlack;
    uint32_t backgroundColor = kBannerWhite;
    uint32_t shadowColor = kBannerBlack;
    bool accepted = false;  // the dialog ended with OK
    bool usable = true;     // cleared when the dialog cannot be shown or the generation fails

    FrameChain frames;
    int32_t status = BannerNotRequested;
    std::string failure;  // why the generation refused or failed, for the user
};

// The dialog's OK: the settings become the request's values.
void CopySettings(const BannerSettings& settings, BannerRequest& request);

// The first value beyond its bounds, checked in the dialog's order ("Text Y Offset",
// "Shadow X Offset", "Shadow Y Offset", "Shadow Thickness", "Nr. of Frames", "Image Width",
// "Image Height"), with the bound it crossed.
struct BannerRangeFailure {
    const char* label = "";
    int32_t min = 0;
    int32_t max = 0;
    int32_t bound = 0;
};
std::optional<BannerRangeFailure> FirstOutOfRange(const BannerSettings& settings);
std::optional<BannerRangeFailure> FirstOutOfRange(const BannerRequest& request);
// The dialog's correction: that value becomes its bound.
void CorrectToBound(BannerSettings& settings, const BannerRangeFailure& failure);
// "The '%s' value must be in the range from %d to %d"
std::string RangeMessage(const BannerRangeFailure& failure);

// A chosen font height cut to -400 ... 400.
int32_t ClampFontHeight(int32_t height);

// Characters of UTF-8 text (continuation bytes not counted).
std::size_t CharacterCount(const std::string& text);

}  // namespace anitrope
