#pragma once

namespace anitrope {

struct Animation;
struct Gif;

// Whether a colour table is present and how many colours it holds (0 when absent: the
// slots of an absent table say nothing about the file).
struct PaletteSummary {
    bool present = false;
    int colors = 0;
};

PaletteSummary GlobalPaletteSummary(const Animation& animation);
PaletteSummary LocalPaletteSummary(const Gif& frame);

}  // namespace anitrope
