#include "cli/convert_command.h"

#include <climits>
#include <ostream>
#include <vector>

#include "cli/input_frames.h"
#include "cli/number_option.h"
#include "formats/avi_writer.h"
#include "formats/jpeg_writer.h"
#include "formats/picture_format.h"
#include "gif/gif_writer.h"
#include "model/animation.h"
#include "model/gif.h"
#include "model/true_color_conversion.h"
#include "platform/job_scheduler.h"
#include "quantize/color_reduction.h"

namespace anitrope {
namespace {

constexpr int kDefaultPictureDelay = 10;
constexpr int kDefaultJpegQuality = 75;

struct ConvertOptions {
    int delay = kDefaultPictureDelay;
    int quality = kDefaultJpegQuality;
    VideoSelection video;
    std::vector<std::string> inputs;
    std::string output;
};

// The options in front, then at least one input and the output. Nothing after a complaint.
std::optional<ConvertOptions> ParseConvert(CommandArgs args, std::ostream& err) {
    ConvertOptions options;
    while (!args.empty()) {
        if (args[0] == "--reverse") {
            options.video.reverse = true;
            args = args.subspan(1);
            continue;
        }
        // Any whole number: the "Load AVI" dialog's checks judge the range once the video is
        // open, with its own messages.
        if (args.size() >= 2 && (args[0] == "--from" || args[0] == "--count")) {
            const std::optional<int> value = ParseNumber(args[1], INT_MIN, INT_MAX);
            if (!value) {
                err << kProgramName << ": convert: " << args[0] << " takes a whole number\n";
                return std::nullopt;
            }
            (args[0] == "--from" ? options.video.first : options.video.count) = *value;
            args = args.subspan(2);
            continue;
        }
        if (args.size() < 2 || (args[0] != "--delay" && args[0] != "--quality")) break;
        const bool delay = args[0] == "--delay";
        const std::optional<int> value = ParseNumber(args[1], 0, delay ? 65535 : 100);
        if (!value) {
            err << kProgramName << ": convert: " << args[0] << " takes a number from 0 to "
                << (delay ? "65535" : "100") << '\n';
            return std::nullopt;
        }
        (delay ? options.delay : options.quality) = *value;
        args = args.subspan(2);
    }
    if (args.size() < 2) return std::nullopt;
    options.inputs.assign(args.begin(), args.end() - 1);
    options.output = args.back();
    return options;
}

// The first frame's own pixels (not what the screen shows) as a JPEG file.
bool WriteFirstFrameAsJpeg(Animation& animation, const ConvertOptions& options, std::ostream& err) {
    Gif* first = animation.head;
    MakeTrueColor(first, false);
    if (!first->trueColor || !first->trueColor->HasRows()) {
        err << kProgramName << ": " << options.output << ": out of memory\n";
        return false;
    }
    const JpegWriteResult written = WriteJpegFile(options.output, *first->trueColor, true, options.quality);
    if (written.ok) return true;
    err << kProgramName << ": " << options.output << ": cannot write the file";
    if (!written.message.empty()) err << " (" << written.message << ')';
    err << '\n';
    return false;
}

}  // namespace

int RunConvertCommand(CommandArgs args, std::ostream& out, std::ostream& err) {
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h"))
        return AnswerHelpOrMiscount("convert", args, {}, out, err).value_or(kExitOk);
    const std::optional<ConvertOptions> options = ParseConvert(args, err);
    if (!options) {
        PrintCommandUsage(*FindCliCommand("convert"), err);
        return kExitUsage;
    }
    Animation animation;
    for (const std::string& input : options->inputs)
        if (const int status = AppendInputFrames(input, animation, options->delay, err, options->video);
            status != kExitOk)
            return status;
    // Every picture's frame is reduced, all cores at once.
    JobScheduler scheduler;
    ColorReduction reduction(&scheduler);
    reduction.ReduceNow(ChainFrames(animation.head));
    if (FormatOfExtension(ExtensionOf(options->output)) == PictureFormat::Jpeg)
        return WriteFirstFrameAsJpeg(animation, *options, err) ? kExitOk : kExitFailure;
    // Only ".avi" itself: the other video extensions are read, never written.
    if (Upper(ExtensionOf(options->output)) == "AVI") {
        const AviWriteStatus written =
            WriteAviFile(animation, animation.head, options->output, &reduction);
        if (written == AviWriteStatus::Ok) return kExitOk;
        err << kProgramName << ": " << options->output << ": Could not save AVI.\n";
        return kExitFailure;
    }
    if (SaveAnimation(animation, animation.head, options->output) != GifWriteStatus::Ok) {
        err << kProgramName << ": " << options->output << ": cannot write the file\n";
        return kExitFailure;
    }
    return kExitOk;
}

}  // namespace anitrope
