#include "app/window_placement.h"

#include <array>

namespace anitrope {
namespace {

constexpr std::size_t kFieldCount = 11;
constexpr std::size_t kRecordSize = kFieldCount * 4;
static_assert(kRecordSize == 44);

// The fields in the order the record stores them, const or not as the placement is.
template <typename Placement>
auto Fields(Placement& p) {
    std::array fields{&p.length, &p.flags, &p.showCommand, &p.minX,  &p.minY,  &p.maxX,
                      &p.maxY,   &p.left,  &p.top,         &p.right, &p.bottom};
    static_assert(std::tuple_size_v<decltype(fields)> == kFieldCount);
    return fields;
}

// A sixth of a screen extent; 64-bit so that 5 * extent cannot overflow for any int32 input.
int32_t Sixths(int32_t extent, int64_t sixths) {
    return static_cast<int32_t>(static_cast<int64_t>(extent) * sixths / 6);
}

}  // namespace

WindowPlacement WindowPlacement::Default(int32_t screenWidth, int32_t screenHeight) {
    WindowPlacement placement;
    placement.length = static_cast<int32_t>(kRecordSize);
    placement.flags = 0;
    placement.showCommand = 5;  // shown normally
    placement.left = Sixths(screenWidth, 1);
    placement.top = Sixths(screenHeight, 1);
    placement.right = Sixths(screenWidth, 5);
    placement.bottom = Sixths(screenHeight, 5);
    return placement;
}

WindowPlacement WindowPlacement::None() {
    WindowPlacement placement;
    placement.length = 0;  // every byte of the record zero, as a store that never held one
    return placement;
}

std::vector<uint8_t> WindowPlacement::ToBytes() const {
    std::vector<uint8_t> bytes;
    bytes.reserve(kRecordSize);
    for (const int32_t* field : Fields(*this)) {
        const auto value = static_cast<uint32_t>(*field);
        for (int shift = 0; shift < 32; shift += 8)
            bytes.push_back(static_cast<uint8_t>(value >> shift));
    }
    return bytes;
}

bool WindowPlacement::FromBytes(const std::vector<uint8_t>& bytes, WindowPlacement& out) {
    if (bytes.size() != kRecordSize) return false;
    WindowPlacement read;
    std::size_t at = 0;
    for (int32_t* field : Fields(read)) {
        uint32_t value = 0;
        for (int shift = 0; shift < 32; shift += 8) value |= uint32_t{bytes[at++]} << shift;
        *field = static_cast<int32_t>(value);
    }
    out = read;
    return true;
}

}  // namespace anitrope
