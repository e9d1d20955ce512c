// A file cut short at every byte: the read must end cleanly, never touch memory past the
// data, and keep every frame whose image was complete before the cut.

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "support/animation_dump.h"
#include "support/gif_builder.h"
#include "support/gif_loading.h"
#include "support/sample_gifs.h"
#include "support/temp_file.h"

namespace anitrope::test {
namespace {

std::size_t CompleteImages(const SampleGif& file, std::size_t cut) {
    std::size_t n = 0;
    while (n < file.imageEnds.size() && file.imageEnds[n] <= cut) ++n;
    return n;
}

// The dump line of frame `index` ("frame 1: ...") with its comment lines.
std::string FrameDump(const Animation& animation, std::size_t index) {
    std::istringstream lines(DumpAnimation(animation));
    const std::string start = "frame " + std::to_string(index) + ":";
    std::string line, out;
    bool inside = false;
    while (std::getline(lines, line)) {
        if (line.rfind("frame ", 0) == 0) inside = line.rfind(start, 0) == 0;
        if (inside) out += line + "\n";
    }
    return out;
}

bool IsFailureStatus(GifReadStatus status) {
    const int code = static_cast<int>(status);
    return code >= 1 && code <= 6;  // 7 is no longer produced
}

// Checks one read of the first `cut` bytes against the read of the whole file.
void CheckCut(const SampleGif& file, std::size_t cut, const GifLoad& whole, const GifLoad& load) {
    const std::size_t complete = CompleteImages(file, cut);
    if (load.status != GifReadStatus::Ok) {
        EXPECT_TRUE(IsFailureStatus(load.status)) << "status " << static_cast<int>(load.status);
        EXPECT_EQ(complete, 0u) << "complete frames were thrown away";
        return;
    }
    EXPECT_GE(cut, file.firstDataStart) << "Ok without a complete image descriptor";
    EXPECT_GE(load.FrameCount(), std::max<std::size_t>(complete, 1));
    EXPECT_LE(load.FrameCount(), complete + 1);
    for (std::size_t i = 0; i < complete && i < load.FrameCount(); ++i) {
        SCOPED_TRACE(testing::Message() << "frame " << i);
        EXPECT_EQ(FrameDump(*load.animation, i), FrameDump(*whole.animation, i));
        EXPECT_EQ(FrameIndices(load.Frame(i)), FrameIndices(whole.Frame(i)));
    }
}

TEST(GifReaderTruncation, WholeFileReadsAllFrames) {
    const SampleGif file = FeatureSampleGif();
    GifLoad whole = ReadIntoNewAnimation(file.bytes);
    ASSERT_EQ(whole.status, GifReadStatus::Ok);
    const std::string lines[] = {
        "screen 12x10",
        "global palette 8",
        "background 2",
        "loop 3",
        "global comment \"the end\"",
        "frame 0: at 0,0 size 12x10 delay 20 disposal 1 transparent none palette global",
        "  comment \"made for cutting\"",
        "frame 1: at 2,1 size 9x9 delay 30 disposal 2 transparent 5 palette local 32 interlaced",
        "frame 2: at 4,4 size 3x5 delay 0 disposal 0 transparent none palette global",
        "  comment \"" + std::string(255, 'c') + "d\"",
        "frame 3: at 0,0 size 12x10 delay 40 disposal 3 transparent 0 palette local 4 interlaced",
    };
    std::string expected;
    for (const std::string& line : lines) expected += line + "\n";
    EXPECT_EQ(DumpAnimation(*whole.animation), expected);
    EXPECT_TRUE(HasPixels(whole.Frame(0), CountingPixels(120, 8)));
    EXPECT_TRUE(HasPixels(whole.Frame(1), CountingPixels(81, 32, 3)));
    EXPECT_TRUE(HasPixels(whole.Frame(2), CountingPixels(15, 8, 1)));
    EXPECT_TRUE(HasPixels(whole.Frame(3), CountingPixels(120, 4, 2)));
}

TEST(GifReaderTruncation, EveryCutInMemoryEndsCleanly) {
    const SampleGif file = FeatureSampleGif();
    GifLoad whole = ReadIntoNewAnimation(file.bytes);
    ASSERT_EQ(whole.status, GifReadStatus::Ok);
    for (std::size_t cut = 0; cut < file.bytes.size(); ++cut) {
        SCOPED_TRACE(testing::Message() << "cut at " << cut << " of " << file.bytes.size());
        const std::vector<uint8_t> prefix(file.bytes.begin(),
                                          file.bytes.begin() + static_cast<std::ptrdiff_t>(cut));
        CheckCut(file, cut, whole, ReadIntoNewAnimation(prefix));
        if (testing::Test::HasFailure()) break;  // one cut's report is enough
    }
}

TEST(GifReaderTruncation, EveryCutOnDiskEndsCleanly) {
    const SampleGif file = FeatureSampleGif();
    GifLoad whole = ReadIntoNewAnimation(file.bytes);
    ASSERT_EQ(whole.status, GifReadStatus::Ok);
    for (std::size_t cut = 0; cut < file.bytes.size(); ++cut) {
        SCOPED_TRACE(testing::Message() << "cut at " << cut << " of " << file.bytes.size());
        const std::vector<uint8_t> prefix(file.bytes.begin(),
                                          file.bytes.begin() + static_cast<std::ptrdiff_t>(cut));
        TempFile temp(prefix);
        GifLoad load = ReadFileIntoNewAnimation(temp.Path());
        CheckCut(file, cut, whole, load);
        if (testing::Test::HasFailure()) break;
    }
}

}  // namespace
}  // namespace anitrope::test
