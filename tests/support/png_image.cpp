#include "support/png_image.h"

#include <png.h>

#include <cstring>

namespace anitrope::test {

std::array<uint8_t, 4> RgbaImage::At(int32_t x, int32_t y) const {
    const std::size_t at = (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                            static_cast<std::size_t>(x)) *
                           4;
    return {pixels[at], pixels[at + 1], pixels[at + 2], pixels[at + 3]};
}

PngReadResult ReadPngRgba(const std::string& path) {
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&png, path.c_str()))
        return {std::nullopt, path + ": " + png.message};

    png.format = PNG_FORMAT_RGBA;
    RgbaImage image;
    image.width = static_cast<int32_t>(png.width);
    image.height = static_cast<int32_t>(png.height);
    image.pixels.resize(PNG_IMAGE_SIZE(png));
    if (!png_image_finish_read(&png, nullptr, image.pixels.data(), 0, nullptr)) {
        std::string error = path + ": " + png.message;
        png_image_free(&png);
        return {std::nullopt, error};
    }
    return {std::move(image), {}};
}

}  // namespace anitrope::test
