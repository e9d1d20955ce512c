#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace anitrope {

// Bytes of a file being built in memory; written out in one atomic step at the end.
class ByteSink {
public:
    void Byte(uint32_t value) { bytes_.push_back(static_cast<uint8_t>(value)); }
    void Little16(uint32_t value) {
        Byte(value & 0xFF);
        Byte(value >> 8 & 0xFF);
    }
    void Text(std::string_view text) { bytes_.insert(bytes_.end(), text.begin(), text.end()); }
    void Bytes(const uint8_t* data, std::size_t count) { bytes_.insert(bytes_.end(), data, data + count); }

    const std::vector<uint8_t>& Data() const { return bytes_; }

private:
    std::vector<uint8_t> bytes_;
};

}  // namespace anitrope
