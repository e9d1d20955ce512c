#include "cli/resize_command.h"

#include <optional>
#include <ostream>
#include <string>

#include "cli/load_input.h"
#include "cli/number_option.h"
#include "gif/animation_optimizer.h"
#include "gif/gif_writer.h"
#include "model/animation.h"
#include "model/picture_limits.h"
#include "model/resize.h"
#include "platform/job_scheduler.h"
#include "quantize/color_reduction.h"

namespace anitrope {
namespace {

struct ResizeOptions {
    std::optional<int> width;
    std::optional<int> height;
    bool keepTransparency = false;
    bool smooth = false;
    std::string input;
    std::string output;
};

std::ostream& Say(std::ostream& err) { return err << kProgramName << ": resize: "; }

// The options in any order, then the input and the output. Nothing after a complaint; the
// usage follows a complaint about the shape of the line.
std::optional<ResizeOptions> ParseResize(CommandArgs args, std::ostream& err, bool& usage) {
    ResizeOptions options;
    while (args.size() > 2) {
        if (args[0] == "--keep-transparency" || args[0] == "--smooth") {
            (args[0] == "--smooth" ? options.smooth : options.keepTransparency) = true;
            args = args.subspan(1);
            continue;
        }
        if (args[0] != "--width" && args[0] != "--height") {
            Say(err) << "unknown option '" << args[0] << "'\n";
            usage = true;
            return std::nullopt;
        }
        const std::optional<int> value =
            ParseNumber(args[1], 1, static_cast<int>(kMaxPictureDimension));
        if (!value) {
            Say(err) << args[0] << " takes a number from 1 to " << kMaxPictureDimension << '\n';
            return std::nullopt;
        }
        (args[0] == "--width" ? options.width : options.height) = *value;
        args = args.subspan(2);
    }
    if (args.size() != 2 || args[0].starts_with("--") || args[1].starts_with("--")) {
        usage = true;
        return std::nullopt;
    }
    if (!options.width || !options.height) {
        Say(err) << "both --width and --height are needed\n";
        return std::nullopt;
    }
    if (!PictureSizeAllowed(*options.width, *options.height)) {
        Say(err) << *options.width << " x " << *options.height << " is more than "
                 << kMaxPicturePixels << " pixels\n";
        return std::nullopt;
    }
    options.input = args[0];
    options.output = args[1];
    return options;
}

}  // namespace

int RunResizeCommand(CommandArgs args, std::ostream& out, std::ostream& err) {
    if (auto answered = AnswerHelpOrMiscount("resize", args, {2, 3, 4, 5, 6, 7, 8}, out, err))
        return *answered;
    bool usage = false;
    const std::optional<ResizeOptions> options = ParseResize(args, err, usage);
    if (!options) {
        if (usage) PrintCommandUsage(*FindCliCommand("resize"), err);
        return kExitUsage;
    }
    Animation animation;
    if (!LoadInput(options->input, animation, err)) return kExitFailure;
    JobScheduler scheduler;
    ColorReduction reduction(&scheduler);
    if (options->keepTransparency && animation.FrameCount() > 1) {
        UnoptimizeAnimation(animation, animation.head);
        // Nearest neighbour picks palette indices, which the expanded frames get only now.
        if (!options->smooth) reduction.ReduceNow(ChainFrames(animation.head));
    }
    if (!ResizeAnimation(animation, *options->width, *options->height, options->smooth)) {
        Say(err) << options->input << ": cannot scale its frames to " << *options->width << " x "
                 << *options->height << '\n';
        return kExitFailure;
    }
    reduction.ReduceNow(ChainFrames(animation.head));
    if (SaveAnimation(animation, animation.head, options->output) != GifWriteStatus::Ok) {
        err << kProgramName << ": " << options->output << ": cannot write the file\n";
        return kExitFailure;
    }
    return kExitOk;
}

}  // namespace anitrope
