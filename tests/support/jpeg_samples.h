#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace anitrope::test {

// The value is the number of samples a pixel; TwoChannel files have no colour model.
enum class JpegSampleKind { Grey = 1, TwoChannel = 2, Rgb = 3, Cmyk = 4 };

struct LibjpegOptions {
    JpegSampleKind kind = JpegSampleKind::Rgb;
    int quality = 75;
    bool progressive = false;  // libjpeg's simple progression
};

// Encodes `samples` (width x height pixels of int(kind) bytes) with libjpeg directly, for
// files our writer cannot make and for comparing with what it makes. A libjpeg error ends
// the test program.
std::vector<uint8_t> LibjpegEncode(int width, int height, std::span<const uint8_t> samples,
                                   const LibjpegOptions& options);

// A smooth pattern with a few hard edges, `components` bytes a pixel.
std::vector<uint8_t> SamplePattern(int width, int height, int components);

// One marker segment of a JPEG file; for a scan, `end` includes its entropy-coded data.
struct JpegSegment {
    std::size_t offset = 0;  // of the 0xFF
    uint8_t code = 0;
    std::size_t end = 0;
};

// The segments from SOI to EOI (or to where the file stops making sense).
std::vector<JpegSegment> JpegSegments(std::span<const uint8_t> jpeg);
bool HasMarker(std::span<const uint8_t> jpeg, uint8_t code);

// The file with its last scan repeated until it holds `scans` scans.
std::vector<uint8_t> WithRepeatedLastScan(std::span<const uint8_t> jpeg, int scans);

}  // namespace anitrope::test
