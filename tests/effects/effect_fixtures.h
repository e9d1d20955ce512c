#pragma once

// Small frames built by hand and entries run as the editor runs them, for the effect tests.

#include <algorithm>
#include <cstdint>
#include <vector>

#include "effects/effect_entry.h"
#include "effects/effect_params.h"
#include "effects/effect_progress.h"
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

}  // namespace anitrope
