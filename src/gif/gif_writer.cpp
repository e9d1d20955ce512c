#include "gif/gif_writer.h"

#include <algorithm>
#include <utility>

#include "gif/byte_sink.h"
#include "gif/lzw_encoder.h"
#include "model/animation.h"
#include "model/gif.h"
#include "model/status_display.h"
#include "platform/atomic_file.h"

namespace anitrope {
namespace {

constexpr std::size_t kMaxSubBlock = 255;

void WriteColorTable(const Palette& palette, int bits, ByteSink& out) {
    for (int i = 0; i < (1 << bits); ++i) {
        const PaletteEntry& e = palette[i];
        // Unused slots are written white: the table must be complete.
        out.Byte(e.IsUnused() ? 255u : static_cast<uint32_t>(e.red & 0xFF));
        out.Byte(e.IsUnused() ? 255u : static_cast<uint32_t>(e.green & 0xFF));
        out.Byte(e.IsUnused() ? 255u : static_cast<uint32_t>(e.blue & 0xFF));
    }
}

int TableBits(const Gif& frame) { return std::clamp<int>(frame.bitsPerPixel, 1, 8); }

GifWriteStatus Finish(const ByteSink& out, const std::string& path) {
    return WriteFileAtomically(path, out.Data()) ? GifWriteStatus::Ok
                                                 : GifWriteStatus::CannotWrite;
}

}  // namespace

void WriteGifHeader(const Animation& animation, const Gif& frame, ByteSink& out, bool chain) {
    out.Text("GIF89a");
    out.Little16(static_cast<uint32_t>(animation.screenWidth));
    out.Little16(static_cast<uint32_t>(animation.screenHeight));
    // The table holds every index a frame on it may use, whichever frame comes first.
    int bits = std::max(TableBits(frame), std::clamp<int>(animation.globalTableBits, 0, 8));
    for (const Gif* g = chain ? frame.next : nullptr; g; g = g->next)
        if (!g->usesLocalPalette) bits = std::max(bits, TableBits(*g));
    out.Byte(static_cast<uint32_t>(bits - 1) | (animation.globalPalettePresent ? 0x80u : 0u));
    out.Byte(animation.backgroundIndex);
    out.Byte(0);  // no aspect ratio
    if (animation.globalPalettePresent) WriteColorTable(animation.globalPalette, bits, out);
}

void WriteLoopingExtension(const Animation& animation, ByteSink& out) {
    out.Byte(0x21);
    out.Byte(0xFF);
    out.Byte(0x0B);
    out.Text("NETSCAPE2.0");
    out.Byte(0x03);
    out.Byte(0x01);
    out.Little16(static_cast<uint32_t>(animation.loopCount) & 0xFFFF);
    out.Byte(0x00);
}

void WriteComment(const std::string& text, ByteSink& out) {
    // A long text goes out as several comment extensions of 255 bytes and a last shorter
    // one; read back, each becomes a comment of its own.
    std::size_t pos = 0;
    do {
        const std::size_t remaining = text.size() - pos;
        const std::size_t piece = remaining > kMaxSubBlock ? kMaxSubBlock : remaining;
        out.Byte(0x21);
        out.Byte(0xFE);
        // An empty text is the terminator alone; a zero-length block would end it early.
        if (piece > 0) {
            out.Byte(static_cast<uint32_t>(piece));
            out.Bytes(reinterpret_cast<const uint8_t*>(text.data()) + pos, piece);
        }
        out.Byte(0x00);
        pos += piece;
    } while (pos < text.size());
}

void WriteGraphicControl(const Animation& animation, const Gif& frame, ByteSink& out) {
    const uint32_t disposal = animation.useAnimationDisposal
                                  ? static_cast<uint32_t>(animation.animationDisposal)
                                  : frame.disposal;
    const int32_t delay = animation.useAnimationDelay ? animation.animationDelay : frame.delay;
    out.Byte(0x21);
    out.Byte(0xF9);
    out.Byte(0x04);
    out.Byte((frame.transparent ? 1u : 0u) | (disposal & 7) << 2);
    out.Little16(static_cast<uint32_t>(delay) & 0xFFFF);
    out.Byte(static_cast<uint32_t>(frame.transparentIndex) & 0xFF);
    out.Byte(0x00);
}

void WriteGifImage(const Gif& frame, LzwEncoder& encoder, ByteSink& out) {
    for (const std::string& text : frame.comments) WriteComment(text, out);
    const int bits = TableBits(frame);
    out.Byte(0x2C);
    out.Little16(static_cast<uint32_t>(frame.left) & 0xFFFF);
    out.Little16(static_cast<uint32_t>(frame.top) & 0xFFFF);
    out.Little16(frame.width & 0xFFFF);
    out.Little16(frame.height & 0xFFFF);
    out.Byte(static_cast<uint32_t>(bits - 1) | (frame.usesLocalPalette ? 0x80u : 0u));
    if (frame.usesLocalPalette) WriteColorTable(frame.palette, bits, out);
    // A two-colour table still codes with 2 bits: GIF has no smaller LZW code size.
    const int codeBits = std::max(2, bits);
    out.Byte(static_cast<uint32_t>(codeBits));
    // Pixels that do not match the frame's size are never read past: they write as zeros.
    const IndexedBitmap empty(nullptr, 0, 0);
    const bool fits = frame.indexed && frame.indexed->Width() == static_cast<int32_t>(frame.width) &&
                      frame.indexed->Height() == static_cast<int32_t>(frame.height);
    encoder.Encode(fits ? *frame.indexed : empty, static_cast<int>(frame.width),
                   static_cast<int>(frame.height), codeBits, out);
    out.Byte(0x00);
}

GifWriteStatus SaveAnimation(const Animation& animation, const Gif* first, const std::string& path,
                             StatusDisplay* status) {
    if (!first) return GifWriteStatus::CannotWrite;
    int frames = 0;
    for (const Gif* g = first; g; g = g->next, ++frames)
        if (!g->indexedReady) return GifWriteStatus::FramePending;
    if (status) status->ReportStatus(StatusWorkAnnounced, StatusSaving, frames);
    ByteSink out;
    LzwEncoder encoder;
    WriteGifHeader(animation, *first, out, true);
    // A file that was read without a looping extension plays once; writing one would make
    // it repeat forever.
    if (animation.hasLoopExtension) WriteLoopingExtension(animation, out);
    for (const Gif* frame = first; frame; frame = frame->next) {
        if (status) status->ReportStatus(StatusFrameSaved);
        WriteGraphicControl(animation, *frame, out);
        WriteGifImage(*frame, encoder, out);
    }
    // After the last image, where a reader takes them for the animation's own; written in
    // front of the first image they would come back as that frame's comments.
    for (const std::string& text : animation.globalComments) WriteComment(text, out);
    out.Byte(0x3B);
    return Finish(out, path);
}

GifWriteStatus SaveSingleGif(const Animation& animation, const Gif& frame, const std::string& path) {
    if (!frame.indexedReady) return GifWriteStatus::FramePending;
    ByteSink out;
    LzwEncoder encoder;
    WriteGifHeader(animation, frame, out);
    WriteGifImage(frame, encoder, out);
    out.Byte(0x3B);
    return Finish(out, path);
}

}  // namespace anitrope
