// Effect throughput on two generated 640x480 frames (a gradient and a pattern, reduced to 256
// colours as loaded frames are): the Fade, Pixelize, Zoom In, Move 2. Image, Radar, Spiral,
// Roll Sphere, Page and Random Shine through transitions and the Blur effect, 100 frames each,
// with the new frames reduced to 256 colours on every core and without (left pending, as a
// preview leaves them). Both frames go to DIR as first.ppm and second.ppm, exactly as the
// effects read them, so that another tool can be timed on the same pictures. Zoom In turns by 0
// degrees and image 2 moves in from the right edge, as ffmpeg's zoomin and slideleft do; the
// others run with their entries' defaults.
//   effect_bench DIR
// Prints, best of 3 runs each:
//   effect <label> <frames> frames <WxH>: reduced X fps, pending Y fps
// and for an entry this version cannot compute yet:
//   skip <label>: <name> is not available yet

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "effects/effect_entry.h"
#include "effects/effect_params.h"
#include "effects/effect_progress.h"
#include "model/animation.h"
#include "model/gif.h"
#include "model/picture_frame.h"
#include "model/true_color_conversion.h"
#include "platform/job_scheduler.h"
#include "quantize/color_reduction.h"

namespace {

using namespace anitrope;

constexpr int32_t kWidth = 640;
constexpr int32_t kHeight = 480;
constexpr int32_t kFrames = 100;

// Smooth in both directions, so the reduction has to choose.
uint32_t Gradient(int32_t x, int32_t y) {
    const uint32_t r = static_cast<uint32_t>(x * 255 / (kWidth - 1));
    const uint32_t g = static_cast<uint32_t>(y * 255 / (kHeight - 1));
    const uint32_t b = static_cast<uint32_t>((x + y) * 255 / (kWidth + kHeight - 2));
    return r << 16 | g << 8 | b;
}

// Hard edges: checkers with a band of colour across them.
uint32_t Pattern(int32_t x, int32_t y) {
    const bool light = ((x / 40) + (y / 40)) % 2 == 0;
    if (std::abs(x - y * kWidth / kHeight) < 60) return light ? 0xF0C040 : 0xC03020;
    return light ? 0xE8E8E8 : 0x203070;
}

Gif* MakeFrame(Animation& animation, uint32_t (*paint)(int32_t, int32_t)) {
    auto pixels = std::make_unique<TrueColorBitmap>(kWidth, kHeight);
    for (int32_t y = 0; y < kHeight; ++y)
        for (int32_t x = 0; x < kWidth; ++x) pixels->Set(x, y, paint(x, y));
    return MakePictureFrame(animation, std::move(pixels));
}

bool WritePpm(const Gif& gif, const std::string& path) {
    const auto picture = TrueColorOf(gif);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file || !picture) return false;
    std::fprintf(file, "P6\n%d %d\n255\n", picture->Width(), picture->Height());
    std::vector<unsigned char> row(static_cast<std::size_t>(picture->Width()) * 3);
    bool ok = true;
    for (int32_t y = 0; y < picture->Height(); ++y) {
        for (int32_t x = 0; x < picture->Width(); ++x) {
            const uint32_t p = picture->Get(x, y);
            row[static_cast<std::size_t>(x) * 3] = static_cast<unsigned char>(p >> 16);
            row[static_cast<std::size_t>(x) * 3 + 1] = static_cast<unsigned char>(p >> 8);
            row[static_cast<std::size_t>(x) * 3 + 2] = static_cast<unsigned char>(p);
        }
        ok = ok && std::fwrite(row.data(), 1, row.size(), file) == row.size();
    }
    return std::fclose(file) == 0 && ok;
}

struct Case {
    const char* label;
    bool effect;
    const char* name;
    std::optional<int32_t> value1{};  // typed over the entry's default
    const char* option = nullptr;     // the item chosen in the second list
};

// The entry with its own defaults, as the editor's dialog leaves them when only the count (and
// what the case names) is changed; null when the entry or the item is missing.
std::unique_ptr<EffectParams> CaseParams(const EffectEntry& entry, const Case& c) {
    auto params = std::make_unique<EffectParams>();
    params->isEffect = c.effect ? 1 : 0;
    const auto index = static_cast<int32_t>(&entry - EntryTable(c.effect).data());
    (c.effect ? params->effectIndex : params->transitionIndex) = index;
    params->frameCount = kFrames;
    SlotRecord slots;
    slots.frameCount = kFrames;
    slots.transition = !c.effect;
    slots.imageWidth = kWidth;
    slots.imageHeight = kHeight;
    RunSetup(entry, slots, SetupMode::Init);
    if (c.option) {
        const auto& items = slots.ListSlot(2).items;
        const auto item = std::find(items.begin(), items.end(), std::string(c.option));
        if (item == items.end()) return nullptr;
        slots.SelectListItem(2, static_cast<int>(item - items.begin()));
        RunSetup(entry, slots, SetupMode::ComboChanged);
    }
    if (c.value1) slots.ValueSlot(1).text = std::to_string(*c.value1);
    if (!RunSetup(entry, slots, SetupMode::Validate)) return nullptr;
    slots.Store(*params);
    return params;
}

// Frames per second of one run; 0 when the run failed.
double RunOnce(const EffectParams& params, const Gif& first, const Gif* second, bool reduce,
               JobScheduler& scheduler) {
    ColorReduction reduction(&scheduler);
    EffectProgress progress(nullptr, &scheduler);
    if (reduce) progress.reduce = [&reduction](std::span<Gif* const> frames) { reduction.ReduceNow(frames); };
    const auto start = std::chrono::steady_clock::now();
    FrameChain chain = RunEntry(params, first, second, progress);
    const auto end = std::chrono::steady_clock::now();
    if (!chain || ChainFrames(chain.get()).size() != static_cast<std::size_t>(kFrames)) return 0;
    return kFrames / std::chrono::duration<double>(end - start).count();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: effect_bench DIR\n");
        return 2;
    }
    const std::string dir = argv[1];
    Animation animation;
    animation.screenWidth = kWidth;
    animation.screenHeight = kHeight;
    Gif* first = MakeFrame(animation, Gradient);
    Gif* second = MakeFrame(animation, Pattern);
    if (!first || !second) return 1;
    animation.head = first;
    first->next = second;
    second->prev = first;

    JobScheduler scheduler;
    {
        // Reduced like frames read from a file, which keep no true colour.
        ColorReduction reduction(&scheduler);
        reduction.SetKeepTrueColor(false);
        reduction.ReduceNow(ChainFrames(first));
    }
    if (!WritePpm(*first, dir + "/first.ppm") || !WritePpm(*second, dir + "/second.ppm")) {
        std::fprintf(stderr, "effect_bench: cannot write the frames into %s\n", dir.c_str());
        return 1;
    }

    const Case cases[] = {
        {"fade-transition", false, "Fade"},
        {"blur-effect", true, "Blur"},
        {"pixelize-transition", false, "Pixelize"},
        {"zoomin-transition", false, "Zoom In", 0},
        {"move2-transition", false, "Move 2. Image", std::nullopt, "Right Edge to Center"},
        {"radar-transition", false, "Radar"},
        {"spiral-transition", false, "Spiral"},
        {"rollsphere-transition", false, "Roll Sphere"},
        {"page-transition", false, "Page"},
        {"shine-transition", false, "Random Shine through"},
    };
    int status = 0;
    for (const Case& c : cases) {
        const EffectEntry* entry = FindEntry(c.effect, c.name);
        if (entry && !entry->Available()) {
            // Entries arrive one family at a time; the others are still worth timing.
            std::printf("skip %s: %s is not available yet\n", c.label, c.name);
            continue;
        }
        const auto params = entry ? CaseParams(*entry, c) : nullptr;
        if (!params) {
            std::fprintf(stderr, "effect_bench: %s cannot be set up\n", c.name);
            status = 1;
            continue;
        }
        double reduced = 0, pending = 0;
        for (int run = 0; run < 3; ++run) {
            reduced = std::max(reduced, RunOnce(*params, *first, second, true, scheduler));
            pending = std::max(pending, RunOnce(*params, *first, second, false, scheduler));
        }
        if (reduced <= 0 || pending <= 0) {
            std::fprintf(stderr, "effect_bench: %s made no %d frames\n", c.name, kFrames);
            status = 1;
            continue;
        }
        std::printf("effect %s %d frames %dx%d: reduced %.1f fps, pending %.1f fps\n", c.label,
                    kFrames, kWidth, kHeight, reduced, pending);
    }
    return status;
}
