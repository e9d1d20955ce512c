#include "cli/info_text.h"

#include <ostream>

#include "cli/json_string.h"
#include "cli/palette_summary.h"
#include "model/animation.h"
#include "model/gif.h"

namespace anitrope {
namespace {

void WriteLoopCount(const Animation& animation, std::ostream& out) {
    out << "Loop count: ";
    if (!animation.hasLoopExtension) {
        out << "none, plays once (no looping extension)\n";
    } else if (animation.loopCount == 0) {
        out << "Infinite Looping\n";
    } else {
        out << animation.loopCount << '\n';
    }
}

void WritePalette(PaletteSummary palette, std::ostream& out) {
    if (palette.present) {
        out << palette.colors << " colors";
    } else {
        out << "none";
    }
}

// Comments may hold line breaks and arbitrary bytes; quoting them as JSON strings keeps
// each on one line and shows exactly what the file carries.
void WriteComments(const CommentList& comments, std::string_view indent, std::ostream& out) {
    for (const std::string& text : comments) {
        out << indent << "Comment: " << JsonString(text) << '\n';
    }
}

// Delays are stored in hundredths of a second; "8 (0.08 s)" shows both.
void WriteDelay(int32_t delay, std::ostream& out) {
    out << delay;
    if (delay >= 0) {
        const int32_t hundredths = delay % 100;
        out << " (" << delay / 100 << '.' << (hundredths < 10 ? "0" : "") << hundredths << " s)";
    }
}

void WriteFrame(const Gif& frame, std::size_t number, std::ostream& out) {
    out << "  Frame " << number << ": at " << frame.left << ',' << frame.top << ", size "
        << frame.width << " x " << frame.height << ", delay ";
    WriteDelay(frame.delay, out);
    out << ", disposal " << frame.disposal << " (" << DisposalName(frame.disposal)
        << "), transparent: ";
    if (frame.transparent) {
        out << "index " << frame.transparentIndex;
    } else {
        out << "no";
    }
    out << ", local palette: ";
    WritePalette(LocalPaletteSummary(frame), out);
    out << ", interlaced: " << (frame.interlaced ? "yes" : "no") << '\n';
    WriteComments(frame.comments, "    ", out);
}

}  // namespace

void WriteInfoText(const Animation& animation, std::string_view file, std::ostream& out) {
    out << "File: " << file << '\n'
        << "Screen: " << animation.screenWidth << " x " << animation.screenHeight << '\n'
        << "Background index: " << int{animation.backgroundIndex} << '\n';
    WriteLoopCount(animation, out);
    out << "Global palette: ";
    WritePalette(GlobalPaletteSummary(animation), out);
    out << '\n';
    WriteComments(animation.globalComments, "", out);
    out << "Frames: " << animation.FrameCount() << '\n';
    std::size_t number = 1;
    for (const Gif* frame = animation.head; frame; frame = frame->next) {
        WriteFrame(*frame, number++, out);
    }
}

}  // namespace anitrope
