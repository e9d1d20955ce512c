#pragma once

#include <array>
#include <cstdint>

namespace anitrope {

class ByteSink;

// Packs codes least significant bit first into data sub-blocks of 255 bytes (GIF89a
// section 15); Flush writes what is left as a shorter last block.
class BitPacker {
public:
    explicit BitPacker(ByteSink& out) : out_(out) {}

    void Put(uint32_t code, int width);
    void Flush();

private:
    void PutByte(uint8_t byte);

    ByteSink& out_;
    std::array<uint8_t, 255> block_{};
    int fill_ = 0;
    uint32_t accumulator_ = 0;
    int pending_ = 0;
};

}  // namespace anitrope
