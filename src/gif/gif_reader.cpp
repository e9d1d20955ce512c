#include "gif/gif_reader.h"

#include <algorithm>
#include <memory>
#include <new>
#include <optional>

#include "gif/byte_reader.h"
#include "gif/lzw_decoder.h"
#include "gif/pixel_cursor.h"
#include "model/animation.h"
#include "model/gif.h"
#include "platform/file_bytes.h"

namespace anitrope {
namespace {

// GIF89a block introducers and extension labels (sections 20-26).
constexpr uint8_t kExtensionIntroducer = 0x21;
constexpr uint8_t kImageSeparator = 0x2C;
constexpr uint8_t kTrailer = 0x3B;
constexpr uint8_t kGraphicControlLabel = 0xF9;
constexpr uint8_t kCommentLabel = 0xFE;
constexpr uint8_t kApplicationLabel = 0xFF;

constexpr uint8_t kColorTableFlag = 0x80;
constexpr uint8_t kInterlaceFlag = 0x40;

// Calls visit(data, index) for every data sub-block up to the zero terminator. False when
// the file ends first.
template <class Visit>
bool ForEachSubBlock(ByteReader& in, Visit&& visit) {
    for (int index = 0;; ++index) {
        auto length = in.Byte();
        if (!length) return false;
        if (*length == 0) return true;
        auto data = in.Take(*length);
        if (!data) return false;
        visit(*data, index);
    }
}

bool ReadColorTable(ByteReader& in, int bits, Palette& palette) {
    const int count = 1 << bits;
    auto data = in.Take(static_cast<std::size_t>(count) * 3);
    if (!data) return false;
    for (int i = 0; i < count; ++i)
        palette[i] = {(*data)[3 * i], (*data)[3 * i + 1], (*data)[3 * i + 2]};
    ClearPaletteFrom(palette, count);
    return true;
}

// The file's animation-wide values, held back until the first image has been read: a file
// refused outright gives nothing.
struct DocumentUpdate {
    int32_t screenWidth = 0;
    int32_t screenHeight = 0;
    uint8_t background = 0;
    std::optional<Palette> globalPalette;
    std::optional<int32_t> loopCount;
};

class GifFileReader {
public:
    GifFileReader(Animation& animation, std::span<const uint8_t> bytes, const std::string& name,
                  const GifReadLimits& limits)
        : doc_(animation), in_(bytes), name_(name), limits_(limits) {}

    GifReadStatus Read(Gif& first);

private:
    GifReadStatus ReadHeader(Gif& first);
    GifReadStatus ReadFrame(Gif& frame);
    GifReadStatus ReadExtensions(Gif& frame);
    GifReadStatus ReadImage(Gif& frame);
    bool ReadExtension(uint8_t label, Gif& frame);
    GifReadStatus DecodePixels(Gif& frame, int minimumCodeSize);
    bool Allowed(int64_t width, int64_t height) const;
    void SetLoopCount(int32_t count);
    void Commit();
    Gif* NextFrame(Gif& frame);
    void DropFrame(Gif* frame, GifReadStatus why);

    Animation& doc_;
    ByteReader in_;
    const std::string& name_;
    const GifReadLimits& limits_;
    bool committed_ = false;
    DocumentUpdate update_;
    std::size_t bytesUsed_ = 0;
    int64_t framesRight_ = 0;
    int64_t framesBottom_ = 0;
};

bool GifFileReader::Allowed(int64_t width, int64_t height) const {
    return width >= 0 && height >= 0 && width <= limits_.maxDimension &&
           height <= limits_.maxDimension && width * height <= limits_.maxPixels;
}

GifReadStatus GifFileReader::ReadHeader(Gif& first) {
    auto signature = in_.Take(3);
    if (!signature || (*signature)[0] != 'G' || (*signature)[1] != 'I' || (*signature)[2] != 'F')
        return GifReadStatus::NotGif;
    if (!in_.Take(3)) return GifReadStatus::NoImage;  // the version is not judged
    auto width = in_.Little16(), height = in_.Little16();
    auto packed = in_.Byte(), background = in_.Byte(), aspect = in_.Byte();
    if (!width || !height || !packed || !background || !aspect) return GifReadStatus::NoImage;
    if (!Allowed(*width, *height)) return GifReadStatus::TooLarge;

    update_.screenWidth = *width;
    update_.screenHeight = *height;
    update_.background = *background;
    const int bits = (*packed & 7) + 1;
    first.bitsPerPixel = static_cast<uint8_t>(bits);
    if (*packed & kColorTableFlag) {
        Palette global = EmptyPalette();
        if (!ReadColorTable(in_, bits, global)) return GifReadStatus::NoImage;
        first.palette = global;
        update_.globalPalette = global;
    }
    return GifReadStatus::Ok;
}

void GifFileReader::SetLoopCount(int32_t count) {
    if (committed_) {
        doc_.loopCount = count;
        doc_.hasLoopExtension = true;
    } else {
        update_.loopCount = count;
    }
}

void GifFileReader::Commit() {
    committed_ = true;
    doc_.screenWidth = update_.screenWidth;
    doc_.screenHeight = update_.screenHeight;
    doc_.backgroundIndex = update_.background;
    if (update_.globalPalette) {
        doc_.globalPalette = *update_.globalPalette;
        doc_.globalPalettePresent = 1;
    }
    if (update_.loopCount) {
        doc_.loopCount = *update_.loopCount;
        doc_.hasLoopExtension = true;
    }
}

bool GifFileReader::ReadExtension(uint8_t label, Gif& frame) {
    switch (label) {
        case kGraphicControlLabel:  // GIF89a section 23
            return ForEachSubBlock(in_, [&](std::span<const uint8_t> d, int index) {
                if (index != 0 || d.size() < 4) return;
                frame.transparent = d[0] & 1;
                frame.disposal = (d[0] >> 2) & 7;
                frame.delay = d[1] | d[2] << 8;
                frame.transparentIndex = d[3];
            });
        case kCommentLabel: {  // section 24: the text runs over all sub-blocks
            std::string text;
            bool complete = ForEachSubBlock(in_, [&](std::span<const uint8_t> d, int) {
                text.append(d.begin(), d.end());
            });
            frame.comments.Append(std::move(text));
            return complete;
        }
        case kApplicationLabel:  // section 26: identifier block, then data blocks
            return ForEachSubBlock(in_, [&](std::span<const uint8_t> d, int index) {
                // The looping block: sub-block id 1 and a 16-bit count.
                if (index == 1 && d.size() == 3 && d[0] == 1) SetLoopCount(d[1] | d[2] << 8);
            });
        default:  // plain text and anything unknown
            return ForEachSubBlock(in_, [](std::span<const uint8_t>, int) {});
    }
}

GifReadStatus GifFileReader::ReadExtensions(Gif& frame) {
    while (in_.PeekByte() == kExtensionIntroducer) {
        in_.Byte();
        auto label = in_.Byte();
        if (!label || !ReadExtension(*label, frame)) return GifReadStatus::NoImage;
    }
    if (in_.PeekByte() != kImageSeparator) return GifReadStatus::NoImage;
    in_.Byte();
    return GifReadStatus::Ok;
}

GifReadStatus GifFileReader::ReadImage(Gif& frame) {
    auto left = in_.Little16(), top = in_.Little16();
    auto width = in_.Little16(), height = in_.Little16();
    auto packed = in_.Byte();
    if (!left || !top || !width || !height || !packed) return GifReadStatus::NoImage;
    if (!Allowed(*width, *height)) return GifReadStatus::TooLarge;
    // The screen becomes the frames' bounding box, so a frame far outside grows it.
    const int64_t right = std::max<int64_t>(framesRight_, int64_t{*left} + *width);
    const int64_t bottom = std::max<int64_t>(framesBottom_, int64_t{*top} + *height);
    if (!Allowed(right, bottom)) return GifReadStatus::TooLarge;
    framesRight_ = right;
    framesBottom_ = bottom;

    const int bits = (*packed & 7) + 1;
    frame.bitsPerPixel = static_cast<uint8_t>(bits);
    frame.interlaced = (*packed & kInterlaceFlag) ? 1 : 0;
    frame.usesLocalPalette = (*packed & kColorTableFlag) ? 1 : 0;
    if (frame.usesLocalPalette && !ReadColorTable(in_, bits, frame.palette))
        return GifReadStatus::NoImage;
    frame.left = *left;
    frame.top = *top;
    frame.width = *width;
    frame.height = *height;

    auto minimum = in_.Byte();
    int minimumCodeSize = minimum ? *minimum : bits;
    if (minimumCodeSize > 8) minimumCodeSize = bits;
    return DecodePixels(frame, minimumCodeSize);
}

GifReadStatus GifFileReader::DecodePixels(Gif& frame, int minimumCodeSize) {
    const auto w = static_cast<int32_t>(frame.width);
    const auto h = static_cast<int32_t>(frame.height);
    const std::size_t cost = sizeof(Gif) + sizeof(LzwDecoder) +
                             static_cast<std::size_t>(IndexedBitmap::StrideFor(w)) * h;
    if (bytesUsed_ + cost > limits_.maxTotalBytes) return GifReadStatus::TooLarge;
    bytesUsed_ += cost - sizeof(LzwDecoder);

    frame.indexed = std::make_shared<IndexedBitmap>(&frame, w, h);
    if (w > 0 && h > 0 && !frame.indexed->HasRows()) return GifReadStatus::NoMemory;
    std::unique_ptr<LzwDecoder> decoder(new (std::nothrow) LzwDecoder(minimumCodeSize));
    if (!decoder) return GifReadStatus::NoMemory;

    PixelCursor cursor(*frame.indexed, frame.interlaced != 0);
    bool corrupt = false, ended = false;
    // A file that ends inside the data keeps what was decoded; bytes after the end code
    // up to the terminator are not image data and are skipped.
    ForEachSubBlock(in_, [&](std::span<const uint8_t> d, int) {
        if (corrupt || ended) return;
        switch (decoder->Feed(d, cursor)) {
            case LzwDecoder::Result::Corrupt: corrupt = true; break;
            case LzwDecoder::Result::EndOfInformation: ended = true; break;
            case LzwDecoder::Result::MoreData: break;
        }
    });
    if (corrupt) return GifReadStatus::CorruptCodeStream;
    frame.bitsPerPixel = 8;
    return GifReadStatus::Ok;
}

GifReadStatus GifFileReader::ReadFrame(Gif& frame) {
    frame.name = name_;
    SetIndexedReady(frame, 1);  // indexed data from a file needs no reduction
    // GIF89a: a graphic control extension governs only the image after it. Without one
    // the frame has no delay, whatever the frame before had.
    frame.delay = 0;
    GifReadStatus status = ReadExtensions(frame);
    if (status != GifReadStatus::Ok) return status;
    return ReadImage(frame);
}

Gif* GifFileReader::NextFrame(Gif& frame) {
    Gif* next = CreateGif(doc_, &frame, frame.next);
    next->palette = frame.palette;
    next->width = frame.width;
    next->height = frame.height;
    next->bitsPerPixel = frame.bitsPerPixel;
    return next;
}

void GifFileReader::DropFrame(Gif* frame, GifReadStatus why) {
    // Extensions after the last image carry document-wide comments.
    if (why == GifReadStatus::NoImage && !frame->comments.Empty()) {
        doc_.globalComments.TakeAll(frame->comments);
        doc_.hasGlobalComments = 1;
    }
    // Never linked in: clear its links so destroying it leaves the neighbours alone.
    frame->prev = frame->next = nullptr;
    DiscardGif(frame);
}

GifReadStatus GifFileReader::Read(Gif& first) {
    GifReadStatus status = ReadHeader(first);
    if (status != GifReadStatus::Ok) return status;
    status = ReadFrame(first);
    if (status != GifReadStatus::Ok) return status;
    Commit();
    // One frame after another in a loop: files with a hundred thousand frames are real.
    for (Gif* frame = &first;;) {
        auto next = in_.PeekByte();
        if (!next || *next == kTrailer) return GifReadStatus::Ok;
        Gif* candidate = NextFrame(*frame);
        status = ReadFrame(*candidate);
        if (status != GifReadStatus::Ok) {
            DropFrame(candidate, status);
            return GifReadStatus::Ok;  // frames read so far survive a damaged tail
        }
        frame->next = candidate;
        frame = candidate;
    }
}

}  // namespace

GifReadResult ReadGifBytes(std::span<const uint8_t> bytes, const std::string& name,
                           const GifReadLimits& limits) {
    GifReadResult read;
    auto animation = std::make_unique<Animation>();
    // Nothing seen yet: a file without a looping extension plays once.
    animation->hasLoopExtension = false;
    Gif* first = CreateGif(*animation, nullptr, nullptr);
    read.status = GifFileReader(*animation, bytes, name, limits).Read(*first);
    if (read.status != GifReadStatus::Ok) {
        DiscardGif(first);
        return read;
    }
    animation->head = first;
    read.animation = std::move(animation);
    return read;
}

GifReadResult ReadGifFile(const std::string& path, const GifReadLimits& limits) {
    FileBytes file;
    if (!file.Open(path)) return GifReadResult{GifReadStatus::CannotOpen, nullptr};
    return ReadGifBytes(file.Bytes(), path, limits);
}

GifReadStatus LoadGifDocument(Animation& animation, const std::string& path,
                              const GifReadLimits& limits) {
    GifReadResult read = ReadGifFile(path, limits);
    if (read.status != GifReadStatus::Ok) return read.status;
    read.animation->FitScreenToFrames();
    TakeAnimation(animation, *read.animation);
    return GifReadStatus::Ok;
}

}  // namespace anitrope
