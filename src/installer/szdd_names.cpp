#include "installer/szdd.h"

namespace anitrope {
namespace {

constexpr uint8_t kMagic[8] = {'S', 'Z', 'D', 'D', 0x88, 0xF0, 0x27, 0x33};

}  // namespace

std::optional<SzddHeader> ReadSzddHeader(std::span<const uint8_t> file) {
    if (file.size() < kSzddHeaderSize) return std::nullopt;
    for (std::size_t i = 0; i < sizeof kMagic; ++i)
        if (file[i] != kMagic[i]) return std::nullopt;
    if (file[8] != 'A') return std::nullopt;
    SzddHeader header;
    header.missingChar = static_cast<char>(file[9]);
    header.length = static_cast<uint32_t>(file[10]) | static_cast<uint32_t>(file[11]) << 8 |
                    static_cast<uint32_t>(file[12]) << 16 | static_cast<uint32_t>(file[13]) << 24;
    return header;
}

std::string CompressedName(const std::string& name, char* missingChar) {
    const std::size_t slash = name.rfind('/');
    const std::size_t base = slash == std::string::npos ? 0 : slash + 1;
    const std::size_t dot = name.rfind('.');
    if (dot == std::string::npos || dot < base || dot + 1 == name.size() || dot == base) {
        *missingChar = 0;
        return name + "._";
    }
    *missingChar = name.back();
    return name.substr(0, name.size() - 1) + "_";
}

std::string ExpandedName(const std::string& compressedName, char missingChar) {
    if (compressedName.empty() || compressedName.back() != '_') return compressedName;
    std::string name = compressedName.substr(0, compressedName.size() - 1);
    if (missingChar != 0) return name + missingChar;
    if (!name.empty() && name.back() == '.') name.pop_back();
    return name;
}

}  // namespace anitrope
