#include "formats/dib_reader.h"

#include <algorithm>
#include <array>
#include <vector>

#include "model/picture_limits.h"

namespace anitrope {
namespace {

constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3, kAlphaBitFields = 6;

DibReadResult Fail(const char* why) {
    DibReadResult result;
    result.error = why;
    return result;
}

uint16_t Le16(std::span<const uint8_t> b, std::size_t at) {
    return static_cast<uint16_t>(b[at] | b[at + 1] << 8);
}
uint32_t Le32(std::span<const uint8_t> b, std::size_t at) {
    return uint32_t{b[at]} | uint32_t{b[at + 1]} << 8 | uint32_t{b[at + 2]} << 16 |
           uint32_t{b[at + 3]} << 24;
}

// One colour channel of a bit-field pixel: where it lies and how to widen it to 8 bits.
class Channel {
public:
    Channel() = default;
    // Nothing when the mask's bits are not one contiguous run.
    static std::optional<Channel> FromMask(uint32_t mask) {
        Channel c;
        c.mask_ = mask;
        if (mask == 0) return c;
        c.shift_ = __builtin_ctz(mask);
        const uint32_t run = mask >> c.shift_;
        if ((run & (run + 1)) != 0) return std::nullopt;
        c.max_ = run;
        return c;
    }
    uint32_t mask() const { return mask_; }
    uint8_t Value(uint32_t pixel) const {
        if (mask_ == 0) return 0;
        const uint64_t v = (pixel & mask_) >> shift_;
        return static_cast<uint8_t>((v * 255 + max_ / 2) / max_);
    }

private:
    uint32_t mask_ = 0;
    int shift_ = 0;
    uint64_t max_ = 1;
};

struct Header {
    uint32_t size = 0;
    int64_t width = 0;
    int64_t height = 0;  // negative: rows stored top first
    uint32_t planes = 0;
    uint32_t bitsPerPixel = 0;
    uint32_t compression = kRgb;
    uint32_t coloursUsed = 0;
    std::array<uint32_t, 4> masks{};  // red, green, blue, alpha
    bool hasMasks = false;
    bool hasAlphaMask = false;
    std::size_t end = 0;  // offset of the first byte after the header and its masks
};

// The info header, and the masks that follow a 40-byte one. Nothing on a damaged header.
std::optional<Header> ReadHeader(std::span<const uint8_t> bytes, const char*& why) {
    why = "damaged BMP header";
    if (bytes.size() < 4) return std::nullopt;
    Header h;
    h.size = Le32(bytes, 0);
    if (h.size != 12 && h.size != 40 && h.size != 52 && h.size != 56 && h.size != 108 &&
        h.size != 124) {
        why = "unsupported BMP header size";
        return std::nullopt;
    }
    if (bytes.size() < h.size) return std::nullopt;
    h.end = h.size;
    if (h.size == kCoreHeaderSize) {
        h.width = Le16(bytes, 4);
        h.height = Le16(bytes, 6);
        h.planes = Le16(bytes, 8);
        h.bitsPerPixel = Le16(bytes, 10);
        return h;
    }
    h.width = static_cast<int32_t>(Le32(bytes, 4));
    h.height = static_cast<int32_t>(Le32(bytes, 8));
    h.planes = Le16(bytes, 12);
    h.bitsPerPixel = Le16(bytes, 14);
    h.compression = Le32(bytes, 16);
    h.coloursUsed = Le32(bytes, 32);
    if (h.compression == kBitFields || h.compression == kAlphaBitFields) {
        h.hasMasks = true;
        const std::size_t maskCount = h.size >= 56 || h.compression == kAlphaBitFields ? 4 : 3;
        h.hasAlphaMask = maskCount == 4;
        const std::size_t maskAt = 40;
        // Masks the header has no room for follow it: all of them after a plain info header,
        // the alpha mask after a 52-byte one.
        const std::size_t inHeader = std::min(maskCount, (h.size - maskAt) / 4);
        const std::size_t following = 4 * (maskCount - inHeader);
        if (bytes.size() - h.end < following) return std::nullopt;
        h.end += following;
        for (std::size_t i = 0; i < maskCount; ++i) h.masks[i] = Le32(bytes, maskAt + 4 * i);
    }
    return h;
}

bool DepthFits(const Header& h) {
    const uint32_t bits = h.bitsPerPixel;
    if (h.size == kCoreHeaderSize) return bits == 1 || bits == 4 || bits == 8 || bits == 24;
    switch (h.compression) {
        case kRgb:
            return bits == 1 || bits == 2 || bits == 4 || bits == 8 || bits == 16 || bits == 24 ||
                   bits == 32;
        case kRle8: return bits == 8;
        case kRle4: return bits == 4;
        case kBitFields:
        case kAlphaBitFields: return bits == 16 || bits == 32;
        default: return false;
    }
}

using Palette = std::array<std::array<uint8_t, 3>, 256>;  // R, G, B; unused entries black

// Decodes RLE4 or RLE8 data to palette indexes, bottom row first. Runs and deltas that leave
// the row or the picture are clipped; the stream may end without an end-of-bitmap code.
std::vector<uint8_t> DecodeRle(std::span<const uint8_t> data, int64_t width, int64_t height,
                               bool fourBits) {
    std::vector<uint8_t> indexes(static_cast<std::size_t>(width * height), 0);
    int64_t x = 0, y = 0;
    std::size_t pos = 0;
    auto put = [&](uint8_t index) {
        if (x < width && y < height) indexes[static_cast<std::size_t>(y * width + x)] = index;
        ++x;
    };
    while (pos + 2 <= data.size() && y < height) {
        const uint8_t count = data[pos], value = data[pos + 1];
        pos += 2;
        if (count > 0) {
            for (int i = 0; i < count && x < width; ++i)
                put(fourBits ? (i % 2 == 0 ? value >> 4 : value & 0x0F) : value);
            continue;
        }
        if (value == 0) {  // end of line
            x = 0;
            ++y;
        } else if (value == 1) {  // end of bitmap
            break;
        } else if (value == 2) {  // delta: move right and up
            if (data.size() - pos < 2) break;
            x += data[pos];
            y += data[pos + 1];
            pos += 2;
        } else {  // a literal run of `value` pixels, padded to an even byte count
            const std::size_t runBytes = fourBits ? (value + 1u) / 2 : value;
            if (data.size() - pos < runBytes) break;
            for (int i = 0; i < value && x < width; ++i) {
                const uint8_t b = data[pos + (fourBits ? i / 2 : i)];
                put(fourBits ? (i % 2 == 0 ? b >> 4 : b & 0x0F) : b);
            }
            pos += runBytes + (runBytes & 1);
        }
    }
    return indexes;
}


// What an icon image adds to a bitmap's own checks; nullptr when it passes.
const char* IconImageProblem(const Header& h) {
    if (h.compression != kRgb && h.compression != kBitFields && h.compression != kAlphaBitFields)
        return "compressed icon images are not supported";
    // The colour rows and the mask rows share the height: it must split evenly, bottom first.
    if (h.height <= 0 || h.height % 2 != 0) return "damaged icon image header";
    if (h.width > kMaxIconSide || h.height / 2 > kMaxIconSide) return "icon image too large";
    return nullptr;
}

struct ColourTable {
    std::size_t count = 0;      // entries stored after the header
    std::size_t entrySize = 4;  // 3 in a core header's table
};

// How many colour-table entries follow the header, or why the count is unusable. A file
// names where its pixels start, so a core header's table fills the room before them and a
// table beside more than 8 bits is simply skipped; a resource's pixels follow the table, so
// its stated count decides where they start and may not exceed what the depth can index.
const char* CountColours(const Header& h, const std::optional<std::size_t>& pixelOffset,
                         ColourTable& table) {
    const std::size_t depthColours = h.bitsPerPixel <= 8 ? std::size_t{1} << h.bitsPerPixel : 0;
    if (h.size == kCoreHeaderSize) {
        table.entrySize = 3;
        table.count = pixelOffset ? std::min(depthColours, (*pixelOffset - h.end) / 3)
                                  : depthColours;
        return nullptr;
    }
    if (pixelOffset && h.bitsPerPixel > 8) return nullptr;
    if (h.coloursUsed > 256) return "BMP palette too large";
    table.count = h.coloursUsed == 0 ? depthColours : h.coloursUsed;
    if (!pixelOffset && h.bitsPerPixel <= 8 && table.count > depthColours)
        return "BMP palette too large";
    return nullptr;
}

const char* ReadPalette(std::span<const uint8_t> dib, const Header& h, const ColourTable& table,
                        Palette& palette) {
    if ((dib.size() - h.end) / table.entrySize < table.count) return "BMP palette cut short";
    if (h.bitsPerPixel > 8) return nullptr;
    for (std::size_t i = 0; i < table.count; ++i) {
        const std::size_t at = h.end + i * table.entrySize;
        palette[i] = {dib[at + 2], dib[at + 1], dib[at]};
    }
    return nullptr;
}

// The red, green, blue and alpha channels of 16- and 32-bit pixels, or why the masks are
// unusable. Plain 32-bit icon pixels keep alpha in their top byte; plain files' do not.
const char* ReadChannels(const Header& h, bool iconImage, std::array<Channel, 4>& channels) {
    if (h.bitsPerPixel != 16 && h.bitsPerPixel != 32) return nullptr;
    std::array<uint32_t, 4> masks =
        h.bitsPerPixel == 16
            ? std::array<uint32_t, 4>{0x7C00, 0x03E0, 0x001F, 0}
            : std::array<uint32_t, 4>{0xFF0000, 0xFF00, 0xFF, iconImage ? 0xFF000000u : 0u};
    if (h.hasMasks) masks = h.masks;
    uint32_t seen = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        const auto channel = Channel::FromMask(masks[i]);
        if (!channel || (seen & masks[i]) != 0 || (h.bitsPerPixel == 16 && masks[i] > 0xFFFF))
            return "unusable BMP bit-field masks";
        seen |= masks[i];
        channels[i] = *channel;
    }
    return nullptr;
}

RgbaPicture PalettePicture(const std::vector<uint8_t>& indexes, std::size_t w, std::size_t rows,
                           const Palette& palette) {
    RgbaPicture picture{static_cast<int32_t>(w), static_cast<int32_t>(rows), {}};
    picture.pixels.resize(w * rows * 4);
    for (std::size_t y = 0; y < rows; ++y) {
        const uint8_t* src = indexes.data() + (rows - 1 - y) * w;
        uint8_t* out = picture.pixels.data() + y * w * 4;
        for (std::size_t x = 0; x < w; ++x, out += 4) {
            const auto& c = palette[src[x]];
            out[0] = c[0], out[1] = c[1], out[2] = c[2], out[3] = 255;
        }
    }
    return picture;
}

// Uncompressed rows of `stride` bytes, already checked to lie inside the data, into
// `picture`. True when some pixel had a nonzero alpha value.
bool DecodeRows(const uint8_t* data, std::size_t stride, uint32_t bits, bool topDown,
                const Palette& palette, const std::array<Channel, 4>& channels,
                RgbaPicture& picture) {
    const std::size_t w = static_cast<std::size_t>(picture.width);
    const std::size_t rows = static_cast<std::size_t>(picture.height);
    bool anyAlpha = false;
    for (std::size_t y = 0; y < rows; ++y) {
        const uint8_t* row = data + (topDown ? y : rows - 1 - y) * stride;
        uint8_t* out = picture.pixels.data() + y * w * 4;
        for (std::size_t x = 0; x < w; ++x, out += 4) {
            out[3] = 255;
            if (bits <= 8) {
                const std::size_t bit = x * bits;
                const unsigned shift = 8 - bits - bit % 8;
                const auto& c = palette[(row[bit / 8] >> shift) & ((1u << bits) - 1)];
                out[0] = c[0], out[1] = c[1], out[2] = c[2];
            } else if (bits == 24) {
                out[0] = row[3 * x + 2], out[1] = row[3 * x + 1], out[2] = row[3 * x];
            } else {
                const uint32_t px =
                    bits == 16 ? Le16({row, stride}, 2 * x) : Le32({row, stride}, 4 * x);
                out[0] = channels[0].Value(px);
                out[1] = channels[1].Value(px);
                out[2] = channels[2].Value(px);
                if (channels[3].mask() != 0) {
                    out[3] = channels[3].Value(px);
                    anyAlpha |= out[3] != 0;
                }
            }
        }
    }
    return anyAlpha;
}

}  // namespace

DibReadResult DecodeDib(std::span<const uint8_t> dib, const DibLayout& layout) {
    const char* why = nullptr;
    const auto header = ReadHeader(dib, why);
    if (!header) return Fail(why);
    const Header& h = *header;
    if (h.planes != 1) return Fail("damaged BMP header");
    if (!DepthFits(h)) return Fail("unsupported BMP bit depth or compression");
    if (layout.iconImage)
        if (const char* problem = IconImageProblem(h)) return Fail(problem);
    const bool topDown = h.height < 0;
    const int64_t width = h.width;
    const int64_t height = layout.iconImage ? h.height / 2 : topDown ? -h.height : h.height;
    if (width < 0) return Fail("damaged BMP header: negative width");
    if (width == 0 || height == 0) return Fail("BMP picture has no pixels");
    if (!PictureSizeAllowed(width, height)) return Fail("picture too large");
    const bool rle = h.compression == kRle8 || h.compression == kRle4;
    // RLE deltas only move up the picture, so its rows are always stored bottom first.
    if (rle && topDown) return Fail("damaged BMP header: top-down RLE picture");
    if (layout.pixelOffset && (*layout.pixelOffset < h.end || *layout.pixelOffset > dib.size()))
        return Fail("BMP pixel offset outside the file");

    ColourTable table;
    Palette palette{};
    if (const char* problem = CountColours(h, layout.pixelOffset, table)) return Fail(problem);
    if (const char* problem = ReadPalette(dib, h, table, palette)) return Fail(problem);
    std::array<Channel, 4> channels;
    if (const char* problem = ReadChannels(h, layout.iconImage, channels)) return Fail(problem);

    DibReadResult result;
    result.bitsPerPixel = h.bitsPerPixel;
    result.pixelOffset = layout.pixelOffset.value_or(h.end + table.count * table.entrySize);
    const auto data = dib.subspan(result.pixelOffset);
    const std::size_t w = static_cast<std::size_t>(width), rows = static_cast<std::size_t>(height);
    if (rle) {
        const auto indexes = DecodeRle(data, width, height, h.compression == kRle4);
        result.picture = PalettePicture(indexes, w, rows, palette);
        return result;
    }

    // Rows are padded to whole 32-bit words; the width limit keeps this far from overflow.
    const std::size_t stride = (w * h.bitsPerPixel + 31) / 32 * 4;
    const auto needed = CheckedBufferSize(height, static_cast<int64_t>(stride), 1);
    if (!needed || data.size() < *needed) return Fail("BMP pixel data cut short");
    result.pixelEnd = result.pixelOffset + *needed;

    RgbaPicture picture{static_cast<int32_t>(width), static_cast<int32_t>(height), {}};
    picture.pixels.resize(w * rows * 4);
    const bool anyAlpha =
        DecodeRows(data.data(), stride, h.bitsPerPixel, topDown, palette, channels, picture);
    result.alphaUsed = channels[3].mask() != 0 && anyAlpha;
    // An alpha channel that is zero everywhere was never meant as one: show the picture.
    if (channels[3].mask() != 0 && !anyAlpha)
        for (std::size_t i = 3; i < picture.pixels.size(); i += 4) picture.pixels[i] = 255;
    result.picture = std::move(picture);
    return result;
}

}  // namespace anitrope
