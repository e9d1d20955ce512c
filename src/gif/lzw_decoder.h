#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace anitrope {

class PixelCursor;

// Variable-width LZW as GIF89a uses it (section 22 and appendix F): codes LSB first, width
// from minimum code size + 1 up to 12, a clear code of 2^minimum. Bytes are fed as they
// arrive, sub-block by sub-block; strings go to a PixelCursor.
class LzwDecoder {
public:
    enum class Result { MoreData, EndOfInformation, Corrupt };

    static constexpr int kMaxCodes = 4096;
    static constexpr int kMaxWidth = 12;

    // minimumCodeSize must be 0-11 (the reader maps values above 8 beforehand).
    explicit LzwDecoder(int minimumCodeSize);

    // Decodes whole codes from `bytes` (remaining bits carry over to the next call).
    // Corrupt: a code beyond the next free one, or the first code after a clear equal to it.
    // EndOfInformation: the end code came; later bytes of the image are to be ignored.
    Result Feed(std::span<const uint8_t> bytes, PixelCursor& out);

private:
    void Reset();
    void AddEntry(int prefix, uint8_t last);
    void Emit(int code, PixelCursor& out);
    Result Handle(int code, PixelCursor& out);

    int minimum_;
    int clear_;
    int end_;
    int width_ = 0;
    int nextFree_ = 0;
    int previous_ = -1;
    uint32_t bits_ = 0;
    int bitCount_ = 0;

    std::array<uint16_t, kMaxCodes> prefix_{};
    std::array<uint8_t, kMaxCodes> last_{};
    std::array<uint8_t, kMaxCodes> first_{};
    std::array<uint16_t, kMaxCodes> length_{};
    std::array<uint8_t, kMaxCodes> scratch_{};
};

}  // namespace anitrope
