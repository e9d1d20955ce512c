#pragma once

// Reading GIF bytes the way tests want them: the status and the document together, and the
// reader's promise (a document exactly on success) checked on every read.

#include <gtest/gtest.h>

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "gif/gif_reader.h"
#include "model/animation.h"
#include "model/gif.h"

namespace anitrope {
// Lets GoogleTest print statuses by name and number.
void PrintTo(GifReadStatus status, std::ostream* out);
}  // namespace anitrope

namespace anitrope::test {

struct GifLoad {
    GifReadStatus status = GifReadStatus::Ok;
    std::unique_ptr<Animation> animation;
    std::string path;  // the file read; a temporary one for LoadFromBytes, removed by now

    std::size_t FrameCount() const { return animation->FrameCount(); }
    Gif& Frame(std::size_t index) const;  // fails the test when there is no such frame
};

// ReadGifBytes. Unlike LoadGifDocument the screen stays as the reader set it (the logical
// screen).
GifLoad ReadIntoNewAnimation(std::span<const uint8_t> bytes, const std::string& name = "test.gif",
                             const GifReadLimits& limits = {});

// The same through ReadGifFile.
GifLoad ReadFileIntoNewAnimation(const std::string& path, const GifReadLimits& limits = {});

// What inserting a file into a document does: reads the bytes, then links the file's frames
// (DetachFrames) after the last frame of `animation`, whose own values stay.
GifReadStatus ReadAppending(Animation& animation, std::span<const uint8_t> bytes,
                            const std::string& name = "appended.gif",
                            const GifReadLimits& limits = {});

// LoadGifDocument of the bytes, written to a temporary file.
GifLoad LoadFromBytes(std::span<const uint8_t> bytes, const GifReadLimits& limits = {});

// The frame's pixel indices, rows top first; empty when it has no bitmap.
std::vector<int> FrameIndices(const Gif& gif);

// `count` pixels counting up from `from` modulo `modulo`: data in which every index differs
// from its neighbours, so a shifted or misplaced pixel shows.
std::vector<uint8_t> CountingPixels(std::size_t count, int modulo, int from = 0);

// Success when the frame holds exactly `expected` (width x height indices, rows top first);
// otherwise says how many differ and where the first one is.
::testing::AssertionResult HasPixels(const Gif& frame, std::span<const uint8_t> expected);

}  // namespace anitrope::test
