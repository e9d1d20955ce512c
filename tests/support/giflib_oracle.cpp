#include "support/giflib_oracle.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <sstream>

#include "model/animation.h"
#include "model/gif.h"
#include "model/palette_entry.h"

namespace anitrope::test {

namespace {

ColorTable TableOf(const ColorMapObject* map) {
    ColorTable table;
    if (!map) return table;
    for (int i = 0; i < map->ColorCount; ++i)
        table.push_back({map->Colors[i].Red, map->Colors[i].Green, map->Colors[i].Blue});
    return table;
}

std::string BytesText(const ExtensionBlock& block) {
    return {reinterpret_cast<const char*>(block.Bytes), static_cast<std::size_t>(block.ByteCount)};
}

// giflib keeps every sub-block as its own record; continuation records carry function code 0
// and belong to the extension before them.
void CollectComments(const ExtensionBlock* blocks, int count, std::vector<std::string>& out) {
    int owner = -1;
    for (int i = 0; i < count; ++i) {
        const ExtensionBlock& b = blocks[i];
        if (b.Function != CONTINUE_EXT_FUNC_CODE) {
            owner = b.Function;
            if (owner == COMMENT_EXT_FUNC_CODE) out.push_back(BytesText(b));
        } else if (owner == COMMENT_EXT_FUNC_CODE) {
            out.back() += BytesText(b);
        }
    }
}

std::optional<int> LoopCountIn(const ExtensionBlock* blocks, int count) {
    for (int i = 0; i + 1 < count; ++i) {
        const ExtensionBlock& id = blocks[i];
        const ExtensionBlock& data = blocks[i + 1];
        if (id.Function != APPLICATION_EXT_FUNC_CODE || id.ByteCount != 11) continue;
        if (std::memcmp(id.Bytes, "NETSCAPE2.0", 11) != 0 &&
            std::memcmp(id.Bytes, "ANIMEXTS1.0", 11) != 0)
            continue;
        if (data.Function == CONTINUE_EXT_FUNC_CODE && data.ByteCount == 3 && data.Bytes[0] == 1)
            return data.Bytes[1] | data.Bytes[2] << 8;
    }
    return std::nullopt;
}

template <typename T>
void Compare(std::vector<std::string>& out, const std::string& what, const T& expected,
             const T& actual) {
    if (expected == actual) return;
    std::ostringstream line;
    line << std::boolalpha << what << ": expected " << expected << ", actual " << actual;
    out.push_back(line.str());
}

std::string ColorText(const Rgb& c) {
    std::ostringstream s;
    s << "(" << int{c.red} << "," << int{c.green} << "," << int{c.blue} << ")";
    return s.str();
}

std::string EntryText(const PaletteEntry& e) {
    std::ostringstream s;
    s << "(" << e.red << "," << e.green << "," << e.blue << ")";
    return s.str();
}

void ComparePalette(std::vector<std::string>& out, const std::string& what,
                    const ColorTable& expected, const Palette& actual) {
    Compare(out, what + " used slots", static_cast<int>(expected.size()), UsedPaletteSlots(actual));
    for (std::size_t i = 0; i < expected.size() && i < actual.size(); ++i) {
        const Rgb& c = expected[i];
        if (actual[i] != PaletteEntry{c.red, c.green, c.blue}) {
            out.push_back(what + " slot " + std::to_string(i) + ": expected " + ColorText(c) +
                          ", actual " + EntryText(actual[i]));
        }
    }
}

void CompareComments(std::vector<std::string>& out, const std::string& what,
                     const std::vector<std::string>& expected, const CommentList& actual) {
    const std::vector<std::string> got(actual.begin(), actual.end());
    if (got == expected) return;
    auto join = [](const std::vector<std::string>& texts) {
        std::string s = "[";
        for (const std::string& t : texts) s += (s.size() > 1 ? ", \"" : "\"") + t + "\"";
        return s + "]";
    };
    out.push_back(what + ": expected " + join(expected) + ", actual " + join(got));
}

void ComparePixels(std::vector<std::string>& out, const std::string& what,
                   const OracleFrame& expected, const Gif& actual) {
    if (!actual.indexed || !actual.indexed->HasRows()) {
        out.push_back(what + ": expected pixel rows, actual none");
        return;
    }
    const IndexedBitmap& bitmap = *actual.indexed;
    if (bitmap.Width() != expected.width || bitmap.Height() != expected.height) {
        std::ostringstream s;
        s << what << " bitmap size: expected " << expected.width << "x" << expected.height
          << ", actual " << bitmap.Width() << "x" << bitmap.Height();
        out.push_back(s.str());
        return;
    }
    int wrong = 0;
    std::ostringstream first;
    for (int y = 0; y < expected.height; ++y) {
        for (int x = 0; x < expected.width; ++x) {
            const int want = expected.pixels[static_cast<std::size_t>(y * expected.width + x)];
            const int got = bitmap.Get(x, y);
            if (want != got && wrong++ == 0)
                first << " (first at " << x << "," << y << ": expected " << want << ", actual "
                      << got << ")";
        }
    }
    if (wrong) out.push_back(what + ": " + std::to_string(wrong) + " pixels differ" + first.str());
}

}  // namespace

OracleResult ReadWithGiflib(const std::string& path) {
    int error = 0;
    GifFileType* file = DGifOpenFileName(path.c_str(), &error);
    if (!file) return {std::nullopt, path + ": " + GifErrorString(error)};
    if (DGifSlurp(file) == GIF_ERROR) {
        std::string reason = path + ": " + GifErrorString(file->Error);
        DGifCloseFile(file, &error);
        return {std::nullopt, reason};
    }

    OracleGif gif;
    gif.screenWidth = file->SWidth;
    gif.screenHeight = file->SHeight;
    gif.background = file->SBackGroundColor;
    gif.globalColors = TableOf(file->SColorMap);
    for (int i = 0; i < file->ImageCount; ++i) {
        const SavedImage& image = file->SavedImages[i];
        const GifImageDesc& desc = image.ImageDesc;
        OracleFrame frame;
        frame.left = desc.Left;
        frame.top = desc.Top;
        frame.width = desc.Width;
        frame.height = desc.Height;
        frame.interlaced = desc.Interlace;
        frame.localColors = TableOf(desc.ColorMap);
        frame.pixels.assign(
            image.RasterBits,
            image.RasterBits + static_cast<std::ptrdiff_t>(desc.Width) * desc.Height);
        GraphicsControlBlock control;
        // Without a (well-formed) graphic control block giflib leaves its defaults: no delay,
        // no disposal, no transparency.
        DGifSavedExtensionToGCB(file, i, &control);
        frame.delay = control.DelayTime;
        frame.disposal = control.DisposalMode;
        if (control.TransparentColor != NO_TRANSPARENT_COLOR)
            frame.transparentIndex = control.TransparentColor;
        CollectComments(image.ExtensionBlocks, image.ExtensionBlockCount, frame.comments);
        if (!gif.loopCount)
            gif.loopCount = LoopCountIn(image.ExtensionBlocks, image.ExtensionBlockCount);
        gif.frames.push_back(std::move(frame));
    }
    CollectComments(file->ExtensionBlocks, file->ExtensionBlockCount, gif.trailingComments);
    if (!gif.loopCount)
        gif.loopCount = LoopCountIn(file->ExtensionBlocks, file->ExtensionBlockCount);
    DGifCloseFile(file, &error);
    return {std::move(gif), {}};
}

std::vector<std::string> OracleDifferences(const OracleGif& expected, const Animation& actual,
                                           bool screenFromFrames) {
    std::vector<std::string> out;
    int width = expected.screenWidth;
    int height = expected.screenHeight;
    if (screenFromFrames) {
        width = height = 0;
        for (const OracleFrame& f : expected.frames) {
            width = std::max(width, f.left + f.width);
            height = std::max(height, f.top + f.height);
        }
    }
    Compare(out, "screen width", width, static_cast<int>(actual.screenWidth));
    Compare(out, "screen height", height, static_cast<int>(actual.screenHeight));
    Compare(out, "background", expected.background, static_cast<int>(actual.backgroundIndex));
    Compare(out, "has loop extension", expected.loopCount.has_value(), actual.hasLoopExtension);
    if (expected.loopCount && actual.hasLoopExtension)
        Compare(out, "loop count", *expected.loopCount, static_cast<int>(actual.loopCount));
    Compare(out, "global palette present", !expected.globalColors.empty(),
            actual.globalPalettePresent != 0);
    if (!expected.globalColors.empty())
        ComparePalette(out, "global palette", expected.globalColors, actual.globalPalette);
    CompareComments(out, "global comments", expected.trailingComments, actual.globalComments);
    Compare(out, "frame count", expected.frames.size(), actual.FrameCount());

    std::size_t index = 0;
    for (const Gif* g = actual.head; g && index < expected.frames.size(); g = g->next, ++index) {
        const OracleFrame& f = expected.frames[index];
        const std::string name = "frame " + std::to_string(index);
        Compare(out, name + " left", f.left, static_cast<int>(g->left));
        Compare(out, name + " top", f.top, static_cast<int>(g->top));
        Compare(out, name + " width", f.width, static_cast<int>(g->width));
        Compare(out, name + " height", f.height, static_cast<int>(g->height));
        Compare(out, name + " delay", f.delay, static_cast<int>(g->delay));
        Compare(out, name + " disposal", f.disposal, static_cast<int>(g->disposal));
        Compare(out, name + " transparent", f.transparentIndex.has_value(), g->transparent != 0);
        if (f.transparentIndex && g->transparent)
            Compare(out, name + " transparent index", *f.transparentIndex,
                    static_cast<int>(g->transparentIndex));
        Compare(out, name + " interlaced", f.interlaced, g->interlaced != 0);
        Compare(out, name + " uses local palette", !f.localColors.empty(),
                g->usesLocalPalette != 0);
        ComparePalette(out, name + " palette in force",
                       f.localColors.empty() ? expected.globalColors : f.localColors,
                       EffectivePalette(*g));
        CompareComments(out, name + " comments", f.comments, g->comments);
        ComparePixels(out, name + " pixels", f, *g);
    }
    return out;
}

}  // namespace anitrope::test
