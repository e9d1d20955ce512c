#include "cli/json_string.h"

#include <cstddef>
#include <cstdint>

namespace anitrope {
namespace {

bool IsContinuation(uint8_t byte) { return (byte & 0xC0) == 0x80; }

// Length of the well-formed UTF-8 sequence that starts at bytes[pos], or 0 when there is
// none: overlong forms, surrogates and code points above U+10FFFF are refused, as is a
// sequence cut short by the end of the text.
std::size_t Utf8SequenceLength(std::string_view bytes, std::size_t pos) {
    auto at = [&](std::size_t i) { return static_cast<uint8_t>(bytes[pos + i]); };
    const uint8_t lead = at(0);
    std::size_t length = 0;
    uint8_t secondMin = 0x80, secondMax = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) secondMin = 0xA0;  // below: overlong
        if (lead == 0xED) secondMax = 0x9F;  // above: UTF-16 surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) secondMin = 0x90;  // below: overlong
        if (lead == 0xF4) secondMax = 0x8F;  // above: beyond U+10FFFF
    } else {
        return 0;
    }
    if (bytes.size() - pos < length) return 0;
    if (at(1) < secondMin || at(1) > secondMax) return 0;
    for (std::size_t i = 2; i < length; ++i) {
        if (!IsContinuation(at(i))) return 0;
    }
    return length;
}

void AppendUnicodeEscape(std::string& out, uint8_t byte) {
    static constexpr char kHex[] = "0123456789abcdef";
    out += "\\u00";
    out += kHex[byte >> 4];
    out += kHex[byte & 0x0F];
}

}  // namespace

void AppendJsonString(std::string& out, std::string_view bytes) {
    out += '"';
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const auto byte = static_cast<uint8_t>(bytes[pos]);
        if (byte == '"' || byte == '\\') {
            out += '\\';
            out += static_cast<char>(byte);
            ++pos;
        } else if (byte < 0x20) {
            AppendUnicodeEscape(out, byte);
            ++pos;
        } else if (byte < 0x80) {
            out += static_cast<char>(byte);
            ++pos;
        } else if (std::size_t length = Utf8SequenceLength(bytes, pos); length != 0) {
            out.append(bytes.substr(pos, length));
            pos += length;
        } else {
            AppendUnicodeEscape(out, byte);
            ++pos;
        }
    }
    out += '"';
}

std::string JsonString(std::string_view bytes) {
    std::string out;
    AppendJsonString(out, bytes);
    return out;
}

}  // namespace anitrope
