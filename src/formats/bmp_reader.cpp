#include "formats/bmp_reader.h"

#include "formats/dib_reader.h"
#include "platform/file_bytes.h"

namespace anitrope {
namespace {

constexpr std::size_t kFileHeaderSize = 14;

uint32_t Le32(std::span<const uint8_t> b, std::size_t at) {
    return uint32_t{b[at]} | uint32_t{b[at + 1]} << 8 | uint32_t{b[at + 2]} << 16 |
           uint32_t{b[at + 3]} << 24;
}

}  // namespace

PictureReadResult DecodeBmp(std::span<const uint8_t> bytes) {
    if (bytes.size() < 2 || bytes[0] != 'B' || bytes[1] != 'M')
        return {std::nullopt, "not a BMP file"};
    if (bytes.size() < kFileHeaderSize) return {std::nullopt, "damaged BMP header"};
    // An offset into the file header itself is as wrong as one into the info header: 0 is
    // refused the same way.
    const uint32_t pixelOffset = Le32(bytes, 10);
    DibLayout layout;
    layout.pixelOffset = pixelOffset >= kFileHeaderSize ? pixelOffset - kFileHeaderSize : 0;
    auto dib = DecodeDib(bytes.subspan(kFileHeaderSize), layout);
    return {std::move(dib.picture), std::move(dib.error)};
}

PictureReadResult ReadBmpFile(const std::string& path) {
    FileBytes file;
    if (!file.Open(path)) return {std::nullopt, "cannot open the file"};
    return DecodeBmp(file.Bytes());
}

}  // namespace anitrope
