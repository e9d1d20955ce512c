#pragma once

#include <cstdint>
#include <optional>

namespace anitrope {

// The one parameter record of every effect and transition, kept for the whole run of the
// editor: the count, the table and entry chosen last and PingPong carry over from one use to
// the next, while the entry's own values are put back to its defaults whenever it is chosen.
struct EffectParams {
    int32_t frameCount = 10;
    int32_t isEffect = 0;      // 1: the effect table; 0: the transition table
    int32_t noTransition = 0;  // 1: the current frame has no successor a transition could use
    int32_t pingPong = 0;      // 1: compute the first half and mirror it
    int32_t lastSelection = 0;
    int32_t effectIndex = 0;
    int32_t transitionIndex = 0;
    int32_t value1 = 0;
    int32_t value2 = 0;
    int32_t value3 = 0;
    int32_t value4 = 0;
    int32_t value5 = 0;
    int32_t check1 = 0;
    int32_t check2 = 0;
    int32_t check3 = 0;
    int32_t check4 = 0;
    int32_t colorIndex = -1;  // into the current frame's palette; -1 not chosen
    int32_t direction = -1;   // the first list's item; -1 when it is empty
    int32_t option = -1;      // the second list's item; -1 when it is empty
    int32_t preview = 0;      // 1: a preview, with no progress and no colour reduction
    // Where random placements start; none: the current time in seconds, so that runs differ.
    // Set to replay a run (tests, the command line's --seed).
    std::optional<uint32_t> seed{};
};

inline constexpr int kValueSlots = 5;
inline constexpr int kCheckSlots = 4;

// value1 ... value5 and check1 ... check4 by number (1-based; other numbers mean 1).
int32_t& ValueOf(EffectParams& params, int slot);
int32_t ValueOf(const EffectParams& params, int slot);
int32_t& CheckOf(EffectParams& params, int slot);
int32_t CheckOf(const EffectParams& params, int slot);

}  // namespace anitrope
