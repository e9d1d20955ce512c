#include <algorithm>
#include <array>
#include <ostream>

#include "cli/banner_command.h"
#include "cli/command.h"
#include "cli/convert_command.h"
#include "cli/effect_command.h"
#include "cli/frames_command.h"
#include "cli/info_command.h"
#include "cli/optimize_command.h"
#include "cli/quantize_command.h"
#include "cli/resize_command.h"

namespace anitrope {
namespace {

// A new subcommand is one more row here and a file of its own.
constexpr std::array kCommands{
    CliCommand{"info", "[--json] FILE...",
               "Prints the screen, looping, palettes, comments and frames of GIF files, and the "
               "size, frame count and indices, codec and frame rate of AVI, MP4, MOV, MKV and "
               "WebM videos.",
               RunInfoCommand},
    CliCommand{"convert",
               "[--delay N] [--quality Q] [--from K] [--count C] [--reverse] IN... "
               "OUT.gif|OUT.jpg|OUT.avi",
               "Appends the frames of every input in order (all frames of a GIF or ANI, one "
               "frame per BMP, DIB, TGA, ICO, CUR, JPEG or PNG picture, shown N/100 s, 10 by "
               "default; of an AVI, MP4, MOV, MKV or WebM video every frame at its own rate, "
               "or C frames from index K, backwards with --reverse) and writes them as one GIF89a animation; a JPEG output gets the first "
               "frame at quality Q (75 by default); an AVI output gets every frame as the "
               "screen shows it, as 8-bit video at 15 frames per second.",
               RunConvertCommand},
    CliCommand{"frames",
               "IN.gif OUTDIR | --ppm IN.gif OUT | --name PATTERN [--indicator C] "
               "[--jpeg [--quality Q]] IN.gif",
               "Writes every frame as it looks on screen: OUTDIR/NAME-K.png, or one PPM stream "
               "to OUT (- for standard output). With --name, writes every frame as it is, as a "
               "GIF or a JPEG of quality Q (75 by default), numbered as Export All Images does: "
               "the number before the first '.' of PATTERN, or at the places of the indicator "
               "character C.",
               RunFramesCommand},
    CliCommand{"optimize", "[--lossless | --level 0-5] IN.gif OUT.gif",
               "Writes the animation optimized: frames cut to what changes, unchanged pixels "
               "transparent, one shared palette. Level 1 keeps the most colour detail, 5 makes "
               "the smallest file; 3 by default. --lossless (level 0) keeps every picture "
               "exactly as it was and looks hardest for the smallest file.",
               RunOptimizeCommand},
    CliCommand{"unoptimize", "IN.gif OUT.gif",
               "Writes every frame expanded to the full screen as it is shown, without "
               "transparency.",
               RunUnoptimizeCommand},
    CliCommand{"resize", "--width W --height H [--keep-transparency] [--smooth] IN.gif OUT.gif",
               "Scales the screen and every frame to W x H as the editor's Resize All does: "
               "frames at offsets keep their place on the screen. Nearest neighbour keeps the "
               "palettes; --smooth resamples the colours and reduces them again; "
               "--keep-transparency first expands an animation's frames to whole pictures, so "
               "that what shows through transparent pixels stays in line.",
               RunResizeCommand},
    CliCommand{"quantize", "[--quality popularity|high] [--dither] IN OUT.gif",
               "Reduces a BMP, DIB, TGA, ICO, CUR, JPEG, PNG or binary PPM picture to 256 "
               "colours and writes it as a GIF: by the most frequent colours (popularity, the "
               "default) or by perceptual clusters (high), then with error diffusion if "
               "--dither.",
               RunQuantizeCommand},
    CliCommand{"effect",
               "NAME [--frames N] [--pingpong] [--color INDEX|#RRGGBB] [--value1..5 V] "
               "[--check1..4 0|1] [--direction K] [--option K] [--frame K] [--seed N] "
               "[--quality popularity|high] [--dither] IN.gif OUT.gif | --list",
               "Computes N new frames (10 by default) from frame K (1 by default) with the effect "
               "NAME, as the editor's Insert Effect does, and writes the animation with them after "
               "frame K. Options left out keep the effect's defaults; --list describes every "
               "effect and transition with its options. --quality and --dither reduce the new "
               "frames' colours as quantize does; with high, frames that differ little share "
               "a palette.",
               RunEffectCommand},
    CliCommand{"transition",
               "NAME [the options of effect] IN.gif OUT.gif | --list",
               "Computes N new frames leading from frame K to frame K+1 (same position and size) "
               "with the transition NAME and writes the animation with them between the two.",
               RunTransitionCommand},
    CliCommand{"banner",
               "[--text T] [--font FAMILY] [--size PX] [--bold|--no-bold] [--italic] [--frames N] "
               "[--width W] [--height H] [--text-color #RRGGBB] [--background #RRGGBB] "
               "[--shadow-color #RRGGBB] [--shadow X,Y,THICKNESS,INTENSITY|--no-shadow] [--border] "
               "[--y-offset N] [--delay CS] [--optimize] [--level 1-5] OUT.gif",
               "Writes text scrolling from the right edge off the left as a new animation of N "
               "frames of W x H (10 of 140 x 80, 40 px bold sans serif, shadow 9,7,8,14 by "
               "default), as the editor's Banner Text makes them; no display needed.",
               RunBannerCommand},
};

}  // namespace

std::span<const CliCommand> CliCommands() { return kCommands; }

const CliCommand* FindCliCommand(std::string_view name) {
    auto it = std::find_if(kCommands.begin(), kCommands.end(),
                           [&](const CliCommand& command) { return command.name == name; });
    return it == kCommands.end() ? nullptr : &*it;
}

void PrintCommandUsage(const CliCommand& command, std::ostream& out) {
    out << "usage: " << kProgramName << ' ' << command.name << ' ' << command.arguments << "\n  "
        << command.summary << '\n';
}

std::optional<int> AnswerHelpOrMiscount(std::string_view name, CommandArgs args,
                                        std::initializer_list<std::size_t> counts,
                                        std::ostream& out, std::ostream& err) {
    const CliCommand& command = *FindCliCommand(name);
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        PrintCommandUsage(command, out);
        return kExitOk;
    }
    if (std::find(counts.begin(), counts.end(), args.size()) == counts.end()) {
        PrintCommandUsage(command, err);
        return kExitUsage;
    }
    return std::nullopt;
}

}  // namespace anitrope
