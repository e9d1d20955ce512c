#include "formats/animated_cursor_reader.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "formats/cursor_drawing.h"
#include "formats/icon_reader.h"
#include "model/picture_limits.h"
#include "platform/file_bytes.h"

namespace anitrope {
namespace {

using Bytes = std::span<const uint8_t>;

constexpr std::size_t kChunkHeaderSize = 8;
constexpr std::size_t kAnimationHeaderSize = 36;
constexpr std::size_t kFlagsAt = 32;
constexpr uint32_t kFramesAreIcons = 1;
// Steps may repeat icons but every icon decoded counts against this, so a file of many
// huge, highly compressed icons cannot make us inflate far more than we could keep.
constexpr int64_t kMaxDecodedPixels = 2 * kMaxPicturePixels;

CursorReadResult Fail(const char* why) { return {{}, false, why}; }

uint32_t Le32(Bytes b, std::size_t at) {
    return uint32_t{b[at]} | uint32_t{b[at + 1]} << 8 | uint32_t{b[at + 2]} << 16 |
           uint32_t{b[at + 3]} << 24;
}

bool HasId(Bytes b, std::size_t at, const char (&id)[5]) {
    return at <= b.size() && b.size() - at >= 4 &&
           std::equal(id, id + 4, b.begin() + static_cast<std::ptrdiff_t>(at),
                      [](char c, uint8_t u) { return uint8_t(c) == u; });
}

struct Chunk {
    Bytes id;  // four characters
    Bytes data;
};

// The chunks of a RIFF body; nothing when one runs past the body or a header is cut short.
// Odd-sized chunks are followed by a pad byte, which the last one may go without.
std::optional<std::vector<Chunk>> ReadChunks(Bytes body) {
    std::vector<Chunk> chunks;
    std::size_t at = 0;
    while (at < body.size()) {
        if (body.size() - at < kChunkHeaderSize) return std::nullopt;
        const std::size_t size = Le32(body, at + 4);
        if (size > body.size() - at - kChunkHeaderSize) return std::nullopt;
        chunks.push_back({body.subspan(at, 4), body.subspan(at + kChunkHeaderSize, size)});
        at += kChunkHeaderSize + size;
        if (size % 2 != 0 && at < body.size()) ++at;
    }
    return chunks;
}

struct AnimationChunks {
    std::optional<Bytes> header;              // 'anih'
    std::optional<Bytes> sequence;            // 'seq '
    std::optional<std::vector<Bytes>> icons;  // the first 'fram' list's 'icon' chunks
};

// Sorts the top-level chunks; the first of each kind counts, the rest are skipped.
const char* FindChunks(Bytes body, AnimationChunks& found) {
    const auto chunks = ReadChunks(body);
    if (!chunks) return "animated cursor cut short";
    for (const Chunk& chunk : *chunks) {
        if (HasId(chunk.id, 0, "anih") && !found.header) {
            found.header = chunk.data;
        } else if (HasId(chunk.id, 0, "seq ") && !found.sequence) {
            found.sequence = chunk.data;
        } else if (HasId(chunk.id, 0, "LIST") && HasId(chunk.data, 0, "fram") && !found.icons) {
            const auto frames = ReadChunks(chunk.data.subspan(4));
            if (!frames) return "animated cursor cut short";
            found.icons.emplace();
            for (const Chunk& frame : *frames)
                if (HasId(frame.id, 0, "icon")) found.icons->push_back(frame.data);
        }
    }
    return nullptr;
}

// Which icon each step shows, checked against the icons there are.
const char* StepOrder(const AnimationChunks& found, std::vector<uint32_t>& order) {
    const std::size_t icons = found.icons->size();
    if (!found.sequence) {
        if (icons > kMaxCursorSteps) return "too many animated cursor steps";
        for (uint32_t i = 0; i < icons; ++i) order.push_back(i);
    } else {
        const Bytes seq = *found.sequence;
        if (seq.size() % 4 != 0) return "damaged animated cursor sequence";
        if (seq.size() / 4 > kMaxCursorSteps) return "too many animated cursor steps";
        for (std::size_t at = 0; at < seq.size(); at += 4) {
            order.push_back(Le32(seq, at));
            if (order.back() >= icons) return "animated cursor sequence names a missing icon";
        }
    }
    return order.empty() ? "animated cursor has no steps" : nullptr;
}

// Draws every step on the first step's canvas, decoding each icon once.
CursorReadResult DrawSteps(const std::vector<Bytes>& icons, const std::vector<uint32_t>& order) {
    CursorReadResult first = DecodeCursor(icons[order[0]]);
    if (first.steps.empty()) return {{}, false, "step 1: " + first.error};
    const int32_t width = first.steps[0].width, height = first.steps[0].height;
    if (static_cast<int64_t>(order.size()) * width * height > kMaxPicturePixels)
        return Fail("animated cursor too large");

    CursorReadResult result{{}, true, {}};
    std::vector<std::optional<RgbaPicture>> drawn(icons.size());
    drawn[order[0]] = std::move(first.steps[0]);
    int64_t decodedPixels = int64_t{width} * height;
    for (std::size_t step = 0; step < order.size(); ++step) {
        auto& picture = drawn[order[step]];
        if (!picture) {
            auto icon = DecodeCursor(icons[order[step]]);
            if (icon.steps.empty()) {
                result.error = "step " + std::to_string(step + 1) + ": " + icon.error;
                break;
            }
            const RgbaPicture& own = icon.steps[0];
            decodedPixels += int64_t{own.width} * own.height;
            if (decodedPixels > kMaxDecodedPixels) {
                result.error = "animated cursor too large";
                break;
            }
            picture = FitToCanvas(own, width, height);
        }
        result.steps.push_back(*picture);
    }
    return result;
}

}  // namespace

CursorReadResult DecodeAnimatedCursor(std::span<const uint8_t> bytes) {
    if (bytes.size() < 12 || !HasId(bytes, 0, "RIFF") || !HasId(bytes, 8, "ACON"))
        return Fail("not an animated cursor");
    const std::size_t riffSize = Le32(bytes, 4);
    if (riffSize < 4 || riffSize > bytes.size() - kChunkHeaderSize)
        return Fail("animated cursor cut short");
    AnimationChunks found;
    if (const char* why = FindChunks(bytes.subspan(12, riffSize - 4), found)) return Fail(why);
    if (!found.header || found.header->size() < kAnimationHeaderSize)
        return Fail("animated cursor header missing or cut short");
    if ((Le32(*found.header, kFlagsAt) & kFramesAreIcons) == 0)
        return Fail("animated cursors of raw bitmap frames are not supported");
    if (!found.icons) return Fail("animated cursor has no icons");
    std::vector<uint32_t> order;
    if (const char* why = StepOrder(found, order)) return Fail(why);
    return DrawSteps(*found.icons, order);
}

CursorReadResult ReadAnimatedCursorFile(const std::string& path) {
    FileBytes file;
    if (!file.Open(path)) return Fail("cannot open the file");
    return DecodeAnimatedCursor(file.Bytes());
}

}  // namespace anitrope
