#include "support/gif_builder.h"

#include <algorithm>
#include <stdexcept>

namespace anitrope::test {

namespace {

constexpr uint8_t kExtensionIntroducer = 0x21;
constexpr uint8_t kImageSeparator = 0x2C;
constexpr uint8_t kTrailer = 0x3B;
constexpr uint8_t kGraphicControlLabel = 0xF9;
constexpr uint8_t kCommentLabel = 0xFE;
constexpr uint8_t kApplicationLabel = 0xFF;
constexpr uint8_t kPlainTextLabel = 0x01;

std::vector<uint8_t> BytesOf(std::string_view text) { return {text.begin(), text.end()}; }

}  // namespace

ColorTable DistinctColors(int count) {
    ColorTable table;
    for (int i = 0; i < count; ++i) {
        // Red alone tells the entries apart; green and blue vary too, so a swapped channel shows.
        table.push_back({static_cast<uint8_t>(i), static_cast<uint8_t>((i * 7 + 3) & 0xFF),
                         static_cast<uint8_t>(255 - i)});
    }
    return table;
}

int ColorTableBits(std::size_t entries) {
    int bits = 1;
    while (bits < 8 && (std::size_t{1} << bits) < entries) ++bits;
    return bits;
}

std::vector<uint8_t> SubBlocks(std::span<const uint8_t> data, std::size_t blockSize) {
    if (blockSize < 1 || blockSize > 255) throw std::invalid_argument("sub-block size");
    std::vector<uint8_t> out;
    for (std::size_t at = 0; at < data.size(); at += blockSize) {
        const std::size_t n = std::min(blockSize, data.size() - at);
        out.push_back(static_cast<uint8_t>(n));
        out.insert(out.end(), data.begin() + static_cast<std::ptrdiff_t>(at),
                   data.begin() + static_cast<std::ptrdiff_t>(at + n));
    }
    out.push_back(0);
    return out;
}

std::vector<uint8_t> InterlacedRowOrder(std::span<const uint8_t> pixels, int width, int height) {
    static constexpr int kStart[] = {0, 4, 2, 1};
    static constexpr int kStep[] = {8, 8, 4, 2};
    std::vector<uint8_t> out;
    out.reserve(pixels.size());
    for (int pass = 0; pass < 4; ++pass) {
        for (int y = kStart[pass]; y < height; y += kStep[pass]) {
            auto row = pixels.subspan(static_cast<std::size_t>(y) * static_cast<std::size_t>(width),
                                      static_cast<std::size_t>(width));
            out.insert(out.end(), row.begin(), row.end());
        }
    }
    return out;
}

GifBuilder& GifBuilder::Header(std::string_view signatureAndVersion) {
    if (signatureAndVersion.size() != 6) throw std::invalid_argument("header is six bytes");
    return Raw(BytesOf(signatureAndVersion));
}

GifBuilder& GifBuilder::Screen(const LogicalScreen& screen) {
    Word(screen.width);
    Word(screen.height);
    uint8_t packed = static_cast<uint8_t>((screen.colorResolution & 7) << 4);
    globalTableBits_ = 0;
    if (screen.globalColors) {
        globalTableBits_ = ColorTableBits(screen.globalColors->size());
        packed = static_cast<uint8_t>(packed | 0x80 | (globalTableBits_ - 1));
    }
    Byte(packed);
    Byte(screen.background);
    Byte(screen.aspect);
    if (screen.globalColors) Table(*screen.globalColors);
    return *this;
}

GifBuilder& GifBuilder::Control(const GraphicControl& control) {
    const uint8_t packed =
        static_cast<uint8_t>((control.reserved & 7) << 5 | (control.disposal & 7) << 2 |
                             (control.userInput ? 2 : 0) | (control.transparentIndex ? 1 : 0));
    std::vector<uint8_t> block = {packed, static_cast<uint8_t>(control.delay & 0xFF),
                                  static_cast<uint8_t>(control.delay >> 8),
                                  control.transparentIndex.value_or(0)};
    block.resize(control.blockSize, 0);
    return Extension(kGraphicControlLabel, {block});
}

GifBuilder& GifBuilder::Comment(const std::vector<std::string>& subBlocks) {
    std::vector<std::vector<uint8_t>> blocks;
    for (const std::string& s : subBlocks) blocks.push_back(BytesOf(s));
    return Extension(kCommentLabel, blocks);
}

GifBuilder& GifBuilder::Application(std::string_view identifier,
                                    const std::vector<std::vector<uint8_t>>& subBlocks) {
    if (identifier.size() != 11) throw std::invalid_argument("application identifier");
    std::vector<std::vector<uint8_t>> blocks = {BytesOf(identifier)};
    blocks.insert(blocks.end(), subBlocks.begin(), subBlocks.end());
    return Extension(kApplicationLabel, blocks);
}

GifBuilder& GifBuilder::NetscapeLoop(uint16_t count) {
    return Application("NETSCAPE2.0",
                       {{1, static_cast<uint8_t>(count & 0xFF), static_cast<uint8_t>(count >> 8)}});
}

GifBuilder& GifBuilder::PlainText(std::string_view text) {
    // Grid at 0,0 of 8x8 character cells, 8x8 pixels each, foreground 1 on background 0.
    std::vector<uint8_t> grid = {0, 0, 0, 0, 64, 0, 64, 0, 8, 8, 1, 0};
    std::vector<std::vector<uint8_t>> blocks = {grid};
    const std::vector<uint8_t> bytes = BytesOf(text);
    for (std::size_t at = 0; at < bytes.size(); at += 255) {
        const std::size_t n = std::min<std::size_t>(255, bytes.size() - at);
        blocks.emplace_back(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                            bytes.begin() + static_cast<std::ptrdiff_t>(at + n));
    }
    return Extension(kPlainTextLabel, blocks);
}

GifBuilder& GifBuilder::Extension(uint8_t label,
                                  const std::vector<std::vector<uint8_t>>& subBlocks) {
    Byte(kExtensionIntroducer);
    Byte(label);
    for (const std::vector<uint8_t>& block : subBlocks) {
        if (block.empty() || block.size() > 255) throw std::invalid_argument("sub-block size");
        Byte(static_cast<uint8_t>(block.size()));
        Raw(block);
    }
    return Byte(0);
}

GifBuilder& GifBuilder::Descriptor(const ImageHeader& header) {
    Byte(kImageSeparator);
    Word(header.left);
    Word(header.top);
    Word(header.width);
    Word(header.height);
    uint8_t packed = header.interlaced ? 0x40 : 0;
    if (header.localColors)
        packed =
            static_cast<uint8_t>(packed | 0x80 | (ColorTableBits(header.localColors->size()) - 1));
    Byte(packed);
    if (header.localColors) Table(*header.localColors);
    return *this;
}

GifBuilder& GifBuilder::CodeStreamData(uint8_t minCodeSize, std::span<const uint8_t> packed,
                                       std::size_t subBlockSize) {
    Byte(minCodeSize);
    return Raw(SubBlocks(packed, subBlockSize));
}

GifBuilder& GifBuilder::Image(const ImageHeader& header, std::span<const uint8_t> pixels,
                              const ImageEncoding& encoding) {
    if (pixels.size() != std::size_t{header.width} * header.height)
        throw std::invalid_argument("pixel count differs from the image size");
    int minCodeSize = encoding.minCodeSize;
    if (minCodeSize == 0) {
        const int bits = header.localColors ? ColorTableBits(header.localColors->size())
                         : globalTableBits_ ? globalTableBits_
                                            : 8;
        minCodeSize = std::max(2, bits);
    }
    Descriptor(header);
    const std::vector<uint8_t> stored =
        header.interlaced ? InterlacedRowOrder(pixels, header.width, header.height)
                          : std::vector<uint8_t>(pixels.begin(), pixels.end());
    const std::vector<uint8_t> packed = LzwEncode(stored, minCodeSize, encoding.lzw).Pack();
    return CodeStreamData(static_cast<uint8_t>(minCodeSize), packed, encoding.subBlockSize);
}

GifBuilder& GifBuilder::Trailer() { return Byte(kTrailer); }

GifBuilder& GifBuilder::Raw(std::span<const uint8_t> bytes) {
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
    return *this;
}

GifBuilder& GifBuilder::Byte(uint8_t value) {
    bytes_.push_back(value);
    return *this;
}

void GifBuilder::Word(uint16_t value) {
    Byte(static_cast<uint8_t>(value & 0xFF));
    Byte(static_cast<uint8_t>(value >> 8));
}

void GifBuilder::Table(const ColorTable& table) {
    const std::size_t slots = std::size_t{1} << ColorTableBits(table.size());
    if (table.size() > slots) throw std::invalid_argument("colour table beyond 256 entries");
    for (std::size_t i = 0; i < slots; ++i) {
        const Rgb c = i < table.size() ? table[i] : Rgb{};
        Byte(c.red);
        Byte(c.green);
        Byte(c.blue);
    }
}

std::vector<uint8_t> SingleImageGifFromCodes(uint16_t width, uint16_t height, int minCodeSize,
                                             const CodeStream& codes, std::size_t subBlockSize) {
    GifBuilder gif;
    gif.Header().Screen(
        {.width = width, .height = height, .globalColors = DistinctColors(1 << minCodeSize)});
    gif.Descriptor({.width = width, .height = height})
        .CodeStreamData(static_cast<uint8_t>(minCodeSize), codes.Pack(), subBlockSize)
        .Trailer();
    return gif.Bytes();
}

}  // namespace anitrope::test
