#include "support/gif_loading.h"

#include <ostream>
#include <stdexcept>

#include "support/temp_file.h"

namespace anitrope {

void PrintTo(GifReadStatus status, std::ostream* out) {
    *out << static_cast<int>(status) << " (" << GifReadStatusText(status) << ")";
}

}  // namespace anitrope

namespace anitrope::test {

Gif& GifLoad::Frame(std::size_t index) const {
    Gif* gif = animation->FrameAt(index);
    if (!gif) {
        ADD_FAILURE() << "no frame " << index << "; the file gave " << FrameCount();
        throw std::out_of_range("frame index");
    }
    return *gif;
}

namespace {

// Runs `read` on a first frame after the last one of `animation`, then does the caller's part.
template <typename Read>
GifReadStatus ReadChain(Animation& animation, Read read) {
    Gif* last = animation.LastFrame();
    Gif* first = CreateGif(animation, last, nullptr);
    const GifReadStatus status = read(*first);
    if (status != GifReadStatus::Ok) {
        DiscardGif(first);
        return status;
    }
    if (last)
        last->next = first;
    else
        animation.head = first;
    if (!animation.current) animation.current = first;
    return status;
}

template <typename Read>
GifLoad ReadNew(Read read) {
    GifLoad load;
    load.animation = std::make_unique<Animation>();
    load.animation->hasLoopExtension = false;
    load.status =
        ReadChain(*load.animation, [&](Gif& first) { return read(*load.animation, first); });
    return load;
}

}  // namespace

GifLoad ReadIntoNewAnimation(std::span<const uint8_t> bytes, const std::string& name,
                             const GifReadLimits& limits) {
    return ReadNew([&](Animation& animation, Gif& first) {
        return ReadGifBytes(animation, first, bytes, name, limits);
    });
}

GifLoad ReadFileIntoNewAnimation(const std::string& path, const GifReadLimits& limits) {
    GifLoad load = ReadNew([&](Animation& animation, Gif& first) {
        return ReadGifFile(animation, first, path, limits);
    });
    load.path = path;
    return load;
}

GifReadStatus ReadAppending(Animation& animation, std::span<const uint8_t> bytes,
                            const std::string& name, const GifReadLimits& limits) {
    return ReadChain(
        animation, [&](Gif& first) { return ReadGifBytes(animation, first, bytes, name, limits); });
}

GifLoad LoadFromBytes(std::span<const uint8_t> bytes, const GifReadLimits& limits) {
    TempFile file(bytes);
    GifLoad load;
    load.animation = std::make_unique<Animation>();
    load.path = file.Path();
    load.status = LoadGifDocument(*load.animation, file.Path(), limits);
    return load;
}

std::vector<int> FrameIndices(const Gif& gif) {
    std::vector<int> out;
    if (!gif.indexed) return out;
    for (int32_t y = 0; y < gif.indexed->Height(); ++y)
        for (int32_t x = 0; x < gif.indexed->Width(); ++x) out.push_back(gif.indexed->Get(x, y));
    return out;
}

std::vector<uint8_t> CountingPixels(std::size_t count, int modulo, int from) {
    std::vector<uint8_t> out(count);
    for (std::size_t i = 0; i < count; ++i)
        out[i] = static_cast<uint8_t>((i + static_cast<std::size_t>(from)) %
                                      static_cast<std::size_t>(modulo));
    return out;
}

::testing::AssertionResult HasPixels(const Gif& frame, std::span<const uint8_t> expected) {
    if (!frame.indexed || !frame.indexed->HasRows())
        return ::testing::AssertionFailure() << "the frame has no pixel rows";
    const int32_t width = frame.indexed->Width();
    const int32_t height = frame.indexed->Height();
    if (static_cast<std::size_t>(width) * static_cast<std::size_t>(height) != expected.size()) {
        return ::testing::AssertionFailure()
               << "expected " << expected.size() << " pixels, actual " << width << "x" << height;
    }
    std::size_t wrong = 0;
    ::testing::Message first;
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            const int want =
                expected[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                         static_cast<std::size_t>(x)];
            const int got = frame.indexed->Get(x, y);
            if (want != got && wrong++ == 0)
                first << "first at " << x << "," << y << ": expected " << want << ", actual "
                      << got;
        }
    }
    if (wrong == 0) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << wrong << " of " << expected.size() << " pixels differ, " << first;
}

}  // namespace anitrope::test
