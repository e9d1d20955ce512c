// Feeds arbitrary bytes to the GIF reader twice: into an empty document, then appended to
// the frames of the first read, the way the editor imports a file into an open animation.
// Besides the sanitizers' findings, a document that breaks the reader's promises (a frame
// without its pixels, pixels of another size, a broken chain, a screen that does not cover
// the frames) aborts.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "gif/gif_reader.h"
#include "model/animation.h"
#include "model/gif.h"

namespace {

using namespace anitrope;

void Require(bool condition) {
    if (!condition) std::abort();
}

// Reads both ends of every row, so a bitmap smaller than its frame shows up under
// AddressSanitizer; every pixel would cost seconds on the largest frames a file may ask for.
uint32_t SumPixels(const Gif& frame) {
    uint32_t sum = 0;
    if (!frame.indexed->HasRows() || frame.width == 0) return sum;
    for (uint32_t y = 0; y < frame.height; ++y) {
        const uint8_t* row = frame.indexed->Row(static_cast<int32_t>(y));
        sum += row[0] + row[frame.width - 1];
    }
    return sum;
}

void CheckDocument(const Animation& animation) {
    uint32_t sum = 0;
    for (const Gif* g = animation.head; g; g = g->next) {
        Require(g->next == nullptr || g->next->prev == g);
        Require(g->indexed != nullptr);
        Require(g->indexed->Width() == static_cast<int32_t>(g->width));
        Require(g->indexed->Height() == static_cast<int32_t>(g->height));
        Require(int64_t{g->left} + g->width <= animation.screenWidth);
        Require(int64_t{g->top} + g->height <= animation.screenHeight);
        sum += SumPixels(*g);
    }
    // Keeps the pixel reads from being optimized away.
    volatile uint32_t sink = sum;
    (void)sink;
}

// Reads `bytes` after the last frame of `animation`; true when frames were added.
bool AppendRead(Animation& animation, std::span<const uint8_t> bytes) {
    Gif* last = animation.LastFrame();
    Gif* first = CreateGif(animation, last, nullptr);
    if (ReadGifBytes(animation, *first, bytes, "fuzz") != GifReadStatus::Ok) {
        first->prev = nullptr;  // never linked in: the document must stay untouched
        DiscardGif(first);
        return false;
    }
    if (last) {
        last->next = first;
    } else {
        animation.head = first;
        animation.current = first;
    }
    animation.FitScreenToFrames();
    CheckDocument(animation);
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::span<const uint8_t> bytes(data, size);
    Animation animation;
    if (!AppendRead(animation, bytes)) return 0;
    // The same bytes must read the same way into a document that already has frames.
    const std::size_t frames = animation.FrameCount();
    Require(AppendRead(animation, bytes));
    Require(animation.FrameCount() == 2 * frames);
    return 0;
}
