#include "effects/effect_random.h"

#include <ctime>

namespace anitrope {

EffectRandom EffectRandom::Seeded(std::optional<uint32_t> seed) {
    return EffectRandom(seed ? *seed : static_cast<uint32_t>(std::time(nullptr)));
}

}  // namespace anitrope
