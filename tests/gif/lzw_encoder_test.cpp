// Our encoder's table is a hash; its codes must be those of the plain dictionary encoder in
// the test support, code for code, whatever the picture.

#include "gif/lzw_encoder.h"

#include <gtest/gtest.h>

#include <random>

#include "gif/byte_sink.h"
#include "model/indexed_bitmap.h"
#include "support/lzw_encoder.h"

namespace anitrope {
namespace {

// The packed code bytes of sub-blocked data.
std::vector<uint8_t> Unblock(const std::vector<uint8_t>& data) {
    std::vector<uint8_t> packed;
    for (std::size_t i = 0; i < data.size() && data[i] != 0; i += 1u + data[i])
        packed.insert(packed.end(), data.begin() + long(i) + 1,
                      data.begin() + long(i) + 1 + data[i]);
    return packed;
}

TEST(LzwEncoder, SameCodesAsThePlainDictionaryEncoder) {
    std::mt19937 rng(11);
    LzwEncoder encoder;  // one encoder for all, as a save reuses it frame after frame
    for (int round = 0; round < 40; ++round) {
        SCOPED_TRACE(round);
        const int w = 1 + static_cast<int>(rng() % 300), h = 1 + static_cast<int>(rng() % 200);
        const int colors = 1 << (1 + rng() % 8);
        IndexedBitmap bitmap(nullptr, w, h);
        std::vector<uint8_t> pixels;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                // Mostly runs, sometimes noise: both short and long strings.
                const auto v = static_cast<uint8_t>(rng() % 4 == 0 ? rng() % colors
                                                                   : (x / 7 + y / 3) % colors);
                bitmap.Set(x, y, v);
                pixels.push_back(v);
            }
        ByteSink out;
        encoder.Encode(bitmap, w, h, 8, out);
        const std::vector<uint8_t> expected = test::LzwEncode(pixels, 8).Pack();
        ASSERT_EQ(Unblock(out.Data()), expected);
    }
}

}  // namespace
}  // namespace anitrope
