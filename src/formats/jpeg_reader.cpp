#include "formats/jpeg_reader.h"

#include <cstdio>
#include <new>
#include <utility>

#include "formats/jpeg_errors.h"
#include "model/picture_limits.h"
#include "platform/file_bytes.h"

namespace anitrope {
namespace {

// Every scan of a progressive file is a pass over the whole picture, and a scan header is a
// dozen bytes: without a limit a small file keeps the decoder busy for minutes.
constexpr int kMaxScans = 1000;
constexpr char kTooManyScans[] = "JPEG file has more than 1000 scans";

// A backstop behind the picture limits, which keep a legal picture's buffers well below it.
// libjpeg-turbo checks it only for the whole-picture coefficient buffers of multi-scan files
// (it has no backing store to spill to, so it fails instead); ordinary allocations ignore it.
constexpr long kMaxLibjpegMemory = 512L << 20;

// Everything libjpeg touches, owned by DecodeJpeg: the functions that arm the recovery point
// then hold nothing with a destructor for longjmp to skip.
struct Decoder {
    jpeg_decompress_struct cinfo;
    JpegErrorManager errors;
    jpeg_progress_mgr progress;
};

void LimitScans(j_common_ptr cinfo) {
    if (reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > kMaxScans)
        FailJpeg(cinfo, kTooManyScans);
}

j_common_ptr Common(Decoder& d) { return reinterpret_cast<j_common_ptr>(&d.cinfo); }

// Refuses, before libjpeg allocates anything for the pixels, sizes beyond our limits and
// colour models other than grey and RGB (CMYK, YCCK, odd component counts).
void RefuseUnwanted(Decoder& d) {
    const jpeg_decompress_struct& c = d.cinfo;
    if (c.image_width == 0 || c.image_height == 0 ||
        !PictureSizeAllowed(c.image_width, c.image_height) ||
        !PictureSizeAllowed(c.output_width, c.output_height))
        FailJpeg(Common(d), "picture too large");
    if (c.output_components != 1 && c.output_components != 3) {
        char text[80];
        std::snprintf(text, sizeof text, "JPEG files with %d colour components are not supported",
                      c.output_components);
        FailJpeg(Common(d), text);
    }
}

bool ReadHeader(Decoder& d, std::span<const uint8_t> bytes) {
    if (setjmp(d.errors.recovery)) return false;
    jpeg_create_decompress(&d.cinfo);
    d.cinfo.mem->max_memory_to_use = kMaxLibjpegMemory;
    d.progress.progress_monitor = LimitScans;
    d.cinfo.progress = &d.progress;
    jpeg_mem_src(&d.cinfo, bytes.data(), bytes.size());
    jpeg_read_header(&d.cinfo, TRUE);
    jpeg_calc_output_dimensions(&d.cinfo);
    RefuseUnwanted(d);
    return true;
}

void CopyRow(const JSAMPLE* in, JDIMENSION width, int components, uint8_t* out) {
    const int green = components == 3 ? 1 : 0;
    const int blue = components == 3 ? 2 : 0;
    for (JDIMENSION x = 0; x < width; ++x, in += components, out += 4) {
        out[0] = in[0];
        out[1] = in[green];
        out[2] = in[blue];
        out[3] = 255;
    }
}

// `rgba` holds output_width x output_height pixels of 4 bytes.
bool DecodeRows(Decoder& d, uint8_t* rgba) {
    if (setjmp(d.errors.recovery)) return false;
    jpeg_start_decompress(&d.cinfo);
    const JDIMENSION width = d.cinfo.output_width;
    const int components = d.cinfo.output_components;
    JSAMPARRAY row = (*d.cinfo.mem->alloc_sarray)(Common(d), JPOOL_IMAGE,
                                                  width * static_cast<JDIMENSION>(components), 1);
    while (d.cinfo.output_scanline < d.cinfo.output_height) {
        uint8_t* out = rgba + std::size_t{d.cinfo.output_scanline} * width * 4;
        // A memory source never suspends; should it, stop rather than spin.
        if (jpeg_read_scanlines(&d.cinfo, row, 1) != 1)
            FailJpeg(Common(d), "JPEG decoding stalled");
        CopyRow(row[0], width, components, out);
    }
    // Whatever follows the last row cannot change the picture, so it is not read.
    return true;
}

JpegReadResult LibjpegFailure(const JpegErrorManager& errors) {
    return {std::nullopt, errors.failure, errors.message};
}

JpegReadResult Decode(Decoder& d, std::span<const uint8_t> bytes) {
    if (!ReadHeader(d, bytes)) return LibjpegFailure(d.errors);
    RgbaPicture picture{static_cast<int32_t>(d.cinfo.output_width),
                        static_cast<int32_t>(d.cinfo.output_height),
                        {}};
    const auto size = CheckedBufferSize(picture.width, picture.height, 4);
    try {
        if (!size) throw std::bad_alloc();
        picture.pixels.resize(*size);
    } catch (const std::bad_alloc&) {
        return {std::nullopt, JpegFailure::OutOfMemory, "not enough memory for the picture"};
    }
    if (!DecodeRows(d, picture.pixels.data())) return LibjpegFailure(d.errors);
    return {std::move(picture), JpegFailure::None, {}};
}

}  // namespace

JpegReadResult DecodeJpeg(std::span<const uint8_t> bytes) {
    Decoder d{};
    d.cinfo.err = InstallJpegErrors(d.errors);
    JpegReadResult result = Decode(d, bytes);
    jpeg_destroy_decompress(&d.cinfo);
    return result;
}

JpegReadResult ReadJpegFile(const std::string& path) {
    FileBytes file;
    if (!file.Open(path)) return {std::nullopt, JpegFailure::CannotOpen, "cannot open the file"};
    return DecodeJpeg(file.Bytes());
}

}  // namespace anitrope
