#include "gif/bit_packer.h"

#include "gif/byte_sink.h"

namespace anitrope {

void BitPacker::PutByte(uint8_t byte) {
    block_[static_cast<std::size_t>(fill_++)] = byte;
    if (fill_ == static_cast<int>(block_.size())) {
        out_.Byte(static_cast<uint32_t>(fill_));
        out_.Bytes(block_.data(), block_.size());
        fill_ = 0;
    }
}

void BitPacker::Put(uint32_t code, int width) {
    accumulator_ |= code << pending_;
    pending_ += width;
    while (pending_ >= 8) {
        PutByte(static_cast<uint8_t>(accumulator_ & 0xFF));
        accumulator_ >>= 8;
        pending_ -= 8;
    }
}

void BitPacker::Flush() {
    if (pending_ > 0) PutByte(static_cast<uint8_t>(accumulator_ & 0xFF));
    if (fill_ > 0) {
        out_.Byte(static_cast<uint32_t>(fill_));
        out_.Bytes(block_.data(), static_cast<std::size_t>(fill_));
    }
    fill_ = 0;
    accumulator_ = 0;
    pending_ = 0;
}

}  // namespace anitrope
