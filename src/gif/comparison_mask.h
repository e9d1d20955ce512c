#pragma once

#include <array>
#include <cstdint>

namespace anitrope {

// Colours are compared after AND-ing both with the mask, so the optimizer treats colours that
// differ only in the dropped low bits as equal. The "Gif Compression" setting stores the mask;
// its slider offers five of them, from the finest (1, best quality) to the coarsest (5,
// smallest file), and below them position 0, "Lossless", stored as the mask that keeps every
// bit: the optimizer then keeps every picture exactly (OptimizeLossless).
inline constexpr std::array<uint32_t, 5> kComparisonMasks{0xFCFCFC, 0xF8F8F8, 0xF0F0F0, 0xE0E0E0,
                                                          0xC0C0C0};
inline constexpr int kDefaultComparisonLevel = 3;
inline constexpr uint32_t kDefaultComparisonMask = 0xF0F0F0;
inline constexpr uint32_t kLosslessMask = 0xFFFFFF;
inline constexpr int kLosslessLevel = 0;

// The mask of slider position 0-5; any other position gives the default.
uint32_t ComparisonMaskForLevel(int level);

// The slider position of a stored mask; a mask that is none of the six shows as 3.
int ComparisonLevelOfMask(uint32_t mask);

}  // namespace anitrope
