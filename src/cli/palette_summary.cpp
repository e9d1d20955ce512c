#include "cli/palette_summary.h"

#include "model/animation.h"
#include "model/gif.h"

namespace anitrope {
namespace {

PaletteSummary Summarize(bool present, const Palette& palette) {
    return {present, present ? UsedPaletteSlots(palette) : 0};
}

}  // namespace

PaletteSummary GlobalPaletteSummary(const Animation& animation) {
    return Summarize(animation.globalPalettePresent != 0, animation.globalPalette);
}

PaletteSummary LocalPaletteSummary(const Gif& frame) {
    return Summarize(frame.usesLocalPalette != 0, frame.palette);
}

}  // namespace anitrope
