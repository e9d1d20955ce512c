#include "support/gif_loading.h"

#include <ostream>
#include <stdexcept>
#include <utility>

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

GifLoad Checked(GifReadResult read) {
    // A failed read must leave nothing behind for the caller to free or to show.
    EXPECT_EQ(read.animation != nullptr, read.status == GifReadStatus::Ok)
        << "status " << GifReadStatusText(read.status);
    return GifLoad{read.status, std::move(read.animation), {}};
}

}  // namespace

GifLoad ReadIntoNewAnimation(std::span<const uint8_t> bytes, const std::string& name,
                             const GifReadLimits& limits) {
    return Checked(ReadGifBytes(bytes, name, limits));
}

GifLoad ReadFileIntoNewAnimation(const std::string& path, const GifReadLimits& limits) {
    GifLoad load = Checked(ReadGifFile(path, limits));
    load.path = path;
    return load;
}

GifReadStatus ReadAppending(Animation& animation, std::span<const uint8_t> bytes,
                            const std::string& name, const GifReadLimits& limits) {
    GifLoad load = ReadIntoNewAnimation(bytes, name, limits);
    if (load.status != GifReadStatus::Ok) return load.status;
    Gif* chain = DetachFrames(*load.animation, animation);
    EXPECT_EQ(load.animation->head, nullptr);
    if (Gif* last = animation.LastFrame()) {
        last->next = chain;
        chain->prev = last;
    } else {
        animation.head = chain;
    }
    return load.status;
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
