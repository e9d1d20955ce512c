#pragma once

#include <array>
#include <span>
#include <string_view>

#include "effects/effect_frames.h"
#include "effects/effect_slots.h"

namespace anitrope {

class EffectProgress;
struct EffectParams;
struct Gif;

// What an entry's Init puts into the slots: its description, the labels and default texts of
// the numeric slots it uses, its check boxes, its lists (item 0 selected), whether it takes a
// colour and whether PingPong applies (enabled and cleared).
struct ValueForm {
    const char* label = nullptr;  // null: the slot is not used
    const char* text = nullptr;   // the default; null leaves the edit empty
};
struct CheckForm {
    const char* label = nullptr;
    bool checked = false;
};
struct ListForm {
    const char* label = nullptr;  // null: the list keeps its label
    std::span<const char* const> items{};
};
struct EntryForm {
    const char* description = "";
    std::array<ValueForm, 5> values{};
    std::array<CheckForm, 4> checks{};
    ListForm first{};   // `direction`
    ListForm second{};  // `option`
    bool color = false;
    bool pingPong = false;
};

// The entry's own part of its setup, for every mode after the form's Init: relabelling,
// validation. Returns what the setup returns (0 refuses Validate).
using SetupRoutine = int (*)(EffectSlots& slots, SetupMode mode);

// Computes the frames: `first` alone for an effect, `first` and its successor `second` for a
// transition. The sources stay as they are. Null on failure (refused sources or frame count,
// memory, a stop).
using ComputeRoutine = FrameChain (*)(const Gif* first, const Gif* second,
                                      const EffectParams& params, EffectProgress& progress);

struct EffectEntry {
    const char* name;
    EntryForm form;
    SetupRoutine setup = nullptr;      // null: nothing beyond the form, Validate accepts
    ComputeRoutine compute = nullptr;  // null: not available in this version

    bool Available() const { return compute != nullptr; }
};

// The 23 effects and 26 transitions, each table in alphabetical order; an entry is known by
// its index (EffectParams::effectIndex, transitionIndex).
std::span<const EffectEntry> EffectTable();
std::span<const EffectEntry> TransitionTable();
std::span<const EffectEntry> EntryTable(bool effect);

// The entry whose name matches `name` ignoring case; null for none.
const EffectEntry* FindEntry(bool effect, std::string_view name);
// The entry EffectParams chose (isEffect and its table's index); null for an index outside.
const EffectEntry* ChosenEntry(const EffectParams& params);

// Runs the entry's setup: Init puts the form into the slots first. Returns 1, or 0 when
// Validate refused.
int RunSetup(const EffectEntry& entry, EffectSlots& slots, SetupMode mode);

// Computes the chosen entry from `first` (and `second` for a transition). Null when the entry
// is unavailable, a transition lacks its second frame, or the computation fails.
FrameChain RunEntry(const EffectParams& params, const Gif& first, const Gif* second,
                    EffectProgress& progress);

}  // namespace anitrope
