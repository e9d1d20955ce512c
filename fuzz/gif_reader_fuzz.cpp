// Feeds arbitrary bytes to the GIF reader twice, and the second result must be the same: the
// reader depends on nothing but its bytes. Besides the sanitizers' findings, a result that
// breaks the reader's promises (a frame without its pixels, pixels of another size, a broken
// chain, a screen that does not cover the frames once fitted) aborts.

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

// Reads `bytes` into a document of their own; its frame count, or 0 when nothing was read.
std::size_t Read(std::span<const uint8_t> bytes) {
    GifReadResult read = ReadGifBytes(bytes, "fuzz");
    if (read.status != GifReadStatus::Ok) {
        Require(read.animation == nullptr);
        return 0;
    }
    Require(read.animation && read.animation->head);
    read.animation->FitScreenToFrames();
    CheckDocument(*read.animation);
    return read.animation->FrameCount();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::span<const uint8_t> bytes(data, size);
    const std::size_t frames = Read(bytes);
    Require(Read(bytes) == frames);
    return 0;
}
