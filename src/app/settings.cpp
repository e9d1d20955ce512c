#include "app/settings.h"

#include <algorithm>
#include <iterator>
#include <string>

#include "gif/comparison_mask.h"

namespace anitrope {
namespace {

// The 32-bit values stored under their own names, each with the member that holds it. Their
// defaults are those of a default-constructed Settings. "Internal" is not among them: it packs
// two members into one value.
struct NumberValue {
    const char* name;
    uint32_t Settings::*member;
};

constexpr NumberValue kNumberValues[] = {
    {"Preview", &Settings::preview},
    {"PreviewFrames", &Settings::previewFrames},
    {"Fixed Nr. of PreviewFrames", &Settings::fixedPreviewFrames},
    {"ExportAsJpg", &Settings::exportAsJpg},
    {"ReloadAfterSave", &Settings::reloadAfterSave},
    {"Confirm Delete", &Settings::confirmDelete},
    {"Keep TrueColorInfo", &Settings::keepTrueColorInfo},
    {"MultiInst", &Settings::multiInst},
    {"Jpeg Compression", &Settings::jpegCompression},
    {"Gif Compression", &Settings::gifCompression},
    {"Transparent Warning", &Settings::transparentWarning},
    {"Optimize Warning", &Settings::optimizeWarning},
    {"UnOptimize Warning", &Settings::unoptimizeWarning},
    {"Resize Warning", &Settings::resizeWarning},
    {"LocalPal Warning", &Settings::localPalWarning},
    {"GlobalPal Warning", &Settings::globalPalWarning},
    {"ToolWindows", &Settings::toolWindows},
    {"Undo Memory", &Settings::undoMemory},
    {"Color Reduction", &Settings::colorReduction},
    {"Dither", &Settings::dither},
};

constexpr char kPathName[] = "Path";
constexpr char kPathSaveName[] = "PathSave";
constexpr char kInternalName[] = "Internal";
constexpr char kWinRectName[] = "WinRect";
constexpr char kParamPlacementName[] = "Param Placement";

// "Internal" keeps the transition index above the effect index.
constexpr uint32_t kInternalEffectRange = 256;

std::string HistoryValueName(int slot) { return "History File " + std::to_string(slot); }

constexpr const char* kGifLevelNames[] = {"Lossless",   "Highest Quality", "High Quality", "Medium",
                                          "Small Size", "Smallest Size"};
static_assert(std::size(kGifLevelNames) == kComparisonMasks.size() + 1);

}  // namespace

void Settings::ReactivateWarnings() {
    transparentWarning = 0;
    optimizeWarning = 0;
    unoptimizeWarning = 0;
    resizeWarning = 0;
    localPalWarning = 0;
    globalPalWarning = 0;
}

std::optional<Settings> LoadSettings(KeyValueStore& store, int32_t screenWidth,
                                     int32_t screenHeight) {
    Settings settings;
    if (!store.Existed()) {
        settings.pathSave.clear();
        settings.winRect = WindowPlacement::Default(screenWidth, screenHeight);
        if (!SaveSettings(settings, store)) return std::nullopt;
        return settings;
    }

    // A value that is missing or of another kind keeps the default already in `settings`.
    for (const NumberValue& value : kNumberValues)
        if (auto number = store.ReadNumber(value.name)) settings.*value.member = *number;
    if (auto text = store.ReadText(kPathName)) settings.path = *text;
    if (auto text = store.ReadText(kPathSaveName)) settings.pathSave = *text;
    if (auto internal = store.ReadNumber(kInternalName)) {
        settings.lastTransition = *internal / kInternalEffectRange;
        settings.lastEffect = *internal % kInternalEffectRange;
    }
    WindowPlacement placement;
    const auto winRect = store.ReadBytes(kWinRectName);
    settings.winRect = winRect && WindowPlacement::FromBytes(*winRect, placement)
                           ? placement
                           : WindowPlacement::Default(screenWidth, screenHeight);
    const auto param = store.ReadBytes(kParamPlacementName);
    settings.paramPlacement = param && WindowPlacement::FromBytes(*param, placement)
                                  ? placement
                                  : WindowPlacement::None();
    for (int slot = 0; slot < kRecentFileSlots; ++slot)
        if (auto text = store.ReadText(HistoryValueName(slot)))
            settings.history[static_cast<std::size_t>(slot)] = *text;
    return settings;
}

bool SaveSettings(const Settings& settings, KeyValueStore& store) {
    store.WriteText(kPathName, settings.path);
    store.WriteText(kPathSaveName, settings.pathSave);
    for (const NumberValue& value : kNumberValues)
        store.WriteNumber(value.name, settings.*value.member);
    // Unsigned arithmetic: an index too large for the packing wraps instead of overflowing.
    store.WriteNumber(kInternalName,
                      settings.lastTransition * kInternalEffectRange + settings.lastEffect);
    store.WriteBytes(kWinRectName, settings.winRect.ToBytes());
    store.WriteBytes(kParamPlacementName, settings.paramPlacement.ToBytes());
    for (int slot = 0; slot < kRecentFileSlots; ++slot) {
        const std::string& file = settings.history[static_cast<std::size_t>(slot)];
        // A slot emptied during the run (a recent file that failed to load) must not bring
        // back the entry it held at start-up, so its old value goes.
        if (file.empty())
            store.Remove(HistoryValueName(slot));
        else
            store.WriteText(HistoryValueName(slot), file);
    }
    return store.Flush();
}

std::string HandOverValueName(uint32_t number) { return "Temp" + std::to_string(number); }

int JpegQuality(const Settings& settings) {
    return static_cast<int>(std::min<uint32_t>(settings.jpegCompression, kMaxJpegQuality));
}

const char* GifCompressionLevelName(int position) {
    if (position < kLosslessLevel || position >= static_cast<int>(std::size(kGifLevelNames))) return "";
    return kGifLevelNames[position];
}

ReductionOptions ReductionOptionsOf(const Settings& settings) {
    const bool high =
        settings.colorReduction == static_cast<uint32_t>(ReductionMethod::HighQuality);
    return {high ? ReductionMethod::HighQuality : ReductionMethod::Popularity,
            settings.dither != 0};
}

}  // namespace anitrope
