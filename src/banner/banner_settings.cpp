#include "banner/banner_settings.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "model/frame_chain.h"

namespace anitrope {
namespace {

// The dialog's range checks in the order it makes them.
template <class Record>
struct RangeRule {
    const char* label;
    int32_t Record::*field;
    int32_t min;
    int32_t max;
};

template <class Record>
constexpr std::array<RangeRule<Record>, 7> RangeRules() {
    return {{{"Text Y Offset", &Record::textYOffset, -3000, 3000},
             {"Shadow X Offset", &Record::shadowXOffset, -200, 200},
             {"Shadow Y Offset", &Record::shadowYOffset, -200, 200},
             {"Shadow Thickness", &Record::shadowThickness, 0, 20},
             {"Nr. of Frames", &Record::frameCount, 1, 1000},
             {"Image Width", &Record::imageWidth, 1, 2048},
             {"Image Height", &Record::imageHeight, 1, 2048}}};
}

template <class Record>
std::optional<BannerRangeFailure> FirstFailure(const Record& record) {
    for (const RangeRule<Record>& rule : RangeRules<Record>()) {
        const int32_t value = record.*rule.field;
        if (value < rule.min || value > rule.max)
            return BannerRangeFailure{rule.label, rule.min, rule.max,
                                      value < rule.min ? rule.min : rule.max};
    }
    return std::nullopt;
}

}  // namespace


void CopySettings(const BannerSettings& settings, BannerRequest& request) {
    request.frameCount = settings.frameCount;
    request.imageWidth = settings.imageWidth;
    request.imageHeight = settings.imageHeight;
    request.text = settings.text;
    request.font = settings.font;
    request.drawBorder = settings.drawBorder;
    request.textYOffset = settings.textYOffset;
    request.shadowEnabled = settings.shadowEnabled;
    request.shadowXOffset = settings.shadowXOffset;
    request.shadowYOffset = settings.shadowYOffset;
    request.shadowThickness = settings.shadowThickness;
    request.shadowIntensity = settings.shadowIntensity;
    request.textColor = settings.textColor;
    request.backgroundColor = settings.backgroundColor;
    request.shadowColor = settings.shadowColor;
}

std::optional<BannerRangeFailure> FirstOutOfRange(const BannerSettings& settings) {
    return FirstFailure(settings);
}

std::optional<BannerRangeFailure> FirstOutOfRange(const BannerRequest& request) {
    return FirstFailure(request);
}

void CorrectToBound(BannerSettings& settings, const BannerRangeFailure& failure) {
    for (const RangeRule<BannerSettings>& rule : RangeRules<BannerSettings>())
        if (std::string_view(rule.label) == failure.label) settings.*rule.field = failure.bound;
}

std::string RangeMessage(const BannerRangeFailure& failure) {
    char text[200];
    std::snprintf(text, sizeof text, "The '%s' value must be in the range from %d to %d",
                  failure.label, failure.min, failure.max);
    return text;
}

int32_t ClampFontHeight(int32_t height) {
    return std::clamp(height, -kMaxBannerFontHeight, kMaxBannerFontHeight);
}

std::size_t CharacterCount(const std::string& text) {
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

}  // namespace anitrope
