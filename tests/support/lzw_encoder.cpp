#include "support/lzw_encoder.h"

#include <stdexcept>
#include <unordered_map>

namespace anitrope::test {

CodeStream& CodeStream::Code(uint32_t code, int width) {
    if (width < 1 || width > kMaxLzwWidth || code >= (uint32_t{1} << width))
        throw std::invalid_argument("code does not fit its width");
    codes_.push_back({code, width});
    return *this;
}

std::vector<uint8_t> CodeStream::Pack() const {
    std::vector<uint8_t> bytes;
    uint32_t pending = 0;  // bits not yet written, lowest first
    int pendingBits = 0;
    for (const Entry& e : codes_) {
        pending |= e.code << pendingBits;
        pendingBits += e.width;
        while (pendingBits >= 8) {
            bytes.push_back(static_cast<uint8_t>(pending & 0xFF));
            pending >>= 8;
            pendingBits -= 8;
        }
    }
    if (pendingBits > 0) bytes.push_back(static_cast<uint8_t>(pending & 0xFF));
    return bytes;
}

CodeStream LzwEncode(std::span<const uint8_t> pixels, int minCodeSize, const LzwOptions& options) {
    if (minCodeSize < 2 || minCodeSize > 8) throw std::invalid_argument("minimum code size");
    const uint32_t clear = uint32_t{1} << minCodeSize;
    const uint32_t end = clear + 1;
    for (uint8_t p : pixels)
        if (p >= clear) throw std::invalid_argument("pixel beyond the code size");

    CodeStream out;
    // (prefix code << 8 | next pixel) -> code of that string
    std::unordered_map<uint32_t, uint32_t> table;
    int width = minCodeSize + 1;
    uint32_t next = end + 1;
    auto reset = [&] {
        table.clear();
        width = minCodeSize + 1;
        next = end + 1;
    };
    // The decoder adds an entry for every code after the first following a clear, one code
    // behind us, and widens when its next free code reaches 2^width. Checking our own next
    // free code before assigning it keeps both sides on the same width.
    auto widen = [&] {
        if (next >= (uint32_t{1} << width) && width < kMaxLzwWidth) ++width;
    };

    if (options.leadingClear) out.Code(clear, width);
    if (!pixels.empty()) {
        uint32_t prefix = pixels[0];
        for (std::size_t i = 1; i < pixels.size(); ++i) {
            const uint32_t key = prefix << 8 | pixels[i];
            if (auto found = table.find(key); found != table.end()) {
                prefix = found->second;
                continue;
            }
            out.Code(prefix, width);
            widen();
            if (next < kLzwTableSize) {
                table.emplace(key, next++);
            } else if (options.clearWhenFull) {
                out.Code(clear, width);
                reset();
            }
            prefix = pixels[i];
        }
        out.Code(prefix, width);
        widen();
    }
    if (options.endCode) out.Code(end, width);
    return out;
}

}  // namespace anitrope::test
