#pragma once

// Small frames built by hand and entries run as the editor runs them, for the effect tests.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "effects/effect_entry.h"
#include "effects/effect_params.h"
#include "effects/effect_progress.h"
#include "effects/effect_slots.h"
#include "model/frame_fixtures.h"
#include "platform/job_scheduler.h"

namespace anitrope {

using Frames = std::vector<std::vector<uint32_t>>;
constexpr uint32_t T = TransparentBit;

inline int32_t Channel(uint32_t rgb, int shift) { return static_cast<int32_t>(rgb >> shift & 0xFF); }

// A frame of `doc` whose k-th pixel (row by row) has index k mod 256, coloured
// colours[index mod their count]; transparent at `transparentIndex` unless it is negative.
inline Gif* Frame(Animation& doc, uint32_t w, uint32_t h, const std::vector<uint32_t>& colours,
           int32_t transparentIndex = -1) {
    Gif* gif = testing::AppendFrame(doc, w, h);
    for (std::size_t i = 0; i < kPaletteSlots; ++i) {
        const uint32_t c = colours[i % colours.size()];
        gif->palette[i] = {Channel(c, 16), Channel(c, 8), Channel(c, 0)};
    }
    for (uint32_t k = 0; k < w * h; ++k)
        gif->indexed->Set(static_cast<int32_t>(k % w), static_cast<int32_t>(k / w),
                          static_cast<uint8_t>(k % 256));
    gif->transparent = transparentIndex >= 0;
    gif->transparentIndex = std::max(transparentIndex, 0);
    return gif;
}

// The named entry of the effect table (no `two`) or the transition table, run as the editor
// runs it.
inline FrameChain RunNamed(const char* name, EffectParams params, const Gif& one, const Gif* two,
                    JobScheduler* pool = nullptr, bool stopped = false) {
    params.isEffect = two == nullptr;
    const auto index = FindEntry(two == nullptr, name) - EntryTable(two == nullptr).data();
    (two ? params.transitionIndex : params.effectIndex) = static_cast<int32_t>(index);
    EffectProgress progress(nullptr, pool);
    if (stopped) progress.RequestStop();
    return RunEntry(params, one, two, progress);
}

// Each frame's true colour, or its indices for a frame made without.
inline Frames Pictures(const FrameChain& chain) {
    Frames out;
    for (Gif* f : ChainFrames(chain.get())) {
        out.emplace_back();
        for (int32_t y = 0; y < static_cast<int32_t>(f->height); ++y)
            for (int32_t x = 0; x < static_cast<int32_t>(f->width); ++x)
                out.back().push_back(f->trueColor ? f->trueColor->Get(x, y)
                                                  : f->indexed->Get(x, y));
    }
    return out;
}

inline Frames Made(const char* name, const EffectParams& params, const Gif& one,
            const Gif* two = nullptr) {
    return Pictures(RunNamed(name, params, one, two));
}

// The background of the letter pictures below.
constexpr uint32_t kLetterBackground = 0xC0C0C0;

// 256 colours, `base` + the index, but for slot `slot` (none when negative), which holds
// kLetterBackground.
inline std::vector<uint32_t> Shades(uint32_t base, int32_t slot = -1) {
    std::vector<uint32_t> shades;
    for (uint32_t i = 0; i < 256; ++i) shades.push_back(base + i);
    if (slot >= 0) shades[static_cast<std::size_t>(slot)] = kLetterBackground;
    return shades;
}

// Colours that differ from index to index and from salt to salt, in two mixes, for runs
// compared as patterns rather than pixel by pixel.
inline std::vector<uint32_t> SaltedColours(uint32_t salt) {
    std::vector<uint32_t> colours;
    for (uint32_t i = 0; i < 256; ++i) colours.push_back(i * 0x10101 * (salt + 3) % 0xFFFFFF);
    return colours;
}
inline std::vector<uint32_t> MixedColours(uint32_t salt) {
    std::vector<uint32_t> colours;
    for (uint32_t i = 0; i < 256; ++i)
        colours.push_back((i * 37 + salt * 101) % 256 << 16 | (i * 91) % 256 << 8 |
                          (i * 53 + salt) % 256);
    return colours;
}

// Image 1 and image 2 of a transition, w x h, made by Frame from their colours; each
// transparent at its index (none when negative).
struct ImagePair {
    ImagePair(uint32_t w, uint32_t h, const std::vector<uint32_t>& coloursOne,
              const std::vector<uint32_t>& coloursTwo, int32_t clearOne, int32_t clearTwo)
        : one(Frame(doc, w, h, coloursOne, clearOne)),
          two(Frame(doc, w, h, coloursTwo, clearTwo)) {}

    Animation doc;
    Gif* one;
    Gif* two;
};

// Pairs whose pixels are drawn as letters: image 1's pixel k (row by row) is index k, colour
// 0xA00000 + k, drawn 'a' + k; image 2's is 0xB00000 + k, drawn 'A' + k. '.' is image 1's slot
// `slot`, kLetterBackground.
struct LetterLayout {
    uint32_t w, h;
    int32_t slot;
    int32_t clearOne, clearTwo;  // the transparent indices
    // Whether a transparent pixel of that image keeps its bit in a transition's frames.
    bool markOne = true, markTwo = true;
};

struct LetterImages : ImagePair {
    using Rows = std::vector<std::string>;

    explicit LetterImages(const LetterLayout& letters)
        : ImagePair(letters.w, letters.h, Shades(0xA00000, letters.slot), Shades(0xB00000),
                    letters.clearOne, letters.clearTwo),
          layout(letters) {}

    // Letters back to pixels: indices for an effect, which keeps image 1's indices; else true
    // colour.
    std::vector<uint32_t> Drawn(const Rows& rows, bool indexed) const {
        std::vector<uint32_t> out;
        for (const std::string& row : rows)
            for (char c : row) {
                const bool lower = c >= 'a';
                const auto k = static_cast<uint32_t>(c - (lower ? 'a' : 'A'));
                const auto index = static_cast<int32_t>(k);
                const bool marked = lower ? layout.markOne && index == layout.clearOne
                                          : layout.markTwo && index == layout.clearTwo;
                if (c == '.')
                    out.push_back(indexed ? static_cast<uint32_t>(layout.slot) : kLetterBackground);
                else if (indexed)
                    out.push_back(k);
                else
                    out.push_back(((lower ? 0xA00000 : 0xB00000) + k) | (marked ? T : 0));
            }
        return out;
    }

    // `made` has `count` frames, and each one `expected` draws is as drawn.
    void ExpectFrames(const Frames& made, std::size_t count,
                      const std::vector<std::pair<int, Rows>>& expected, bool indexed) const {
        ASSERT_EQ(made.size(), count);
        for (const auto& [index, rows] : expected)
            EXPECT_EQ(made[static_cast<std::size_t>(index)], Drawn(rows, indexed))
                << "frame " << index;
    }

    LetterLayout layout;
};

// Pictures drawn one character a pixel, row by row (spaces skipped): '1' image 1's pixel, '2'
// image 2's, where image n's pixel k has index k mod 256, colour 0xn00000 + that index and the
// transparent bit at index `clearOne` or `clearTwo`; for the effects, which paint indices, 'i'
// image 1's index and any other character the colour's index `color`.
inline std::vector<uint32_t> SourcesDrawn(const std::string& rows, uint32_t clearOne,
                                          uint32_t clearTwo, uint32_t color) {
    std::vector<uint32_t> out;
    for (char c : rows) {
        const auto k = static_cast<uint32_t>(out.size() % 256);
        if (c == ' ') continue;
        if (c == '1')
            out.push_back((0x100000 + k) | (k == clearOne ? T : 0));
        else if (c == '2')
            out.push_back((0x200000 + k) | (k == clearTwo ? T : 0));
        else if (c == 'i')
            out.push_back(k);
        else
            out.push_back(color);
    }
    return out;
}

// A run read as a pattern: equal letters, equal pictures; empty, no frames at all.
inline void ExpectPattern(const Frames& pictures, const std::string& pattern) {
    ASSERT_EQ(pictures.size(), pattern.size());
    for (std::size_t i = 0; i < pictures.size(); ++i)
        for (std::size_t j = i + 1; j < pictures.size(); ++j)
            EXPECT_EQ(pictures[i] == pictures[j], pattern[i] == pattern[j]) << i << j;
}

// Threads paint what one did (`serial`), and a stopped run leaves nothing behind where the
// entry honours a stop.
inline void ExpectThreadsAgree(const char* name, const EffectParams& params, const Gif& one,
                               const Gif* two, JobScheduler& pool, const Frames& serial,
                               bool honoursStop = true) {
    EXPECT_EQ(Pictures(RunNamed(name, params, one, two, &pool)), serial);
    if (honoursStop) {
        EXPECT_FALSE(RunNamed(name, params, one, two, &pool, true));
    }
}

// Both of the above for one run.
inline void ExpectSequence(const char* name, const EffectParams& params, const Gif& one,
                           const Gif* two, JobScheduler& pool, const std::string& pattern,
                           bool honoursStop = true) {
    const Frames pictures = Pictures(RunNamed(name, params, one, two));
    ExpectPattern(pictures, pattern);
    ExpectThreadsAgree(name, params, one, two, pool, pictures, honoursStop);
}

// Init of the named entry, chosen as an effect or a transition, on slots that already hold the
// frame count and image size a case asks for.
inline const EffectEntry& InitEntry(SlotRecord& slots, bool effect, const char* name) {
    slots.transition = !effect;
    const EffectEntry& entry = *FindEntry(effect, name);
    RunSetup(entry, slots, SetupMode::Init);
    return entry;
}

// A setup run in `mode`: accepted, nothing said, unless `refused`; else refused once, out of
// range, in `field`, with `message` where one is given.
inline void ExpectVerdict(const EffectEntry& entry, SlotRecord& slots, SetupMode mode, bool refused,
                          int field, const std::string& message) {
    EXPECT_EQ(RunSetup(entry, slots, mode), refused ? 0 : 1);
    ASSERT_EQ(slots.refusals.size(), refused ? 1u : 0u);
    if (!refused) return;
    if (!message.empty()) {
        EXPECT_EQ(slots.refusals[0].message, message);
    }
    EXPECT_EQ(slots.refusals[0].title, "Parameter out of Range");
    EXPECT_EQ(slots.refusals[0].field, field);
}

// The same where an empty message means accepted.
inline void ExpectRefusal(const EffectEntry& entry, SlotRecord& slots, SetupMode mode,
                          const std::string& message, int field) {
    ExpectVerdict(entry, slots, mode, !message.empty(), field, message);
}

}  // namespace anitrope
