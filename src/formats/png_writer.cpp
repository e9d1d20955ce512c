#include "formats/png_writer.h"

#include <png.h>

#include <cstring>

#include "model/picture_limits.h"
#include "platform/atomic_file.h"

namespace anitrope {

std::optional<std::vector<uint8_t>> EncodePng(const RgbaPicture& picture) {
    if (picture.width <= 0 || picture.height <= 0) return std::nullopt;
    auto bytes = CheckedBufferSize(picture.width, picture.height, 4);
    if (!bytes || picture.pixels.size() != *bytes) return std::nullopt;

    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(picture.width);
    image.height = static_cast<png_uint_32>(picture.height);
    image.format = PNG_FORMAT_RGBA;
    // Ask for the size first, then encode into a buffer of exactly that size.
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&image, nullptr, &size, 0, picture.pixels.data(), 0, nullptr))
        return std::nullopt;
    std::vector<uint8_t> out(size);
    if (!png_image_write_to_memory(&image, out.data(), &size, 0, picture.pixels.data(), 0,
                                   nullptr))
        return std::nullopt;
    out.resize(size);
    return out;
}

bool WritePngFile(const std::string& path, const RgbaPicture& picture) {
    auto png = EncodePng(picture);
    return png && WriteFileAtomically(path, *png);
}

}  // namespace anitrope
