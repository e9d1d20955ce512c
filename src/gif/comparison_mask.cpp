#include "gif/comparison_mask.h"

#include <algorithm>

namespace anitrope {

uint32_t ComparisonMaskForLevel(int level) {
    if (level == kLosslessLevel) return kLosslessMask;
    if (level < 1 || level > static_cast<int>(kComparisonMasks.size()))
        return kDefaultComparisonMask;
    return kComparisonMasks[static_cast<std::size_t>(level - 1)];
}

int ComparisonLevelOfMask(uint32_t mask) {
    if (mask == kLosslessMask) return kLosslessLevel;
    auto found = std::find(kComparisonMasks.begin(), kComparisonMasks.end(), mask);
    if (found == kComparisonMasks.end()) return kDefaultComparisonLevel;
    return static_cast<int>(found - kComparisonMasks.begin()) + 1;
}

}  // namespace anitrope
