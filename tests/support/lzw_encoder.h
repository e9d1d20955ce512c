#pragma once

// The compressing side of GIF's variable-width LZW (GIF89a appendix F), for building test
// files. Plain and slow on purpose: it must be obviously right, not fast.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace anitrope::test {

inline constexpr int kMaxLzwWidth = 12;
inline constexpr uint32_t kLzwTableSize = 4096;

// Codes at explicit widths, packed least significant bit first as GIF stores them. Tests
// hand-build corner cases with it: a width that grows early or late, a code past the table.
class CodeStream {
  public:
    struct Entry {
        uint32_t code;
        int width;
    };

    CodeStream& Code(uint32_t code, int width);
    // The bytes, the last one padded with zero bits.
    std::vector<uint8_t> Pack() const;

  private:
    std::vector<Entry> codes_;
};

struct LzwOptions {
    bool leadingClear = true;
    // False: once all 4096 codes are assigned, go on coding with the table as it is and never
    // send a clear code (the "deferred clear" some encoders use).
    bool clearWhenFull = true;
    bool endCode = true;
};

// Compresses `pixels` (each below 2^minCodeSize, minCodeSize 2..8).
CodeStream LzwEncode(std::span<const uint8_t> pixels, int minCodeSize,
                     const LzwOptions& options = {});

}  // namespace anitrope::test
