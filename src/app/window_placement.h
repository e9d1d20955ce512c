#pragma once

#include <cstdint>
#include <vector>

namespace anitrope {

// A window's placement as the settings keep it: 44 bytes of eleven little-endian 32-bit
// fields, length (44), flags, show command, minimised x, y, maximised x, y, and the normal
// rectangle left, top, right, bottom.
struct WindowPlacement {
    int32_t length = 44;
    int32_t flags = 0;
    int32_t showCommand = 0;
    int32_t minX = 0, minY = 0;
    int32_t maxX = 0, maxY = 0;
    int32_t left = 0, top = 0, right = 0, bottom = 0;

    bool IsEmpty() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }

    // Show command 5 (show) and the normal rectangle (W/6, H/6, 5W/6, 5H/6).
    static WindowPlacement Default(int32_t screenWidth, int32_t screenHeight);
    // All zero: no placement remembered.
    static WindowPlacement None();

    std::vector<uint8_t> ToBytes() const;
    // Nothing unless exactly 44 bytes.
    static bool FromBytes(const std::vector<uint8_t>& bytes, WindowPlacement& out);
};

}  // namespace anitrope
