#include "support/icon_builder.h"

#include <algorithm>
#include <stdexcept>

namespace anitrope::test {
namespace {

void Append16(FileData& out, uint32_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}
void Append32(FileData& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(uint8_t(v >> (8 * i)));
}
void AppendId(FileData& out, std::string_view id) {
    if (id.size() != 4) throw std::invalid_argument("RIFF ids have four characters");
    out.insert(out.end(), id.begin(), id.end());
}

// Rows bottom first, each padded to 4 bytes; `value(x, y)` gives a pixel's bits.
template <typename Value>
void AppendRows(FileData& out, int32_t width, int32_t height, int bits, Value value) {
    const std::size_t stride = (std::size_t(width) * bits + 31) / 32 * 4;
    for (int32_t y = height - 1; y >= 0; --y) {
        FileData row(stride, 0);
        for (int32_t x = 0; x < width; ++x) {
            const uint32_t v = value(x, y);
            if (bits < 8) {
                const std::size_t bit = std::size_t(x) * bits;
                row[bit / 8] |= uint8_t(v << (8 - bits - bit % 8));
            } else {
                for (int b = 0; b < bits / 8; ++b)
                    row[std::size_t(x) * (bits / 8) + b] = uint8_t(v >> (8 * b));
            }
        }
        out.insert(out.end(), row.begin(), row.end());
    }
}

// The sides an entry's own header states: a PNG's IHDR or a bitmap's info header.
std::pair<uint32_t, uint32_t> EntrySides(const FileData& entry) {
    if (entry.size() >= 24 && entry[0] == 0x89 && entry[1] == 'P') {
        auto be = [&](std::size_t at) {
            return uint32_t(entry[at]) << 24 | uint32_t(entry[at + 1]) << 16 |
                   uint32_t(entry[at + 2]) << 8 | entry[at + 3];
        };
        return {be(16), be(20)};
    }
    if (entry.size() >= 12) return {GetLe32(entry, 4), GetLe32(entry, 8) / 2};
    return {0, 0};
}

}  // namespace

IconBitmap SolidBitmap(int32_t width, int32_t height, uint32_t rgb) {
    IconBitmap b;
    b.width = width;
    b.height = height;
    b.pixels.assign(std::size_t(width) * height, rgb);
    return b;
}

FileData IconBitmapBytes(const IconBitmap& b) {
    if (b.pixels.size() != std::size_t(b.width) * b.height ||
        (!b.mask.empty() && b.mask.size() != b.pixels.size()))
        throw std::invalid_argument("pixels and mask must cover the bitmap");
    FileData out;
    Append32(out, 40);
    Append32(out, uint32_t(b.width));
    Append32(out, uint32_t(b.height) * 2);
    Append16(out, 1);
    Append16(out, b.bitsPerPixel);
    Append32(out, 0);  // uncompressed
    Append32(out, 0);  // image size, unused when uncompressed
    Append32(out, 0);
    Append32(out, 0);
    Append32(out, uint32_t(b.palette.size()));
    Append32(out, 0);
    for (const uint32_t rgb : b.palette) Append32(out, rgb & 0xFFFFFF);  // B, G, R, 0
    const auto at = [&](const auto& plane) {
        return [&](int32_t x, int32_t y) { return uint32_t(plane[std::size_t(y) * b.width + x]); };
    };
    AppendRows(out, b.width, b.height, b.bitsPerPixel, at(b.pixels));
    if (b.mask.empty())
        AppendRows(out, b.width, b.height, 1, [](int32_t, int32_t) { return 0u; });
    else
        AppendRows(out, b.width, b.height, 1, at(b.mask));
    return out;
}

FileData IconFileBytes(const std::vector<FileData>& entries, uint16_t type) {
    FileData out;
    Append16(out, 0);
    Append16(out, type);
    Append16(out, uint32_t(entries.size()));
    std::size_t offset = 6 + 16 * entries.size();
    for (const FileData& entry : entries) {
        const auto [width, height] = EntrySides(entry);
        out.push_back(uint8_t(width >= 256 ? 0 : width));
        out.push_back(uint8_t(height >= 256 ? 0 : height));
        out.push_back(0);  // colour count
        out.push_back(0);
        Append16(out, type == kCursorFileType ? 0 : 1);  // hotspot x, or planes
        Append16(out, 0);                                // hotspot y, or bits
        Append32(out, uint32_t(entry.size()));
        Append32(out, uint32_t(offset));
        offset += entry.size();
    }
    for (const FileData& entry : entries) out.insert(out.end(), entry.begin(), entry.end());
    return out;
}

FileData IconFileBytes(const IconBitmap& bitmap, uint16_t type) {
    return IconFileBytes(std::vector<FileData>{IconBitmapBytes(bitmap)}, type);
}

FileData RiffChunk(std::string_view id, const FileData& data) {
    FileData out;
    AppendId(out, id);
    Append32(out, uint32_t(data.size()));
    out.insert(out.end(), data.begin(), data.end());
    if (data.size() % 2 != 0) out.push_back(0);
    return out;
}

FileData RiffList(std::string_view type, const std::vector<FileData>& chunks) {
    FileData body;
    AppendId(body, type);
    for (const FileData& c : chunks) body.insert(body.end(), c.begin(), c.end());
    return RiffChunk("LIST", body);
}

FileData RiffFile(std::string_view form, const std::vector<FileData>& chunks) {
    FileData body;
    AppendId(body, form);
    for (const FileData& c : chunks) body.insert(body.end(), c.begin(), c.end());
    FileData out;
    AppendId(out, "RIFF");
    Append32(out, uint32_t(body.size()));
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

FileData AnimationHeader(uint32_t frames, uint32_t steps, uint32_t flags) {
    FileData header;
    for (const uint32_t v : {36u, frames, steps, 0u, 0u, 0u, 0u, 6u, flags}) Append32(header, v);
    return header;
}

FileData AnimatedCursorBytes(const AnimatedCursor& cursor) {
    const std::size_t steps = cursor.sequence ? cursor.sequence->size() : cursor.icons.size();
    std::vector<FileData> chunks;
    chunks.push_back(RiffList("INFO", {RiffChunk("INAM", {'a', 'n', 'i'})}));
    chunks.push_back(
        RiffChunk("anih", AnimationHeader(uint32_t(cursor.icons.size()), uint32_t(steps),
                                          cursor.flags | (cursor.sequence ? 2u : 0u))));
    if (cursor.sequence) {
        FileData rate, seq;
        for (const uint32_t index : *cursor.sequence) {
            Append32(rate, 6);
            Append32(seq, index);
        }
        chunks.push_back(RiffChunk("rate", rate));
        chunks.push_back(RiffChunk("seq ", seq));
    }
    std::vector<FileData> icons;
    for (const FileData& icon : cursor.icons) icons.push_back(RiffChunk("icon", icon));
    chunks.push_back(RiffList("fram", icons));
    return RiffFile("ACON", chunks);
}

void PutLe32(FileData& bytes, std::size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes.at(at + i) = uint8_t(value >> (8 * i));
}

uint32_t GetLe32(const FileData& bytes, std::size_t at) {
    return uint32_t(bytes.at(at)) | uint32_t(bytes.at(at + 1)) << 8 |
           uint32_t(bytes.at(at + 2)) << 16 | uint32_t(bytes.at(at + 3)) << 24;
}

std::size_t FindId(const FileData& bytes, std::string_view id) {
    const auto it = std::search(bytes.begin(), bytes.end(), id.begin(), id.end());
    if (it == bytes.end()) throw std::invalid_argument("id not in the file");
    return std::size_t(it - bytes.begin());
}

}  // namespace anitrope::test
