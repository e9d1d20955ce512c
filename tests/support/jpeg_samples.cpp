#include "support/jpeg_samples.h"

#include <cstdlib>
// jpeglib.h uses FILE and size_t without including anything.
// clang-format off
#include <cstdio>
#include <jpeglib.h>
// clang-format on

namespace anitrope::test {
namespace {

J_COLOR_SPACE ColourSpaceOf(JpegSampleKind kind) {
    switch (kind) {
        case JpegSampleKind::Grey:
            return JCS_GRAYSCALE;
        case JpegSampleKind::TwoChannel:
            return JCS_UNKNOWN;
        case JpegSampleKind::Cmyk:
            return JCS_CMYK;
        case JpegSampleKind::Rgb:
            break;
    }
    return JCS_RGB;
}

bool IsStandalone(uint8_t code) {
    return code == 0xD8 || code == 0xD9 || (code >= 0xD0 && code <= 0xD7);
}

// From just after a scan header to the next marker that is neither a stuffed 0xFF nor a
// restart marker.
std::size_t EndOfEntropyData(std::span<const uint8_t> jpeg, std::size_t at) {
    while (at + 1 < jpeg.size()) {
        if (jpeg[at] == 0xFF && jpeg[at + 1] != 0 &&
            !(jpeg[at + 1] >= 0xD0 && jpeg[at + 1] <= 0xD7))
            return at;
        ++at;
    }
    return jpeg.size();
}

}  // namespace

std::vector<uint8_t> LibjpegEncode(int width, int height, std::span<const uint8_t> samples,
                                   const LibjpegOptions& options) {
    jpeg_compress_struct cinfo;
    jpeg_error_mgr errors;
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    const int components = static_cast<int>(options.kind);
    cinfo.image_width = static_cast<JDIMENSION>(width);
    cinfo.image_height = static_cast<JDIMENSION>(height);
    cinfo.input_components = components;
    cinfo.in_color_space = ColourSpaceOf(options.kind);
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, options.quality, TRUE);
    if (options.progressive) jpeg_simple_progression(&cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        auto* row =
            const_cast<JSAMPLE*>(samples.data() + std::size_t{cinfo.next_scanline} *
                                                      static_cast<std::size_t>(width * components));
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::vector<uint8_t> out(buffer, buffer + size);
    std::free(buffer);
    return out;
}

std::vector<uint8_t> SamplePattern(int width, int height, int components) {
    std::vector<uint8_t> samples;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            // Edges and texture move every channel alike, so that they live in brightness,
            // which chroma subsampling keeps; the colour itself varies smoothly.
            const int edge = (x / 8 + y / 8) % 5 == 0 ? 60 : 0;
            const int texture = (x * 7919 + y * 104729) % 41 - 20;
            for (int c = 0; c < components; ++c) {
                const int smooth = 20 + x * 80 / width + y * 40 / height + c * 10;
                samples.push_back(static_cast<uint8_t>(smooth + edge + texture));
            }
        }
    return samples;
}

std::vector<JpegSegment> JpegSegments(std::span<const uint8_t> jpeg) {
    std::vector<JpegSegment> segments;
    std::size_t at = 0;
    while (at + 1 < jpeg.size() && jpeg[at] == 0xFF) {
        JpegSegment s{at, jpeg[at + 1], at + 2};
        if (!IsStandalone(s.code)) {
            if (at + 3 >= jpeg.size()) break;
            s.end = at + 2 + (std::size_t{jpeg[at + 2]} << 8 | jpeg[at + 3]);
            if (s.code == 0xDA) s.end = EndOfEntropyData(jpeg, s.end);
        }
        segments.push_back(s);
        if (s.code == 0xD9) break;
        at = s.end;
    }
    return segments;
}

bool HasMarker(std::span<const uint8_t> jpeg, uint8_t code) {
    for (const JpegSegment& s : JpegSegments(jpeg))
        if (s.code == code) return true;
    return false;
}

std::vector<uint8_t> WithRepeatedLastScan(std::span<const uint8_t> jpeg, int scans) {
    const std::vector<JpegSegment> segments = JpegSegments(jpeg);
    const JpegSegment* last = nullptr;
    int present = 0;
    for (const JpegSegment& s : segments)
        if (s.code == 0xDA) {
            last = &s;
            ++present;
        }
    if (!last) return {jpeg.begin(), jpeg.end()};
    std::vector<uint8_t> out(jpeg.begin(), jpeg.begin() + static_cast<std::ptrdiff_t>(last->end));
    for (int i = present; i < scans; ++i)
        out.insert(out.end(), jpeg.begin() + static_cast<std::ptrdiff_t>(last->offset),
                   jpeg.begin() + static_cast<std::ptrdiff_t>(last->end));
    out.insert(out.end(), jpeg.begin() + static_cast<std::ptrdiff_t>(last->end), jpeg.end());
    return out;
}

}  // namespace anitrope::test
