#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace anitrope {

// The names every frame of an animation is exported under, one file each. A name carries the
// frame's number either before its extension (normal naming) or in place of a run of
// indicator characters the user typed into it (advanced naming, "a**b.gif" with '*').

// How many digits the numbers take for `frames` frames: 1 up to 8 frames, 2 up to 98, 3 up
// to 998, 4 up to 9998, else 5. The thresholds leave room for one frame more than the last
// number needs; names exported by earlier versions follow them, so they stay.
int ExportDigits(std::size_t frames);

// True when the text from the file name's first '.' is ".GIF" in any case. A dot in a
// folder's name is not the extension's.
bool HasGifExtension(std::string_view name);

enum class IndicatorStatus {
    Ok,
    NotOneCharacter,  // the indicator is empty or longer than one character
    NotFound,         // the name does not hold it
    WrongCount,       // it occurs, but not exactly once per digit
};

struct IndicatorCheck {
    IndicatorStatus status = IndicatorStatus::Ok;
    int found = 0;  // how often the indicator occurs in the name
};

// Whether `indicator` can stand for the `digits` digits in `name`.
IndicatorCheck CheckIndicator(std::string_view name, std::string_view indicator, int digits);
// What the editor and the command-line tool tell the user about a failed check; empty for Ok.
// Shown with the title kIndicatorProblemTitle.
std::string IndicatorMessage(const IndicatorCheck& check, int digits);
inline constexpr const char* kIndicatorProblemTitle = "Problems with Indicator";

// The name of frame `k` (from 0): normal naming without an indicator, the number padded with
// zeros to `digits` digits before the file name's first '.' (appended without one); advanced
// naming replaces the indicator characters from left to right by the last `digits` digits of
// `k`, most significant first. The name must have passed CheckIndicator.
std::string ExportName(std::string_view name, std::optional<char> indicator, int digits,
                       std::size_t k);

}  // namespace anitrope
