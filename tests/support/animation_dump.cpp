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

namespace {

// FNV-1a over what a bitmap or palette holds; 0 for none.
template <typename Grid>
uint64_t HashRows(const Grid* grid) {
    if (!grid || !grid->HasRows()) return 0;
    uint64_t hash = 1469598103934665603ull;
    for (int32_t y = 0; y < grid->Height(); ++y)
        for (int32_t x = 0; x < grid->Width(); ++x) {
            hash ^= static_cast<uint64_t>(grid->Get(x, y));
            hash *= 1099511628211ull;
        }
    return hash ^ (static_cast<uint64_t>(grid->Width()) << 32 | static_cast<uint32_t>(grid->Height()));
}

uint64_t HashPalette(const Palette& palette) {
    uint64_t hash = 1469598103934665603ull;
    for (const PaletteEntry& e : palette)
        for (int32_t c : {e.red, e.green, e.blue}) {
            hash ^= static_cast<uint64_t>(static_cast<uint32_t>(c));
            hash *= 1099511628211ull;
        }
    return hash;
}

std::string Groups(const Gif& gif) {
    std::string text;
    for (const FrameGroup* group = gif.group.get(); group; group = group->parent.get())
        text = GroupLabel(*group) + (text.empty() ? "" : " > ") + text;
    return text.empty() ? "top" : text;
}

}  // namespace

std::string DumpDocument(const Animation& animation) {
    std::ostringstream out;
    out << DumpAnimation(animation);
    out << "global delay " << animation.animationDelay << " use " << animation.useAnimationDelay
        << " disposal " << animation.animationDisposal << " use " << animation.useAnimationDisposal
        << " palette " << HashPalette(animation.globalPalette) << " groups "
        << animation.effectGroups << "/" << animation.transitionGroups << "/"
        << animation.bannerGroups << "\n";
    for (std::size_t i = 0; i < animation.globalComments.Size(); ++i)
        out << "global comment number " << animation.globalComments.Number(i) << "\n";
    int index = 0;
    for (const Gif* g = animation.head; g; g = g->next, ++index) {
        out << "frame " << index << " " << Quoted(g->name) << " label " << Quoted(g->label) << " in "
            << Groups(*g) << " ready " << g->indexedReady << " holes " << g->hasTransparentPixels
            << " palette " << HashPalette(g->palette) << " pixels " << HashRows(g->indexed.get())
            << " true " << HashRows(g->trueColor.get()) << "\n";
        for (std::size_t i = 0; i < g->comments.Size(); ++i)
            out << "  comment number " << g->comments.Number(i) << "\n";
    }
    return out.str();
}

}  // namespace anitrope::test
