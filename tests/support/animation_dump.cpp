#include "support/animation_dump.h"

#include <cstdio>
#include <sstream>

#include "model/animation.h"
#include "model/gif.h"
#include "model/palette_entry.h"

namespace anitrope::test {

namespace {

std::string Quoted(const std::string& text) {
    std::string out = "\"";
    for (char ch : text) {
        const auto byte = static_cast<unsigned char>(ch);
        if (byte >= 0x20 && byte < 0x7F && ch != '"' && ch != '\\') {
            out += ch;
        } else {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            out += escaped;
        }
    }
    return out + "\"";
}

}  // namespace

std::string DumpAnimation(const Animation& animation) {
    std::ostringstream out;
    out << "screen " << animation.screenWidth << "x" << animation.screenHeight << "\n";
    out << "global palette ";
    if (animation.globalPalettePresent)
        out << UsedPaletteSlots(animation.globalPalette) << "\n";
    else
        out << "none\n";
    out << "background " << int{animation.backgroundIndex} << "\n";
    if (animation.hasLoopExtension)
        out << "loop " << animation.loopCount << "\n";
    else
        out << "loop none\n";
    for (const std::string& text : animation.globalComments)
        out << "global comment " << Quoted(text) << "\n";

    int index = 0;
    for (const Gif* g = animation.head; g; g = g->next, ++index) {
        out << "frame " << index << ": at " << g->left << "," << g->top << " size " << g->width
            << "x" << g->height << " delay " << g->delay << " disposal " << g->disposal
            << " transparent ";
        if (g->transparent)
            out << g->transparentIndex;
        else
            out << "none";
        if (g->usesLocalPalette)
            out << " palette local " << UsedPaletteSlots(g->palette);
        else
            out << " palette global";
        if (g->interlaced) out << " interlaced";
        out << "\n";
        for (const std::string& text : g->comments) out << "  comment " << Quoted(text) << "\n";
    }
    return out.str();
}

}  // namespace anitrope::test
