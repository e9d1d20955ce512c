#include "formats/still_picture.h"

#include "formats/bmp_reader.h"
#include "formats/jpeg_reader.h"
#include "formats/png_reader.h"
#include "formats/ppm_reader.h"
#include "platform/file_bytes.h"

namespace anitrope {

PictureReadResult ReadStillPicture(const std::string& path) {
    FileBytes file;
    if (!file.Open(path)) return {std::nullopt, "cannot open the file"};
    const auto bytes = file.Bytes();
    if (bytes.size() >= 2 && bytes[0] == 'P' && bytes[1] == '6') return DecodePpm(bytes);
    if (bytes.size() >= 8 && bytes[0] == 0x89 && bytes[1] == 'P' && bytes[2] == 'N' &&
        bytes[3] == 'G')
        return DecodePng(bytes);
    if (bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M') return DecodeBmp(bytes);
    if (bytes.size() >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF) {
        JpegReadResult read = DecodeJpeg(bytes);
        return {std::move(read.picture), std::move(read.message)};
    }
    return {std::nullopt, "not a PNG, BMP, JPEG or binary PPM file"};
}

std::unique_ptr<TrueColorBitmap> ToTrueColor(const RgbaPicture& picture, bool opaque) {
    auto bitmap = std::make_unique<TrueColorBitmap>(picture.width, picture.height);
    if (!bitmap->HasRows()) return nullptr;
    const uint8_t* p = picture.pixels.data();
    for (int32_t y = 0; y < picture.height; ++y) {
        uint32_t* row = bitmap->Row(y);
        for (int32_t x = 0; x < picture.width; ++x, p += 4) {
            row[x] = p[3] < 128 && !opaque ? TransparentBit
                                : uint32_t{p[0]} << 16 | uint32_t{p[1]} << 8 | p[2];
        }
    }
    return bitmap;
}

}  // namespace anitrope
