#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace anitrope {

// Sequential reads over a byte span. Every read says whether the bytes were there, so a
// truncated file is a status, never a read past the end.
class ByteReader {
public:
    explicit ByteReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

    bool AtEnd() const { return pos_ >= bytes_.size(); }
    std::size_t Remaining() const { return bytes_.size() - pos_; }

    std::optional<uint8_t> Byte() {
        if (AtEnd()) return std::nullopt;
        return bytes_[pos_++];
    }
    std::optional<uint8_t> PeekByte() const {
        if (AtEnd()) return std::nullopt;
        return bytes_[pos_];
    }
    std::optional<uint16_t> Little16() {
        if (Remaining() < 2) return std::nullopt;
        auto v = static_cast<uint16_t>(bytes_[pos_] | bytes_[pos_ + 1] << 8);
        pos_ += 2;
        return v;
    }
    // The next `count` bytes, or nothing (and no advance) when fewer remain.
    std::optional<std::span<const uint8_t>> Take(std::size_t count) {
        if (Remaining() < count) return std::nullopt;
        auto span = bytes_.subspan(pos_, count);
        pos_ += count;
        return span;
    }

private:
    std::span<const uint8_t> bytes_;
    std::size_t pos_ = 0;
};

}  // namespace anitrope
