#include "formats/tga_reader.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_bytes.h"

namespace anitrope {
namespace {

constexpr std::size_t kHeaderSize = 18;
constexpr int64_t kMaxTgaDimension = 2048;

using Rgba = std::array<uint8_t, 4>;
constexpr Rgba kBlack = {0, 0, 0, 255};

PictureReadResult Fail(std::string why) { return {std::nullopt, std::move(why)}; }

uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

enum class Kind { kMapped, kTrueColour, kGrey };

struct Header {
    unsigned idLength = 0;
    unsigned mapType = 0;
    unsigned imageType = 0;
    unsigned mapFirst = 0;
    unsigned mapLength = 0;
    unsigned mapEntryBits = 0;
    int64_t width = 0;
    int64_t height = 0;
    unsigned pixelBits = 0;
    unsigned descriptor = 0;

    // Types 9, 10 and 11 are the run-length forms of 1, 2 and 3.
    Kind kind() const {
        const unsigned plain = imageType & 7;
        return plain == 1 ? Kind::kMapped : plain == 2 ? Kind::kTrueColour : Kind::kGrey;
    }
    bool rle() const { return imageType >= 9; }
    unsigned alphaBits() const { return descriptor & 0x0F; }
    bool rightToLeft() const { return (descriptor & 0x10) != 0; }
    bool topDown() const { return (descriptor & 0x20) != 0; }
    std::size_t mapEntryBytes() const { return (mapEntryBits + 7) / 8; }
    std::size_t pixelBytes() const { return (pixelBits + 7) / 8; }
};

Header ReadHeader(const uint8_t* b) {
    Header h;
    h.idLength = b[0];
    h.mapType = b[1];
    h.imageType = b[2];
    h.mapFirst = Le16(b + 3);
    h.mapLength = Le16(b + 5);
    h.mapEntryBits = b[7];
    h.width = Le16(b + 12);
    h.height = Le16(b + 14);
    h.pixelBits = b[16];
    h.descriptor = b[17];
    return h;
}

bool IsColourDepth(unsigned bits) { return bits == 15 || bits == 16 || bits == 24 || bits == 32; }

bool DepthFits(const Header& h) {
    const unsigned bits = h.pixelBits;
    switch (h.kind()) {
        case Kind::kMapped:
        case Kind::kGrey:
            return bits == 8 || bits == 16;
        case Kind::kTrueColour:
            return IsColourDepth(bits);
    }
    return false;
}

// Why the header cannot be decoded, or nothing. Everything here is known before allocating.
std::optional<std::string> Refusal(const Header& h) {
    const unsigned t = h.imageType;
    if (t == 0) return "TGA file holds no picture";
    if (t != 1 && t != 2 && t != 3 && t != 9 && t != 10 && t != 11)
        return "unsupported TGA image type " + std::to_string(t);
    if (h.width == 0 || h.height == 0) return "TGA picture has no pixels";
    if (h.width > kMaxTgaDimension || h.height > kMaxTgaDimension)
        return "TGA pictures wider or higher than 2048 pixels are not supported";
    if (!DepthFits(h)) return "unsupported TGA bit depth " + std::to_string(h.pixelBits);
    if (h.mapType > 1) return "unsupported TGA colour map type " + std::to_string(h.mapType);
    if (h.kind() == Kind::kMapped && h.mapType == 0)
        return "TGA colour-mapped picture without a colour map";
    if (h.mapType == 1 && !IsColourDepth(h.mapEntryBits))
        return "unsupported TGA colour map entry size " + std::to_string(h.mapEntryBits);
    return std::nullopt;
}

// Nearest 8-bit value of a 5-bit channel.
uint8_t Widen5(unsigned v) { return static_cast<uint8_t>((v * 255 + 15) / 31); }

// A 15, 16, 24 or 32-bit colour as stored in pixels and map entries: A1R5G5B5 little-endian,
// B,G,R or B,G,R,A. Fifteen bits have no attribute bit; their alpha is 255.
Rgba ColourAt(const uint8_t* p, unsigned bits) {
    if (bits == 24) return {p[2], p[1], p[0], 255};
    if (bits == 32) return {p[2], p[1], p[0], p[3]};
    const unsigned v = Le16(p);
    const uint8_t alpha = bits == 15 || (v & 0x8000) != 0 ? 255 : 0;
    return {Widen5((v >> 10) & 31), Widen5((v >> 5) & 31), Widen5(v & 31), alpha};
}

// Turns stored pixels into RGBA and notes whether any of them had a nonzero alpha.
class PixelSource {
  public:
    PixelSource(const Header& h, std::vector<Rgba> map) : h_(h), map_(std::move(map)) {}

    std::size_t bytes() const { return h_.pixelBytes(); }
    bool sawAlpha() const { return sawAlpha_; }

    Rgba Read(const uint8_t* p) {
        Rgba c = kBlack;
        switch (h_.kind()) {
            case Kind::kMapped: {
                const unsigned index = h_.pixelBits == 8 ? p[0] : Le16(p);
                if (index < h_.mapFirst || index - h_.mapFirst >= map_.size()) return kBlack;
                c = map_[index - h_.mapFirst];
                break;
            }
            case Kind::kTrueColour:
                c = ColourAt(p, h_.pixelBits);
                break;
            case Kind::kGrey:
                c = {p[0], p[0], p[0], h_.pixelBits == 16 ? p[1] : uint8_t{255}};
                break;
        }
        sawAlpha_ |= c[3] != 0;
        return c;
    }

  private:
    const Header& h_;
    std::vector<Rgba> map_;
    bool sawAlpha_ = false;
};

// Whether the stored pixels carry an alpha channel at all; the descriptor must also say so.
bool CarriesAlpha(const Header& h) {
    switch (h.kind()) {
        case Kind::kMapped:
            return h.mapEntryBits == 16 || h.mapEntryBits == 32;
        case Kind::kTrueColour:
            return h.pixelBits == 16 || h.pixelBits == 32;
        case Kind::kGrey:
            return h.pixelBits == 16;
    }
    return false;
}

void MakeOpaque(RgbaPicture& picture) {
    for (std::size_t i = 3; i < picture.pixels.size(); i += 4) picture.pixels[i] = 255;
}

// Puts the n-th stored pixel where the origin bits say it belongs in a top-first picture.
class Placement {
  public:
    Placement(const Header& h, RgbaPicture& picture)
        : w_(static_cast<std::size_t>(h.width)),
          rows_(static_cast<std::size_t>(h.height)),
          topDown_(h.topDown()),
          rightToLeft_(h.rightToLeft()),
          pixels_(picture.pixels.data()) {}

    std::size_t total() const { return w_ * rows_; }

    void Put(std::size_t n, const Rgba& c) {
        const std::size_t row = n / w_, column = n % w_;
        const std::size_t y = topDown_ ? row : rows_ - 1 - row;
        const std::size_t x = rightToLeft_ ? w_ - 1 - column : column;
        std::copy(c.begin(), c.end(), pixels_ + (y * w_ + x) * 4);
    }

  private:
    std::size_t w_, rows_;
    bool topDown_, rightToLeft_;
    uint8_t* pixels_;
};

// As many uncompressed pixels as the data holds.
void DecodeRaw(std::span<const uint8_t> data, PixelSource& source, Placement& out) {
    const std::size_t step = source.bytes();
    const std::size_t count = std::min(out.total(), data.size() / step);
    for (std::size_t n = 0; n < count; ++n) out.Put(n, source.Read(data.data() + n * step));
}

// Run-length packets. Packets may cross rows; whatever runs past the picture's end is
// dropped, and a stream that stops early leaves the remaining pixels as they are.
void DecodeRle(std::span<const uint8_t> data, PixelSource& source, Placement& out) {
    const std::size_t step = source.bytes(), total = out.total();
    std::size_t n = 0, pos = 0;
    while (n < total && pos < data.size()) {
        const uint8_t packet = data[pos++];
        const std::size_t count = std::min<std::size_t>((packet & 0x7F) + 1u, total - n);
        if ((packet & 0x80) != 0) {
            if (data.size() - pos < step) return;
            const Rgba c = source.Read(data.data() + pos);
            pos += step;
            for (std::size_t i = 0; i < count; ++i) out.Put(n++, c);
            continue;
        }
        for (std::size_t i = 0; i < count; ++i, pos += step) {
            if (data.size() - pos < step) return;
            out.Put(n++, source.Read(data.data() + pos));
        }
    }
}

// The colour map's entries (none unless the picture is colour-mapped), advancing `pos` past
// the map. Nothing when the file ends inside it.
std::optional<std::vector<Rgba>> ReadColourMap(const Header& h, std::span<const uint8_t> bytes,
                                               std::size_t& pos) {
    if (h.mapType == 0) return std::vector<Rgba>{};
    const std::size_t entryBytes = h.mapEntryBytes();
    if ((bytes.size() - pos) / entryBytes < h.mapLength) return std::nullopt;
    const std::size_t start = pos;
    pos += h.mapLength * entryBytes;
    std::vector<Rgba> map;
    if (h.kind() != Kind::kMapped) return map;
    map.reserve(h.mapLength);
    for (std::size_t i = 0; i < h.mapLength; ++i)
        map.push_back(ColourAt(bytes.data() + start + i * entryBytes, h.mapEntryBits));
    return map;
}

}  // namespace

PictureReadResult DecodeTga(std::span<const uint8_t> bytes) {
    if (bytes.size() < kHeaderSize) return Fail("damaged TGA header");
    const Header h = ReadHeader(bytes.data());
    if (auto why = Refusal(h)) return Fail(std::move(*why));
    std::size_t pos = kHeaderSize + h.idLength;
    if (pos > bytes.size()) return Fail("TGA ID field cut short");
    auto map = ReadColourMap(h, bytes, pos);
    if (!map) return Fail("TGA colour map cut short");

    RgbaPicture picture{static_cast<int32_t>(h.width), static_cast<int32_t>(h.height), {}};
    picture.pixels.resize(static_cast<std::size_t>(h.width * h.height) * 4);
    MakeOpaque(picture);  // what pixel data that ends early leaves: opaque black
    PixelSource source(h, std::move(*map));
    Placement out(h, picture);
    if (h.rle())
        DecodeRle(bytes.subspan(pos), source, out);
    else
        DecodeRaw(bytes.subspan(pos), source, out);
    // Many writers leave the alpha of every pixel zero, or fill the attribute bits with
    // rubbish while declaring none: such files are meant to be seen, so show them opaque.
    if (!CarriesAlpha(h) || h.alphaBits() == 0 || !source.sawAlpha()) MakeOpaque(picture);
    return {std::move(picture), {}};
}

PictureReadResult ReadTgaFile(const std::string& path) {
    FileBytes file;
    if (!file.Open(path)) return Fail("cannot open the file");
    return DecodeTga(file.Bytes());
}

}  // namespace anitrope
