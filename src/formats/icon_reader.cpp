#include "formats/icon_reader.h"

#include <optional>

#include "formats/cursor_drawing.h"
#include "formats/icon_image.h"
#include "platform/file_bytes.h"

namespace anitrope {
namespace {

constexpr std::size_t kIconHeaderSize = 6;
constexpr std::size_t kDirectoryEntrySize = 16;
constexpr uint16_t kIconType = 1, kCursorType = 2;

uint16_t Le16(std::span<const uint8_t> b, std::size_t at) {
    return static_cast<uint16_t>(b[at] | b[at + 1] << 8);
}
uint32_t Le32(std::span<const uint8_t> b, std::size_t at) {
    return uint32_t{b[at]} | uint32_t{b[at + 1]} << 8 | uint32_t{b[at + 2]} << 16 |
           uint32_t{b[at + 3]} << 24;
}

// The first directory entry's image, decoded. Icons and cursors share the layout (the
// cursor's hotspot sits where an icon keeps planes and depth, neither of which we need), so
// either type is taken by both readers.
IconImageResult FirstImage(std::span<const uint8_t> bytes) {
    if (bytes.size() < kIconHeaderSize || Le16(bytes, 0) != 0 ||
        (Le16(bytes, 2) != kIconType && Le16(bytes, 2) != kCursorType))
        return {std::nullopt, "not an icon or cursor file"};
    const std::size_t count = Le16(bytes, 4);
    if (count == 0) return {std::nullopt, "icon file holds no images"};
    if ((bytes.size() - kIconHeaderSize) / kDirectoryEntrySize < count)
        return {std::nullopt, "icon directory cut short"};
    const uint64_t size = Le32(bytes, kIconHeaderSize + 8);
    const uint64_t offset = Le32(bytes, kIconHeaderSize + 12);
    if (size == 0 || offset > bytes.size() || size > bytes.size() - offset)
        return {std::nullopt, "icon image outside the file"};
    return DecodeIconImage(bytes.subspan(offset, size));
}

// The AND mask above the colour bits, bit 1 white and bit 0 black: how a monochrome icon's
// two planes look when shown as one picture.
RgbaPicture MonochromeMaskPicture(const IconImage& image) {
    const auto& colour = image.colour;
    RgbaPicture out{colour.width, colour.height * 2, {}};
    out.pixels.reserve((image.mask.size() + image.monochromeBits.size()) * 4);
    for (const auto* plane : {&image.mask, &image.monochromeBits})
        for (const uint8_t bit : *plane) {
            const uint8_t v = bit != 0 ? 255 : 0;
            out.pixels.insert(out.pixels.end(), {v, v, v, 255});
        }
    return out;
}

}  // namespace

PictureReadResult DecodeIcon(std::span<const uint8_t> bytes) {
    auto result = FirstImage(bytes);
    if (!result.image) return {std::nullopt, std::move(result.error)};
    IconImage& image = *result.image;
    // A 1-bit image always has its mask: only alpha images go without one.
    if (!image.monochromeBits.empty() && !image.mask.empty())
        return {MonochromeMaskPicture(image), {}};
    for (std::size_t i = 3; i < image.colour.pixels.size(); i += 4) image.colour.pixels[i] = 255;
    return {std::move(image.colour), {}};
}

CursorReadResult DecodeCursor(std::span<const uint8_t> bytes) {
    auto result = FirstImage(bytes);
    if (!result.image) return {{}, false, std::move(result.error)};
    return {{DrawOverGrey(*result.image)}, true, {}};
}

PictureReadResult ReadIconFile(const std::string& path) {
    FileBytes file;
    if (!file.Open(path)) return {std::nullopt, "cannot open the file"};
    return DecodeIcon(file.Bytes());
}

CursorReadResult ReadCursorFile(const std::string& path) {
    FileBytes file;
    if (!file.Open(path)) return {{}, false, "cannot open the file"};
    return DecodeCursor(file.Bytes());
}

}  // namespace anitrope
