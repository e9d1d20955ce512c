#include "formats/icon_image.h"

#include <algorithm>
#include <array>

#include "formats/dib_reader.h"
#include "formats/png_reader.h"
#include "model/picture_limits.h"

namespace anitrope {
namespace {

IconImageResult Fail(std::string why) { return {std::nullopt, std::move(why)}; }

uint32_t Be32(std::span<const uint8_t> b, std::size_t at) {
    return uint32_t{b[at]} << 24 | uint32_t{b[at + 1]} << 16 | uint32_t{b[at + 2]} << 8 |
           uint32_t{b[at + 3]};
}

bool IsPng(std::span<const uint8_t> entry) {
    static constexpr std::array<uint8_t, 4> kSignature = {0x89, 'P', 'N', 'G'};
    return entry.size() >= kSignature.size() &&
           std::equal(kSignature.begin(), kSignature.end(), entry.begin());
}

IconImageResult DecodePngImage(std::span<const uint8_t> entry) {
    // The header chunk follows the 8-byte signature; its sides are checked before libpng is
    // asked to inflate anything. A file too short for it is left to libpng to refuse.
    static constexpr std::array<uint8_t, 4> kIhdr = {'I', 'H', 'D', 'R'};
    constexpr std::size_t kIhdrEnd = 24;
    if (entry.size() >= kIhdrEnd && std::equal(kIhdr.begin(), kIhdr.end(), entry.begin() + 12) &&
        (Be32(entry, 16) > kMaxIconSide || Be32(entry, 20) > kMaxIconSide))
        return Fail("icon image too large");
    auto png = DecodePng(entry);
    if (!png.picture) return Fail(std::move(png.error));
    IconImage image;
    image.colour = std::move(*png.picture);
    image.blendAlpha = true;
    return {std::move(image), {}};
}

// 1-bit rows, stored bottom first and padded to 4 bytes, as one 0 or 1 byte a pixel, top
// row first. The caller has checked that `rows` holds them all.
std::vector<uint8_t> BitPlane(const uint8_t* rows, std::size_t width, std::size_t height) {
    const std::size_t stride = (width + 31) / 32 * 4;
    std::vector<uint8_t> bits(width * height);
    for (std::size_t y = 0; y < height; ++y) {
        const uint8_t* row = rows + (height - 1 - y) * stride;
        for (std::size_t x = 0; x < width; ++x)
            bits[y * width + x] = (row[x / 8] >> (7 - x % 8)) & 1;
    }
    return bits;
}

IconImageResult DecodeBitmapImage(std::span<const uint8_t> entry) {
    auto dib = DecodeDib(entry, DibLayout{std::nullopt, true});
    if (!dib.picture) return Fail("icon bitmap: " + dib.error);
    IconImage image;
    image.colour = std::move(*dib.picture);
    image.blendAlpha = dib.alphaUsed;
    const auto width = static_cast<std::size_t>(image.colour.width);
    const auto height = static_cast<std::size_t>(image.colour.height);
    if (dib.bitsPerPixel == 1)
        image.monochromeBits = BitPlane(entry.data() + dib.pixelOffset, width, height);
    if (image.blendAlpha) return {std::move(image), {}};
    // Both sides are at most kMaxIconSide: no overflow.
    const std::size_t maskSize = (width + 31) / 32 * 4 * height;
    if (entry.size() - dib.pixelEnd < maskSize) return Fail("icon mask cut short");
    image.mask = BitPlane(entry.data() + dib.pixelEnd, width, height);
    return {std::move(image), {}};
}

}  // namespace

IconImageResult DecodeIconImage(std::span<const uint8_t> entry) {
    return IsPng(entry) ? DecodePngImage(entry) : DecodeBitmapImage(entry);
}

}  // namespace anitrope
