#include <algorithm>
#include <array>

#include "installer/szdd.h"

namespace anitrope {
namespace {

constexpr std::size_t kWindow = 4096;
constexpr std::size_t kStart = kWindow - 16;  // where the expander writes its first byte
constexpr std::size_t kMinMatch = 3;
constexpr std::size_t kMaxMatch = 18;
// Matches reach back less than a window, so the expander never reads a slot it is about to
// overwrite within the same match.
constexpr std::size_t kMaxDistance = kWindow - kMaxMatch;
constexpr int kMaxChain = 48;  // candidates tried per position: good enough, and quick
constexpr std::size_t kHashBits = 13;

std::size_t Hash(const uint8_t* p) {
    return ((p[0] << 10) ^ (p[1] << 5) ^ p[2]) & ((1u << kHashBits) - 1);
}

}  // namespace

std::optional<std::vector<uint8_t>> PackSzdd(std::span<const uint8_t> data, char missingChar) {
    if (data.size() > 0xFFFFFFFFull) return std::nullopt;
    const auto size = static_cast<uint32_t>(data.size());
    std::vector<uint8_t> out = {'S',
                                'Z',
                                'D',
                                'D',
                                0x88,
                                0xF0,
                                0x27,
                                0x33,
                                'A',
                                static_cast<uint8_t>(missingChar),
                                static_cast<uint8_t>(size),
                                static_cast<uint8_t>(size >> 8),
                                static_cast<uint8_t>(size >> 16),
                                static_cast<uint8_t>(size >> 24)};
    out.reserve(out.size() + data.size() + data.size() / 8 + 1);

    const std::size_t n = data.size();
    std::array<int64_t, 1u << kHashBits> head;
    head.fill(-1);
    std::vector<int64_t> previous(n, -1);
    auto insert = [&](std::size_t p) {
        if (p + kMinMatch > n) return;
        const std::size_t h = Hash(&data[p]);
        previous[p] = head[h];
        head[h] = static_cast<int64_t>(p);
    };

    std::size_t i = 0;
    while (i < n) {
        const std::size_t flagAt = out.size();
        out.push_back(0);
        for (int bit = 0; bit < 8 && i < n; ++bit) {
            std::size_t bestLength = 0;
            std::size_t bestFrom = 0;
            if (i + kMinMatch <= n) {
                const std::size_t limit = std::min(kMaxMatch, n - i);
                int64_t candidate = head[Hash(&data[i])];
                for (int tries = 0; candidate >= 0 && tries < kMaxChain; ++tries) {
                    const auto from = static_cast<std::size_t>(candidate);
                    if (i - from > kMaxDistance) break;
                    std::size_t length = 0;
                    while (length < limit && data[from + length] == data[i + length]) ++length;
                    if (length > bestLength) {
                        bestLength = length;
                        bestFrom = from;
                        if (length == limit) break;
                    }
                    candidate = previous[from];
                }
            }
            if (bestLength >= kMinMatch) {
                const std::size_t position = (kStart + bestFrom) % kWindow;
                out.push_back(static_cast<uint8_t>(position & 0xFF));
                out.push_back(
                    static_cast<uint8_t>(((position >> 4) & 0xF0) | (bestLength - kMinMatch)));
                for (std::size_t k = 0; k < bestLength; ++k) insert(i + k);
                i += bestLength;
            } else {
                out[flagAt] = static_cast<uint8_t>(out[flagAt] | (1u << bit));  // a literal
                out.push_back(data[i]);
                insert(i);
                ++i;
            }
        }
    }
    return out;
}

}  // namespace anitrope
