#pragma once

#include <cstdint>
#include <optional>

namespace anitrope {

// The C library's linear congruential generator: state = state * 214013 + 2531011 (wrapping
// at 32 bits), each draw bits 16-30 of the new state. Random placements draw from it, so a
// fixed seed replays a run exactly.
class EffectRandom {
public:
    static constexpr int32_t kMax = 32767;

    explicit EffectRandom(uint32_t seed) : state_(seed) {}
    // Seeded with `seed`, or with the current time in seconds when there is none.
    static EffectRandom Seeded(std::optional<uint32_t> seed);

    int32_t Next() {
        state_ = state_ * 214013u + 2531011u;
        return static_cast<int32_t>(state_ >> 16 & 0x7FFF);
    }

private:
    uint32_t state_;
};

}  // namespace anitrope
