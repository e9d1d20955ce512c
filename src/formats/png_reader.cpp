#include "formats/png_reader.h"

#include <png.h>

#include <cstring>

#include "model/picture_limits.h"
#include "platform/file_bytes.h"

namespace anitrope {

PictureReadResult DecodePng(std::span<const uint8_t> bytes) {
    PictureReadResult result;
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    // libpng's simplified reader keeps its own error handling inside: no longjmp reaches us.
    if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) {
        result.error = std::string("not a readable PNG file: ") + image.message;
        return result;
    }
    if (!PictureSizeAllowed(image.width, image.height) || image.width == 0 || image.height == 0) {
        png_image_free(&image);
        result.error = "picture too large";
        return result;
    }
    image.format = PNG_FORMAT_RGBA;
    RgbaPicture picture{static_cast<int32_t>(image.width), static_cast<int32_t>(image.height), {}};
    auto size = CheckedBufferSize(picture.width, picture.height, 4);
    if (!size || *size != PNG_IMAGE_SIZE(image)) {
        png_image_free(&image);
        result.error = "picture too large";
        return result;
    }
    picture.pixels.resize(*size);
    if (!png_image_finish_read(&image, nullptr, picture.pixels.data(), 0, nullptr)) {
        result.error = std::string("damaged PNG file: ") + image.message;
        png_image_free(&image);
        return result;
    }
    result.picture = std::move(picture);
    return result;
}

PictureReadResult ReadPngFile(const std::string& path) {
    FileBytes file;
    if (!file.Open(path)) return {std::nullopt, "cannot open the file"};
    return DecodePng(file.Bytes());
}

}  // namespace anitrope
