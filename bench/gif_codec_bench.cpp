// Decode and encode times of our GIF codec beside giflib's, on the same files in one run.
// Encoding is timed on identical indexed frames; a codec whose output does not decode back
// to the same pixels is not timed at all.
//   gif_codec_bench [--lines] FILE...
// With --lines the figures come as words for the table script (tools/bench-table.py):
// "giflib VERSION", then per file "decode NAME FRAMES OURS_MS GIFLIB_MS" and "encode NAME
// FRAMES OURS_MS GIFLIB_MS"; "skip NAME REASON" for a file we cannot read, "skip-encode NAME
// REASON" after its decode line when our encoder's output does not decode back.

#include <gif_lib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "gif/byte_sink.h"
#include "gif/gif_reader.h"
#include "gif/gif_writer.h"
#include "gif/lzw_encoder.h"
#include "model/animation.h"
#include "model/gif.h"

namespace {

using namespace anitrope;
constexpr int kRuns = 5;

double BestMs(const std::function<void()>& work) {
    double best = 1e300;
    for (int i = 0; i < kRuns; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        const auto end = std::chrono::steady_clock::now();
        best = std::min(best, std::chrono::duration<double, std::milli>(end - start).count());
    }
    return best;
}

void GiflibDecode(const std::string& path) {
    int error = 0;
    GifFileType* gif = DGifOpenFileName(path.c_str(), &error);
    if (gif) DGifSlurp(gif);
    DGifCloseFile(gif, &error);
}

std::vector<uint8_t> OurEncode(Animation& doc) {
    ByteSink out;
    LzwEncoder encoder;
    WriteGifHeader(doc, *doc.head, out);
    for (Gif* g = doc.head; g; g = g->next) {
        WriteGraphicControl(doc, *g, out);
        WriteGifImage(*g, encoder, out);
    }
    out.Byte(0x3B);
    return out.Data();
}

int CollectBytes(GifFileType* gif, const GifByteType* data, int size) {
    auto* out = static_cast<std::vector<uint8_t>*>(gif->UserData);
    out->insert(out->end(), data, data + size);
    return size;
}

// The same frames through giflib's encoder: screen, then each image line by line.
std::vector<uint8_t> GiflibEncode(Animation& doc) {
    std::vector<uint8_t> bytes;
    int error = 0;
    GifFileType* gif = EGifOpen(&bytes, CollectBytes, &error);
    ColorMapObject* map = GifMakeMapObject(256, nullptr);
    EGifPutScreenDesc(gif, doc.screenWidth, doc.screenHeight, 8, 0, nullptr);
    std::vector<GifPixelType> line;
    for (Gif* g = doc.head; g; g = g->next) {
        for (int i = 0; i < 256; ++i) {
            const PaletteEntry& e = EffectivePalette(*g)[i];
            map->Colors[i] = {GifByteType(e.red), GifByteType(e.green), GifByteType(e.blue)};
        }
        const int w = static_cast<int>(g->width), h = static_cast<int>(g->height);
        EGifPutImageDesc(gif, g->left, g->top, w, h, false, map);
        line.resize(static_cast<std::size_t>(w));
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) line[static_cast<std::size_t>(x)] = g->indexed->Get(x, y);
            EGifPutLine(gif, line.data(), w);
        }
    }
    EGifCloseFile(gif, &error);
    GifFreeMapObject(map);
    return bytes;
}

bool SamePixels(Animation& a, Animation& b) {
    Gif *f = a.head, *g = b.head;
    for (; f && g; f = f->next, g = g->next) {
        if (f->width != g->width || f->height != g->height) return false;
        for (uint32_t y = 0; y < f->height; ++y)
            if (std::memcmp(f->indexed->Row(int(y)), g->indexed->Row(int(y)), f->width) != 0)
                return false;
    }
    return !f && !g;
}

const char* BaseName(const std::string& path) {
    const char* slash = std::strrchr(path.c_str(), '/');
    return slash ? slash + 1 : path.c_str();
}

void Report(const std::string& path, bool lines) {
    const char* name = BaseName(path);
    Animation doc;
    if (LoadGifDocument(doc, path) != GifReadStatus::Ok) {
        std::printf(lines ? "skip %s unreadable\n" : "%-28s unreadable\n", name);
        return;
    }
    const double oursDecode = BestMs([&] { Animation a; LoadGifDocument(a, path); });
    const double giflibDecode = BestMs([&] { GiflibDecode(path); });
    if (lines)
        std::printf("decode %s %zu %.2f %.2f\n", name, doc.FrameCount(), oursDecode, giflibDecode);

    // Round trip first: nothing is timed for a stream that does not decode to the frames.
    std::vector<uint8_t> ours = OurEncode(doc);
    GifReadResult back = ReadGifBytes(ours, "bench");
    if (back.status != GifReadStatus::Ok || !SamePixels(doc, *back.animation)) {
        std::printf(lines ? "skip-encode %s our encoder does not round-trip: not timed\n"
                          : "%-28s our encoder does not round-trip: not timed\n",
                    name);
        return;
    }
    const double oursEncode = BestMs([&] { OurEncode(doc); });
    const double giflibEncode = BestMs([&] { GiflibEncode(doc); });
    if (lines) {
        std::printf("encode %s %zu %.2f %.2f\n", name, doc.FrameCount(), oursEncode, giflibEncode);
        return;
    }
    std::printf("%-28s %6zu %9.1f %9.1f %6.2f %9.1f %9.1f %6.2f %8zu %8zu\n", name,
                doc.FrameCount(), oursDecode, giflibDecode, oursDecode / giflibDecode,
                oursEncode, giflibEncode, oursEncode / giflibEncode, ours.size() / 1024,
                GiflibEncode(doc).size() / 1024);
}

}  // namespace

int main(int argc, char** argv) {
    const bool lines = argc > 1 && std::strcmp(argv[1], "--lines") == 0;
    if (lines) {
        std::printf("giflib %d.%d.%d\n", GIFLIB_MAJOR, GIFLIB_MINOR, GIFLIB_RELEASE);
    } else {
        std::printf("GIF codec, best of %d runs, milliseconds; ratio = ours / giflib %d.%d.%d\n",
                    kRuns, GIFLIB_MAJOR, GIFLIB_MINOR, GIFLIB_RELEASE);
        std::printf("%-28s %6s %9s %9s %6s %9s %9s %6s %8s %8s\n", "file", "frames", "decode",
                    "giflib", "ratio", "encode", "giflib", "ratio", "KiB", "giflibKiB");
    }
    for (int i = lines ? 2 : 1; i < argc; ++i) Report(argv[i], lines);
    return 0;
}
