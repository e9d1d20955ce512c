#include "formats/jpeg_writer.h"

#include <algorithm>
#include <cstdlib>
#include <new>

#include "formats/jpeg_errors.h"
#include "platform/atomic_file.h"

namespace anitrope {
namespace {

// Everything libjpeg touches, owned by EncodeJpeg, so that Compress (which arms the recovery
// point) holds nothing with a destructor. `buffer` is malloc'ed and grown by jpeg_mem_dest;
// it always points at the current block, which we free whatever happened.
struct Encoder {
    jpeg_compress_struct cinfo;
    JpegErrorManager errors;
    unsigned char* buffer;
    unsigned long size;
};

void FillRow(const uint32_t* pixels, int32_t width, bool colour, JSAMPLE* row) {
    for (int32_t x = 0; x < width; ++x) {
        const uint32_t p = pixels[x];
        const auto r = static_cast<JSAMPLE>(p >> 16);
        const auto g = static_cast<JSAMPLE>(p >> 8);
        const auto b = static_cast<JSAMPLE>(p);
        if (colour) {
            *row++ = r;
            *row++ = g;
            *row++ = b;
        } else {
            *row++ = static_cast<JSAMPLE>((r + g + b) / 3);
        }
    }
}

bool Compress(Encoder& e, const TrueColorBitmap& bitmap, bool colour, int quality) {
    if (setjmp(e.errors.recovery)) return false;
    jpeg_create_compress(&e.cinfo);
    jpeg_mem_dest(&e.cinfo, &e.buffer, &e.size);
    e.cinfo.image_width = static_cast<JDIMENSION>(bitmap.Width());
    e.cinfo.image_height = static_cast<JDIMENSION>(bitmap.Height());
    e.cinfo.input_components = colour ? 3 : 1;
    e.cinfo.in_color_space = colour ? JCS_RGB : JCS_GRAYSCALE;
    jpeg_set_defaults(&e.cinfo);
    jpeg_set_quality(&e.cinfo, quality, TRUE);
    jpeg_start_compress(&e.cinfo, TRUE);
    JSAMPARRAY row = (*e.cinfo.mem->alloc_sarray)(
        reinterpret_cast<j_common_ptr>(&e.cinfo), JPOOL_IMAGE,
        e.cinfo.image_width * static_cast<JDIMENSION>(e.cinfo.input_components), 1);
    while (e.cinfo.next_scanline < e.cinfo.image_height) {
        FillRow(bitmap.Row(static_cast<int32_t>(e.cinfo.next_scanline)), bitmap.Width(), colour,
                row[0]);
        jpeg_write_scanlines(&e.cinfo, row, 1);
    }
    jpeg_finish_compress(&e.cinfo);
    return true;
}

JpegWriteResult Encode(Encoder& e, const TrueColorBitmap& bitmap, bool colour, int quality,
                       std::vector<uint8_t>& out) {
    if (!Compress(e, bitmap, colour, std::clamp(quality, 0, 100)))
        return {false, e.errors.failure, e.errors.message};
    try {
        out.assign(e.buffer, e.buffer + e.size);
    } catch (const std::bad_alloc&) {
        return {false, JpegFailure::OutOfMemory, "not enough memory for the JPEG file"};
    }
    return {true, JpegFailure::None, {}};
}

}  // namespace

JpegWriteResult EncodeJpeg(const TrueColorBitmap& bitmap, bool colour, int quality,
                           std::vector<uint8_t>& out) {
    // A bitmap beyond the picture limits has no rows either.
    if (bitmap.Width() <= 0 || bitmap.Height() <= 0 || !bitmap.HasRows())
        return {false, JpegFailure::Fatal, "nothing to write"};
    Encoder e{};
    e.cinfo.err = InstallJpegErrors(e.errors);
    JpegWriteResult result = Encode(e, bitmap, colour, quality, out);
    jpeg_destroy_compress(&e.cinfo);
    std::free(e.buffer);
    return result;
}

JpegWriteResult WriteJpegFile(const std::string& path, const TrueColorBitmap& bitmap, bool colour,
                              int quality) {
    std::vector<uint8_t> bytes;
    JpegWriteResult result = EncodeJpeg(bitmap, colour, quality, bytes);
    if (result.ok && !WriteFileAtomically(path, bytes))
        return {false, JpegFailure::CannotOpen, "cannot write the file"};
    return result;
}

}  // namespace anitrope
