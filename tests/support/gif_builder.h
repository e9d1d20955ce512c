#pragma once

// Writes GIF files byte by byte from C++ calls, so reader tests can state exactly which
// blocks a file holds, including the malformed and unusual ones real files carry.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "support/lzw_encoder.h"

namespace anitrope::test {

struct Rgb {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};
using ColorTable = std::vector<Rgb>;

// `count` colours that differ from each other, so a wrong table or index shows.
ColorTable DistinctColors(int count);

// Smallest n in 1..8 with 2^n >= entries: the size field a table of `entries` needs.
int ColorTableBits(std::size_t entries);

struct LogicalScreen {
    uint16_t width = 1;
    uint16_t height = 1;
    std::optional<ColorTable> globalColors = std::nullopt;  // padded with black to a power of two
    uint8_t background = 0;
    uint8_t aspect = 0;
    uint8_t colorResolution = 7;  // 3-bit field
};

// GIF89a section 23. Fields that do not fit in `blockSize` bytes are cut; bytes beyond the
// usual four are zero.
struct GraphicControl {
    uint8_t disposal = 0;  // 3 bits
    uint16_t delay = 0;
    std::optional<uint8_t> transparentIndex = std::nullopt;
    bool userInput = false;
    uint8_t reserved = 0;  // the top 3 bits of the packed field
    uint8_t blockSize = 4;
};

struct ImageHeader {
    uint16_t left = 0;
    uint16_t top = 0;
    uint16_t width = 1;
    uint16_t height = 1;
    bool interlaced = false;
    std::optional<ColorTable> localColors = std::nullopt;  // padded with black to a power of two
};

struct ImageEncoding {
    LzwOptions lzw = {};
    std::size_t subBlockSize = 255;
    int minCodeSize = 0;  // 0: the bits of the colour table in force, at least 2
};

// Wraps data into sub-blocks of at most `blockSize` (1..255) bytes plus the zero terminator.
std::vector<uint8_t> SubBlocks(std::span<const uint8_t> data, std::size_t blockSize = 255);

// Reorders display rows into the order an interlaced image stores them (GIF89a appendix E).
std::vector<uint8_t> InterlacedRowOrder(std::span<const uint8_t> pixels, int width, int height);

class GifBuilder {
  public:
    // Any six bytes; the default is a plain GIF89a file.
    GifBuilder& Header(std::string_view signatureAndVersion = "GIF89a");
    GifBuilder& Screen(const LogicalScreen& screen);

    GifBuilder& Control(const GraphicControl& control);
    // One comment extension whose text is split into the given sub-blocks.
    GifBuilder& Comment(const std::vector<std::string>& subBlocks);
    // An application extension: the 11-byte identifier block, then the data sub-blocks.
    GifBuilder& Application(std::string_view identifier,
                            const std::vector<std::vector<uint8_t>>& subBlocks);
    GifBuilder& NetscapeLoop(uint16_t count);
    // A plain text extension with its 12-byte grid header and the text in sub-blocks.
    GifBuilder& PlainText(std::string_view text);
    // Any label with the given sub-blocks and a terminator.
    GifBuilder& Extension(uint8_t label, const std::vector<std::vector<uint8_t>>& subBlocks);

    // Image descriptor and local colour table only.
    GifBuilder& Descriptor(const ImageHeader& header);
    // Minimum code size byte, then `packed` in sub-blocks and the terminator.
    GifBuilder& CodeStreamData(uint8_t minCodeSize, std::span<const uint8_t> packed,
                               std::size_t subBlockSize = 255);
    // A whole image from display-order pixels (interlaced on the way when the header says so).
    GifBuilder& Image(const ImageHeader& header, std::span<const uint8_t> pixels,
                      const ImageEncoding& encoding = {});

    GifBuilder& Trailer();
    GifBuilder& Raw(std::span<const uint8_t> bytes);
    GifBuilder& Byte(uint8_t value);

    const std::vector<uint8_t>& Bytes() const { return bytes_; }
    std::size_t Size() const { return bytes_.size(); }

  private:
    void Word(uint16_t value);
    void Table(const ColorTable& table);

    std::vector<uint8_t> bytes_;
    int globalTableBits_ = 0;
};

// One w x h image over a global table of 2^minCodeSize colours whose data is exactly `codes`,
// for code streams no encoder would write.
std::vector<uint8_t> SingleImageGifFromCodes(uint16_t width, uint16_t height, int minCodeSize,
                                             const CodeStream& codes,
                                             std::size_t subBlockSize = 255);

}  // namespace anitrope::test
