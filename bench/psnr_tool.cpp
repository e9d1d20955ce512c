// How close one picture set comes to another, as PSNR over red, green and blue, for the
// benchmark table. Frames are composed by our own reader and compositor, so every GIF is
// judged by how it looks on screen rather than by how its bytes are laid out.
//   psnr_tool frames REF.gif CAND.gif   every composed frame of CAND against REF's
//   psnr_tool still REF.png CAND        CAND (a GIF: its first composed frame; else a PNG)
//                                       against the picture in REF.png
// Prints one line: "psnr DB" (DB is "inf" for identical pixels) and, for frames, "delays
// differ" when the frames match one to one but their delays do not. When the frame counts
// differ but the animations last equally long, each REF frame meets the CAND frame on screen
// when it starts: "psnr-by-time DB". Otherwise the line says why there is no number
// ("frame count differs 50 vs 49", "size differs 800x600 vs 640x480", a read error) and
// the exit status is 1. A wrong command line exits with 2.
//
// Pixels with nothing beneath them (kNothingBeneathPixel) count as the grey a viewer shows
// there; the alpha of PNG pixels is ignored, as the stills are opaque.

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "formats/png_reader.h"
#include "gif/gif_read_status.h"
#include "gif/gif_reader.h"
#include "model/animation.h"
#include "model/compositor.h"
#include "model/gif.h"
#include "model/screen_image.h"

namespace {

using namespace anitrope;

// Squared differences summed over every compared sample.
struct ErrorSum {
    uint64_t squares = 0;
    uint64_t samples = 0;

    void AddSample(int a, int b) {
        const int64_t d = a - b;
        squares += static_cast<uint64_t>(d * d);
        ++samples;
    }
    void AddRgb(uint32_t a, uint32_t b) {
        AddSample(int(a >> 16 & 0xFF), int(b >> 16 & 0xFF));
        AddSample(int(a >> 8 & 0xFF), int(b >> 8 & 0xFF));
        AddSample(int(a & 0xFF), int(b & 0xFF));
    }
    std::string Decibels() const {
        if (squares == 0) return "inf";
        const double mse = double(squares) / double(samples);
        char text[32];
        std::snprintf(text, sizeof text, "%.2f", 10.0 * std::log10(255.0 * 255.0 / mse));
        return text;
    }
};

// The top byte marks "nothing beneath"; without it the pixel is the grey shown there.
uint32_t ShownRgb(uint32_t pixel) { return pixel & 0xFFFFFF; }

std::string SizeText(int32_t w, int32_t h) { return std::to_string(w) + "x" + std::to_string(h); }

// Prints the reason and gives the exit status for "no number".
int NoNumber(const std::string& why) {
    std::printf("%s\n", why.c_str());
    return 1;
}

bool Load(Animation& doc, const std::string& path, std::string& why) {
    const GifReadStatus status = LoadGifDocument(doc, path);
    if (status == GifReadStatus::Ok) return true;
    why = path + ": " + GifReadStatusText(status);
    return false;
}

int64_t Duration(const Animation& doc) {
    int64_t total = 0;
    for (Gif* g = doc.head; g; g = g->next) total += g->delay;
    return total;
}

// Adds the difference of two composed frames; false when either could not be composed.
bool AddFrames(const std::shared_ptr<const ScreenImage>& a,
               const std::shared_ptr<const ScreenImage>& b, ErrorSum& sum) {
    if (!a || !b) return false;
    for (int32_t y = 0; y < a->Height(); ++y) {
        const uint32_t* ra = a->Row(y);
        const uint32_t* rb = b->Row(y);
        for (int32_t x = 0; x < a->Width(); ++x) sum.AddRgb(ShownRgb(ra[x]), ShownRgb(rb[x]));
    }
    return true;
}

int CompareFrames(const std::string& refPath, const std::string& candPath) {
    Animation ref, cand;
    std::string why;
    if (!Load(ref, refPath, why) || !Load(cand, candPath, why)) return NoNumber(why);
    if (ref.screenWidth != cand.screenWidth || ref.screenHeight != cand.screenHeight)
        return NoNumber("size differs " + SizeText(ref.screenWidth, ref.screenHeight) + " vs " +
                        SizeText(cand.screenWidth, cand.screenHeight));
    const std::size_t refCount = ref.FrameCount(), candCount = cand.FrameCount();
    const bool oneToOne = refCount == candCount;
    if (!oneToOne && Duration(ref) != Duration(cand))
        return NoNumber("frame count differs " + std::to_string(refCount) + " vs " +
                        std::to_string(candCount));

    ErrorSum sum;
    bool delaysDiffer = false;
    // Frame after frame, so that each picture is built from the one just made. A compositor
    // drops its pictures before its document goes (declared after it).
    Compositor refFrames(ref, nullptr), candFrames(cand, nullptr);
    Gif* c = cand.head;
    int64_t refStart = 0, candNextStart = c->delay;
    std::size_t index = 0;
    for (Gif* r = ref.head; r; r = r->next, ++index) {
        if (oneToOne) {
            if (index > 0) c = c->next;
            delaysDiffer = delaysDiffer || r->delay != c->delay;
        } else {
            // The candidate frame on screen at refStart: the last one started by then.
            while (c->next && candNextStart <= refStart) {
                c = c->next;
                candNextStart += c->delay;
            }
        }
        if (!AddFrames(refFrames.GetDisplayBitmap(*r), candFrames.GetDisplayBitmap(*c), sum))
            return NoNumber("frame " + std::to_string(index) + " cannot be composed");
        refStart += r->delay;
    }
    if (!oneToOne)
        std::printf("psnr-by-time %s\n", sum.Decibels().c_str());
    else
        std::printf("psnr %s%s\n", sum.Decibels().c_str(), delaysDiffer ? " delays differ" : "");
    return 0;
}

bool IsGifFile(const std::string& path) {
    char magic[3] = {};
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    const bool gif = std::fread(magic, 1, 3, f) == 3 && std::memcmp(magic, "GIF", 3) == 0;
    std::fclose(f);
    return gif;
}

// The candidate still as a screen-sized picture of 0x00RRGGBB pixels.
bool LoadStill(const std::string& path, ScreenImage& out, std::string& why) {
    if (IsGifFile(path)) {
        Animation doc;
        if (!Load(doc, path, why)) return false;
        Compositor frames(doc, nullptr);
        if (auto picture = frames.GetDisplayBitmap(*doc.head)) {
            out = *picture;
            return true;
        }
        why = path + ": the first frame cannot be composed";
        return false;
    }
    PictureReadResult read = ReadPngFile(path);
    if (!read.picture) {
        why = path + ": " + read.error;
        return false;
    }
    const RgbaPicture& p = *read.picture;
    out = ScreenImage(p.width, p.height);
    for (int32_t y = 0; y < p.height; ++y)
        for (int32_t x = 0; x < p.width; ++x) {
            const std::size_t at = (std::size_t(y) * std::size_t(p.width) + std::size_t(x)) * 4;
            const uint8_t* s = &p.pixels[at];
            out.Set(x, y, uint32_t{s[0]} << 16 | uint32_t{s[1]} << 8 | s[2]);
        }
    return true;
}

int CompareStill(const std::string& refPath, const std::string& candPath) {
    ScreenImage ref, cand;
    std::string why;
    if (!LoadStill(refPath, ref, why) || !LoadStill(candPath, cand, why)) return NoNumber(why);
    if (ref.Width() != cand.Width() || ref.Height() != cand.Height())
        return NoNumber("size differs " + SizeText(ref.Width(), ref.Height()) + " vs " +
                        SizeText(cand.Width(), cand.Height()));
    ErrorSum sum;
    for (int32_t y = 0; y < ref.Height(); ++y)
        for (int32_t x = 0; x < ref.Width(); ++x)
            sum.AddRgb(ShownRgb(ref.Get(x, y)), ShownRgb(cand.Get(x, y)));
    std::printf("psnr %s\n", sum.Decibels().c_str());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "frames") == 0) return CompareFrames(argv[2], argv[3]);
    if (argc == 4 && std::strcmp(argv[1], "still") == 0) return CompareStill(argv[2], argv[3]);
    std::fprintf(stderr, "usage: psnr_tool frames REF.gif CAND.gif\n"
                         "       psnr_tool still REF.png CAND.gif|CAND.png\n");
    return 2;
}
