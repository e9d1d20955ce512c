#pragma once

// SZDD files, the "expand" format: a 14-byte header ("SZDD" 88 F0 27 33, the method 'A', the
// character the compressed name lost, the expanded length as 32 bits little-endian), then LZSS
// data over a 4096-byte window that starts filled with spaces and is written from 4096 - 16.
// Compressed names end in '_' in place of the last letter of the extension; a name without an
// extension gets "._" and keeps the character 0 in the header, so that it expands to itself.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace anitrope {

inline constexpr std::size_t kSzddHeaderSize = 14;
// Bigger files are refused rather than expanded in memory: the whole distribution is a few
// megabytes.
inline constexpr uint32_t kSzddMaxExpandedSize = 512u << 20;

struct SzddHeader {
    char missingChar = 0;  // 0: the name had no extension (or the packer did not say)
    uint32_t length = 0;   // the expanded size in bytes
};

// The header at the start of `file`; nullopt when it is too short or not an SZDD header.
std::optional<SzddHeader> ReadSzddHeader(std::span<const uint8_t> file);

// The whole SZDD file for `data`; nullopt when `data` does not fit the 32-bit length.
std::optional<std::vector<uint8_t>> PackSzdd(std::span<const uint8_t> data, char missingChar);

// "anitrope.qch" -> "anitrope.qc_" with 'h'; "uninstall" -> "uninstall._" with 0.
std::string CompressedName(const std::string& name, char* missingChar);
// The inverse; a name that does not end in '_' stays as it is.
std::string ExpandedName(const std::string& compressedName, char missingChar);

enum class SzddStatus {
    Ok = 0,
    NotSzdd = 1,   // no SZDD header: the file cannot be opened as one
    Damaged = 2,   // the data end early, run past the header's length, or do not decode
    TooLarge = 3,  // the header promises more than kSzddMaxExpandedSize
    NoMemory = 4,
};

struct SzddContents {
    SzddStatus status = SzddStatus::NotSzdd;
    SzddHeader header;
    std::vector<uint8_t> data;  // the expanded bytes when status is Ok
};

// Expands a whole SZDD file held in memory (szdd_expander.cpp, through libmspack).
SzddContents ExpandSzdd(std::span<const uint8_t> file);

}  // namespace anitrope
