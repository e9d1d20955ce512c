#include "effects/effect_frames.h"

#include <algorithm>
#include <vector>

#include "effects/effect_params.h"
#include "effects/effect_progress.h"
#include "model/animation.h"
#include "model/frame_alloc.h"
#include "model/gif.h"
#include "model/true_color_conversion.h"
#include "platform/job_scheduler.h"

namespace anitrope {
namespace {

// Rows per job when one frame is split: enough work to outweigh handing it over.
constexpr int32_t kRowsPerBlock = 32;

std::vector<Gif*> FramesOf(Gif* chain) {
    std::vector<Gif*> frames;
    for (Gif* gif = chain; gif; gif = gif->next) frames.push_back(gif);
    return frames;
}

}  // namespace

int32_t ComputedCount(int32_t frameCount, bool pingPong) {
    return pingPong ? frameCount / 2 + frameCount % 2 : frameCount;
}

bool FramesFit(const Gif& source, int64_t frames) {
    constexpr int64_t kBytesPerPixel = 5;  // 4 of true colour, 1 indexed
    const int64_t perFrame = int64_t{source.width} * source.height * kBytesPerPixel;
    return frames >= 0 && (perFrame == 0 || frames <= kMaxEffectBytes / perFrame);
}

SourcePicture ReadSource(const Gif& gif) {
    SourcePicture picture;
    picture.pixels = TrueColorOf(gif);
    picture.width = BitmapExtent(gif.width);
    picture.height = BitmapExtent(gif.height);
    picture.transparent = gif.transparent != 0;
    if (picture.pixels && (picture.pixels->Width() != picture.width ||
                           picture.pixels->Height() != picture.height))
        picture.pixels.reset();  // a picture of another size than its frame: nothing to read
    return picture;
}

uint32_t PaletteColor(const Gif& gif, int32_t index) {
    if (index < 0 || index >= kPaletteSlots) return 0;
    return PaletteRgb(EffectivePalette(gif)[static_cast<std::size_t>(index)]);
}

FrameChain MakeOutputFrames(const Gif* first, const Gif* second, int32_t count) {
    const Gif* source = first ? first : second;
    if (!source || !source->animation || count <= 0) return nullptr;
    FrameChain chain(MakeFrameList(*source->animation, first, second, static_cast<std::size_t>(count)));
    for (Gif* gif = chain.get(); gif; gif = gif->next) {
        AllocTrueColor(*gif);
        if (!gif->trueColor->HasRows()) return nullptr;
    }
    return chain;
}

bool PaintFrames(Gif* chain, int32_t count, bool preview, EffectProgress& progress,
                 const PaintFrame& paint) {
    std::vector<Gif*> frames = FramesOf(chain);
    frames.resize(std::min(frames.size(), static_cast<std::size_t>(std::max(count, 0))));
    if (!preview) progress.Announce(static_cast<int>(frames.size()));

    JobScheduler* scheduler = progress.Scheduler();
    std::vector<JobHandle> jobs;
    if (scheduler) {
        for (std::size_t i = 0; i < frames.size(); ++i) {
            TrueColorBitmap* out = frames[i]->trueColor.get();
            const auto index = static_cast<int32_t>(i);
            // The caller waits for these, so they go before background work.
            jobs.push_back(scheduler->Submit([&paint, index, out] { paint(index, *out); },
                                             JobPriority::Urgent));
        }
    }
    bool ok = true;
    for (std::size_t i = 0; i < frames.size() && ok; ++i) {
        try {
            if (scheduler)
                scheduler->Wait(jobs[i]);
            else
                paint(static_cast<int32_t>(i), *frames[i]->trueColor);
        } catch (...) {
            ok = false;  // memory ran out inside a frame: the whole run fails
        }
        if (ok && !preview) ok = progress.Step();
    }
    // Nothing may still be painting when the caller frees the frames.
    for (const JobHandle& job : jobs) {
        if (ok || !scheduler->Cancel(job)) {
            try {
                scheduler->Wait(job);
            } catch (...) {
                ok = false;
            }
        }
    }
    if (!preview) progress.End();
    return ok;
}

bool ForRowBlocks(int32_t height, EffectProgress& progress,
                  const std::function<void(int32_t, int32_t)>& work) {
    JobScheduler* scheduler = progress.Scheduler();
    try {
        if (!scheduler || height <= kRowsPerBlock) {
            work(0, std::max(height, 0));
            return true;
        }
    } catch (...) {
        return false;
    }
    // Every block handed over is waited for, even when handing over the next one fails: the
    // blocks read the caller's frames.
    std::vector<JobHandle> jobs;
    bool ok = true;
    try {
        jobs.reserve(static_cast<std::size_t>(height / kRowsPerBlock + 1));
        for (int32_t y = 0; y < height; y += kRowsPerBlock) {
            const int32_t end = std::min(height, y + kRowsPerBlock);
            jobs.push_back(scheduler->Submit([&work, y, end] { work(y, end); }, JobPriority::Urgent));
        }
    } catch (...) {
        ok = false;
    }
    for (const JobHandle& job : jobs) {
        try {
            scheduler->Wait(job);
        } catch (...) {
            ok = false;
        }
    }
    return ok;
}

FrameChain FinishFrames(FrameChain chain, bool leavePending, EffectProgress& progress) {
    if (!chain || leavePending || !progress.reduce) return chain;
    const std::vector<Gif*> frames = FramesOf(chain.get());
    progress.reduce(frames);
    return chain;
}

FrameChain ComputeFrames(const Gif* first, const Gif* second, const EffectParams& params,
                         EffectProgress& progress, const PaintFrame& paint) {
    const int32_t computed = ComputedCount(params.frameCount, params.pingPong != 0);
    FrameChain chain = MakeOutputFrames(first, second, computed);
    if (!chain) return nullptr;
    if (!PaintFrames(chain.get(), computed, params.preview != 0, progress, paint)) return nullptr;
    if (params.pingPong && !AppendPingPong(chain.get(), static_cast<std::size_t>(params.frameCount)))
        return nullptr;
    return FinishFrames(std::move(chain), params.preview != 0, progress);
}

}  // namespace anitrope
