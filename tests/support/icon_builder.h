#pragma once

// Writes icon (ICO), cursor (CUR) and animated cursor (ANI) files byte by byte, so reader
// tests can say exactly what a file holds and then damage it where they mean to.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace anitrope::test {

using FileData = std::vector<uint8_t>;

// One bitmap image of an icon or cursor, stated top row first.
struct IconBitmap {
    int32_t width = 1;
    int32_t height = 1;
    uint16_t bitsPerPixel = 24;     // 1, 4, 8: palette indexes; 24, 32: colours
    std::vector<uint32_t> palette;  // 0xRRGGBB each; its size is written as the colour count
    // width x height values: a palette index, 0xRRGGBB (24 bits) or 0xAARRGGBB (32 bits).
    std::vector<uint32_t> pixels;
    std::vector<uint8_t> mask;  // width x height, 1 where the screen shows through; empty: 0
};

// A width x height 24-bit image of one colour with nothing masked.
IconBitmap SolidBitmap(int32_t width, int32_t height, uint32_t rgb);

// A directory entry's bytes: a 40-byte info header whose height counts the mask too, the
// palette, then the colour rows and the AND mask rows, bottom first, padded to 4 bytes.
FileData IconBitmapBytes(const IconBitmap& bitmap);

inline constexpr uint16_t kIconFileType = 1, kCursorFileType = 2;

// An ICO or CUR file holding these entries (bitmaps or PNG files) after its directory. The
// directory's width and height bytes are read from each entry's own header (0 for 256).
FileData IconFileBytes(const std::vector<FileData>& entries, uint16_t type = kIconFileType);

// The same, for one bitmap.
FileData IconFileBytes(const IconBitmap& bitmap, uint16_t type = kIconFileType);

// A RIFF chunk: id, little-endian length, data, and a pad byte after odd-sized data.
FileData RiffChunk(std::string_view id, const FileData& data);
// A 'LIST' chunk of this type holding these chunks one after another.
FileData RiffList(std::string_view type, const std::vector<FileData>& chunks);
// A whole RIFF file of this form type ("ACON") holding these chunks.
FileData RiffFile(std::string_view form, const std::vector<FileData>& chunks);

// The 36-byte 'anih' data: its own size, the counts given, no sizes, a rate of 6 jiffies.
FileData AnimationHeader(uint32_t frames, uint32_t steps, uint32_t flags);

struct AnimatedCursor {
    std::vector<FileData> icons = {};  // each an ICO or CUR file
    std::optional<std::vector<uint32_t>> sequence = std::nullopt;
    uint32_t flags = 1;  // bit 0: the frames are icon files
};

// RIFF 'ACON': an INFO list of odd length (so padding is exercised), 'anih' with counts that
// match, a 'rate' and a 'seq ' chunk when there is a sequence, then the 'fram' list.
FileData AnimatedCursorBytes(const AnimatedCursor& cursor);

void PutLe32(FileData& bytes, std::size_t at, uint32_t value);
uint32_t GetLe32(const FileData& bytes, std::size_t at);

// Where `id` first occurs in the bytes, for tests that patch a chunk of a built file.
std::size_t FindId(const FileData& bytes, std::string_view id);

}  // namespace anitrope::test
