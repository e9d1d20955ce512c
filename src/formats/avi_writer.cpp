#include "formats/avi_writer.h"

#include <algorithm>
#include <array>
#include <memory>
#include <new>
#include <optional>
#include <span>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "model/animation.h"
#include "model/drawing.h"
#include "model/frame_composition.h"
#include "model/gif.h"
#include "model/indexed_bitmap.h"
#include "model/picture_limits.h"
#include "model/reduction_workers.h"
#include "model/screen_image.h"
#include "platform/atomic_file.h"

namespace anitrope {
namespace {

// Microsoft's RIFF AVI layout (AVIMAINHEADER, AVISTREAMHEADER, BITMAPINFOHEADER, AVIPALCHANGE,
// AVIOLDINDEX), all little-endian.
constexpr uint32_t kFramesPerSecond = 15;
constexpr uint32_t kMicrosecondsPerFrame = 66667;  // 1 000 000 / 15, rounded
constexpr uint32_t kStreamQuality = 10000;
constexpr uint32_t kHasIndex = 0x10;      // AVIF_HASINDEX
constexpr uint32_t kKeyFrame = 0x10;      // AVIIF_KEYFRAME
constexpr uint32_t kTakesNoTime = 0x100;  // AVIIF_NO_TIME: a palette change is no frame
constexpr uint64_t kBitmapHeaderBytes = 40;
constexpr uint64_t kPaletteBytes = 4 * kPaletteSlots;
constexpr uint64_t kPaletteChangeBytes = 4 + kPaletteBytes;
constexpr uint64_t kIndexEntryBytes = 16;
// RIFF, hdrl list with avih and a strl list of strh and strf, the movi list's header and the
// idx1 header: everything but the frames, the palette changes and the index entries.
constexpr uint64_t kFixedBytes =
    12 + 12 + (8 + 56) + 12 + (8 + 56) + (8 + kBitmapHeaderBytes + kPaletteBytes) + 12 + 8;

using Colours = std::array<uint32_t, kPaletteSlots>;  // 0x00RRGGBB

// One frame as it goes into the file: screen-sized rows and the colours of its indices.
struct AviFrame {
    std::shared_ptr<const IndexedBitmap> pixels;
    Colours colours{};
};

// A frame whose own pixels are what the editor shows: nothing of the screen around or beneath
// it can show through.
bool WrittenAsItIs(const Animation& animation, const Gif& gif) {
    return IsIndexedReady(gif) && gif.indexed && gif.indexed->HasRows() && gif.left == 0 &&
           gif.top == 0 && gif.indexed->Width() == animation.screenWidth &&
           gif.indexed->Height() == animation.screenHeight && CoversScreenOpaquely(animation, gif);
}

// Screen pixels as shown: the mark of "nothing beneath" is the grey a view shows for it.
uint32_t ShownRgb(uint32_t pixel) { return pixel & 0xFFFFFF; }

// Indices of `picture` in `colours` when every pixel's colour is one of them.
std::shared_ptr<IndexedBitmap> ExactIndices(const ScreenImage& picture, const Colours& colours) {
    std::unordered_map<uint32_t, uint8_t> slots;
    for (int i = kPaletteSlots - 1; i >= 0; --i) slots[colours[i]] = static_cast<uint8_t>(i);
    auto indices = std::make_shared<IndexedBitmap>(nullptr, picture.Width(), picture.Height());
    if (!indices->HasRows()) throw std::bad_alloc();
    for (int32_t y = 0; y < picture.Height(); ++y) {
        const uint32_t* in = picture.Row(y);
        uint8_t* out = indices->Row(y);
        for (int32_t x = 0; x < picture.Width(); ++x) {
            if (x > 0 && in[x] == in[x - 1]) {  // runs are common: no search for them
                out[x] = out[x - 1];
                continue;
            }
            const auto found = slots.find(ShownRgb(in[x]));
            if (found == slots.end()) return nullptr;
            out[x] = found->second;
        }
    }
    return indices;
}

// The picture's own colours, in order of first appearance, when there are at most 256.
std::optional<Colours> FewColours(const ScreenImage& picture) {
    Colours colours{};
    std::unordered_set<uint32_t> seen;
    for (int32_t y = 0; y < picture.Height(); ++y) {
        const uint32_t* in = picture.Row(y);
        for (int32_t x = 0; x < picture.Width(); ++x) {
            const uint32_t rgb = ShownRgb(in[x]);
            if (seen.contains(rgb)) continue;
            if (seen.size() == kPaletteSlots) return std::nullopt;
            colours[seen.size()] = rgb;
            seen.insert(rgb);
        }
    }
    return colours;
}

int Distance(uint32_t a, uint32_t b) {
    const int dr = int(a >> 16 & 0xFF) - int(b >> 16 & 0xFF);
    const int dg = int(a >> 8 & 0xFF) - int(b >> 8 & 0xFF);
    const int db = int(a & 0xFF) - int(b & 0xFF);
    return dr * dr + dg * dg + db * db;
}

// Every pixel as the nearest of `colours`. Pictures repeat their colours, so answers are kept
// in a small table rather than searched for again.
std::shared_ptr<IndexedBitmap> NearestIndices(const ScreenImage& picture, const Colours& colours) {
    auto indices = std::make_shared<IndexedBitmap>(nullptr, picture.Width(), picture.Height());
    if (!indices->HasRows()) throw std::bad_alloc();
    constexpr uint32_t kNone = 0xFFFFFFFF;
    std::vector<std::pair<uint32_t, uint8_t>> known(4096, {kNone, 0});
    for (int32_t y = 0; y < picture.Height(); ++y) {
        const uint32_t* in = picture.Row(y);
        uint8_t* out = indices->Row(y);
        for (int32_t x = 0; x < picture.Width(); ++x) {
            const uint32_t rgb = ShownRgb(in[x]);
            auto& slot = known[(rgb ^ rgb >> 12) & 4095];
            if (slot.first != rgb) {
                int best = 0, nearest = Distance(rgb, colours[0]);
                for (int i = 1; i < kPaletteSlots && nearest > 0; ++i) {
                    const int distance = Distance(rgb, colours[i]);
                    if (distance < nearest) best = i, nearest = distance;
                }
                slot = {rgb, static_cast<uint8_t>(best)};
            }
            out[x] = slot.second;
        }
    }
    return indices;
}

// The reducer's 256 colours for the picture, or nothing when it gave none of the right size.
std::optional<AviFrame> ReducedFrame(const Gif& gif, const ScreenImage& picture,
                                     FrameReducer& reducer) {
    auto trueColor = std::make_shared<TrueColorBitmap>(picture.Width(), picture.Height());
    if (!trueColor->HasRows()) throw std::bad_alloc();
    for (int32_t y = 0; y < picture.Height(); ++y) {
        const uint32_t* in = picture.Row(y);
        uint32_t* out = trueColor->Row(y);
        for (int32_t x = 0; x < picture.Width(); ++x) out[x] = ShownRgb(in[x]);
    }
    // A stand-in that nobody else sees, so that the frame itself stays as it is.
    Gif reduced(gif.animation);
    reduced.width = static_cast<uint32_t>(picture.Width());
    reduced.height = static_cast<uint32_t>(picture.Height());
    reduced.keepColors = gif.keepColors;
    reduced.trueColor = std::move(trueColor);
    reduced.indexedReady = 0;
    Gif* frames[] = {&reduced};
    reducer.ReduceNow(frames);
    if (!IsIndexedReady(reduced) || !reduced.indexed || !reduced.indexed->HasRows() ||
        reduced.indexed->Width() != picture.Width() ||
        reduced.indexed->Height() != picture.Height())
        return std::nullopt;
    AviFrame frame{reduced.indexed, {}};
    for (int i = 0; i < kPaletteSlots; ++i) frame.colours[i] = PaletteRgb(reduced.palette[i]);
    return frame;
}

// The composed picture in 256 colours: the frame's own where they suffice, else the picture's
// own few, else the reducer's choice. Without a reducer the frame's colours stand in for the
// rest by nearness: a rare case (composing indexed frames seldom gives more than 256 colours)
// that should still give a picture rather than no file.
AviFrame ComposedFrame(const Gif& gif, const ScreenImage& picture, FrameReducer* reducer) {
    const Colours own = FrameColorTable(gif);
    if (auto indices = ExactIndices(picture, own)) return {std::move(indices), own};
    if (const std::optional<Colours> few = FewColours(picture))
        return {ExactIndices(picture, *few), *few};
    if (reducer)
        if (std::optional<AviFrame> reduced = ReducedFrame(gif, picture, *reducer)) return *reduced;
    return {NearestIndices(picture, own), own};
}

struct Frames {
    std::vector<const Gif*> gifs;
    bool anyComposed = false;
};

Frames FramesFrom(const Animation& animation, const Gif* first) {
    Frames frames;
    for (const Gif* gif = first; gif; gif = gif->next) {
        frames.gifs.push_back(gif);
        if (!WrittenAsItIs(animation, *gif)) frames.anyComposed = true;
    }
    return frames;
}

// The frames as they go into the file. Pictures are composed as the editor composes them, from
// the start of the chain (what lies before `first` shows through too), on one canvas.
std::vector<AviFrame> PrepareFrames(const Animation& animation, const Frames& frames,
                                    FrameReducer* reducer) {
    std::vector<AviFrame> prepared;
    prepared.reserve(frames.gifs.size());
    if (!frames.anyComposed) {
        for (const Gif* gif : frames.gifs)
            prepared.push_back({gif->indexed, FrameColorTable(*gif)});
        return prepared;
    }
    const Gif* start = frames.gifs.front();
    while (start->prev && start->prev->next == start) start = start->prev;
    ScreenImage canvas = InitialCanvas(animation, *start);
    for (const Gif* gif = start; gif && prepared.size() < frames.gifs.size(); gif = gif->next) {
        if (gif == frames.gifs[prepared.size()]) {
            if (WrittenAsItIs(animation, *gif)) {
                prepared.push_back({gif->indexed, FrameColorTable(*gif)});
            } else {
                ScreenImage shown = canvas;
                DrawFrame(*gif, shown);
                prepared.push_back(ComposedFrame(*gif, shown, reducer));
            }
        }
        AdvancePastFrame(animation, *gif, canvas);
    }
    return prepared;
}

class Bytes {
  public:
    explicit Bytes(std::vector<uint8_t>& out) : out_(out) {}
    std::size_t Size() const { return out_.size(); }
    void U8(uint8_t v) { out_.push_back(v); }
    void U16(uint32_t v) {
        U8(static_cast<uint8_t>(v));
        U8(static_cast<uint8_t>(v >> 8));
    }
    void U32(uint32_t v) {
        U16(v & 0xFFFF);
        U16(v >> 16);
    }
    void FourCc(const char (&code)[5]) { out_.insert(out_.end(), code, code + 4); }
    // A chunk header whose size End fills in.
    std::size_t Begin(const char (&code)[5]) {
        FourCc(code);
        U32(0);
        return out_.size();
    }
    std::size_t BeginList(const char (&type)[5]) {
        const std::size_t start = Begin("LIST");
        FourCc(type);
        return start;
    }
    void End(std::size_t start) {
        const auto size = static_cast<uint32_t>(out_.size() - start);
        for (int i = 0; i < 4; ++i) out_[start - 4 + i] = static_cast<uint8_t>(size >> 8 * i);
    }

  private:
    std::vector<uint8_t>& out_;
};

void PutBitmapInfo(Bytes& b, const Animation& animation, uint32_t sampleBytes,
                   const Colours& colours) {
    b.U32(static_cast<uint32_t>(kBitmapHeaderBytes));
    b.U32(static_cast<uint32_t>(animation.screenWidth));
    b.U32(static_cast<uint32_t>(-animation.screenHeight));  // top row first
    b.U16(1);                                               // planes
    b.U16(8);                                               // bits per pixel
    b.U32(0);                                               // BI_RGB: no compression
    // Readers that size their buffer from the header need it, whatever BI_RGB allows.
    b.U32(sampleBytes);
    for (int i = 0; i < 4; ++i) b.U32(0);           // resolution and colour counts: 0 means all 256
    for (const uint32_t rgb : colours) b.U32(rgb);  // blue, green, red, 0 in file order
}

void PutPaletteChange(Bytes& b, const Colours& colours) {
    b.U8(0);   // first entry
    b.U8(0);   // number of entries: 0 means 256
    b.U16(0);  // flags
    for (const uint32_t rgb : colours) {
        b.U8(static_cast<uint8_t>(rgb >> 16));
        b.U8(static_cast<uint8_t>(rgb >> 8));
        b.U8(static_cast<uint8_t>(rgb));
        b.U8(0);
    }
}

struct IndexEntry {
    const char* code;
    uint32_t flags;
    uint32_t offset;  // from the movi list's type code
    uint32_t size;
};

void Serialize(const Animation& animation, std::span<const AviFrame> frames, uint32_t rowBytes,
               uint32_t sampleBytes, std::vector<uint8_t>& out) {
    const auto count = static_cast<uint32_t>(frames.size());
    const auto width = static_cast<uint32_t>(animation.screenWidth);
    const auto height = static_cast<uint32_t>(animation.screenHeight);
    const uint32_t largestChunk = std::max<uint32_t>(sampleBytes, kPaletteChangeBytes);
    Bytes b(out);
    const std::size_t riff = b.Begin("RIFF");
    b.FourCc("AVI ");

    const std::size_t hdrl = b.BeginList("hdrl");
    const std::size_t avih = b.Begin("avih");
    b.U32(kMicrosecondsPerFrame);
    b.U32(static_cast<uint32_t>(
        std::min<uint64_t>(uint64_t{sampleBytes} * kFramesPerSecond, UINT32_MAX)));
    b.U32(0);  // padding granularity
    b.U32(kHasIndex);
    b.U32(count);
    b.U32(0);  // initial frames
    b.U32(1);  // streams
    b.U32(largestChunk);
    b.U32(width);
    b.U32(height);
    for (int i = 0; i < 4; ++i) b.U32(0);
    b.End(avih);
    const std::size_t strl = b.BeginList("strl");
    const std::size_t strh = b.Begin("strh");
    b.FourCc("vids");
    b.FourCc("iv32");
    b.U32(0);  // flags
    b.U16(0);  // priority
    b.U16(0);  // language
    b.U32(0);  // initial frames
    b.U32(1);  // scale
    b.U32(kFramesPerSecond);
    b.U32(0);  // start
    b.U32(count);
    b.U32(largestChunk);
    b.U32(kStreamQuality);
    b.U32(0);  // sample size: samples vary
    b.U16(0);  // frame rectangle: left, top, right, bottom
    b.U16(0);
    b.U16(width);
    b.U16(height);
    b.End(strh);
    const std::size_t strf = b.Begin("strf");
    PutBitmapInfo(b, animation, sampleBytes, frames.front().colours);
    b.End(strf);
    b.End(strl);
    b.End(hdrl);

    std::vector<IndexEntry> index;
    // Index offsets count from the movi list's type code, which is where BeginList points.
    const std::size_t movi = b.BeginList("movi");
    for (std::size_t i = 0; i < frames.size(); ++i) {
        if (i > 0 && frames[i].colours != frames[i - 1].colours) {
            index.push_back({"00pc", kTakesNoTime, static_cast<uint32_t>(b.Size() - movi),
                             static_cast<uint32_t>(kPaletteChangeBytes)});
            const std::size_t pc = b.Begin("00pc");
            PutPaletteChange(b, frames[i].colours);
            b.End(pc);
        }
        index.push_back({"00db", kKeyFrame, static_cast<uint32_t>(b.Size() - movi), sampleBytes});
        const std::size_t db = b.Begin("00db");
        const IndexedBitmap& pixels = *frames[i].pixels;
        for (int32_t y = 0; y < pixels.Height(); ++y) {
            const uint8_t* row = pixels.Row(y);
            out.insert(out.end(), row, row + pixels.Width());
            out.resize(out.size() + (rowBytes - static_cast<uint32_t>(pixels.Width())));
        }
        b.End(db);
    }
    b.End(movi);

    const std::size_t idx1 = b.Begin("idx1");
    for (const IndexEntry& entry : index) {
        out.insert(out.end(), entry.code, entry.code + 4);
        b.U32(entry.flags);
        b.U32(entry.offset);
        b.U32(entry.size);
    }
    b.End(idx1);
    b.End(riff);
}

}  // namespace

AviWriteStatus EncodeAvi(const Animation& animation, const Gif* first, std::vector<uint8_t>& out,
                         FrameReducer* reducer) {
    out.clear();
    if (!first) return AviWriteStatus::NoFrames;
    if (animation.screenWidth <= 0 || animation.screenHeight <= 0)
        return AviWriteStatus::EmptyScreen;
    if (!PictureSizeAllowed(animation.screenWidth, animation.screenHeight))
        return AviWriteStatus::TooLarge;
    const auto rowBytes = static_cast<uint32_t>(IndexedBitmap::StrideFor(animation.screenWidth));
    const uint64_t sampleBytes = uint64_t{rowBytes} * static_cast<uint32_t>(animation.screenHeight);
    try {
        const Frames frames = FramesFrom(animation, first);
        // Checked before anything is composed; palette changes can only add to it.
        const uint64_t perFrame = 8 + sampleBytes + kIndexEntryBytes;
        if (frames.gifs.size() > (kMaxAviBytes - kFixedBytes) / perFrame)
            return AviWriteStatus::TooLarge;
        const std::vector<AviFrame> prepared = PrepareFrames(animation, frames, reducer);
        uint64_t changes = 0;
        for (std::size_t i = 1; i < prepared.size(); ++i)
            if (prepared[i].colours != prepared[i - 1].colours) ++changes;
        const uint64_t total = kFixedBytes + prepared.size() * perFrame +
                               changes * (8 + kPaletteChangeBytes + kIndexEntryBytes);
        if (total > kMaxAviBytes) return AviWriteStatus::TooLarge;
        out.reserve(total);
        Serialize(animation, prepared, rowBytes, static_cast<uint32_t>(sampleBytes), out);
    } catch (const std::bad_alloc&) {
        out = {};
        return AviWriteStatus::NoMemory;
    }
    return AviWriteStatus::Ok;
}

AviWriteStatus WriteAviFile(const Animation& animation, const Gif* first, const std::string& path,
                            FrameReducer* reducer) {
    std::vector<uint8_t> bytes;
    const AviWriteStatus status = EncodeAvi(animation, first, bytes, reducer);
    if (status != AviWriteStatus::Ok) return status;
    return WriteFileAtomically(path, bytes) ? AviWriteStatus::Ok : AviWriteStatus::WriteFailed;
}

}  // namespace anitrope
