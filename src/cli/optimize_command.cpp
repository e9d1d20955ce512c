#include "cli/optimize_command.h"

#include <functional>
#include <ostream>

#include "cli/load_input.h"
#include "cli/number_option.h"
#include "gif/animation_optimizer.h"
#include "gif/comparison_mask.h"
#include "gif/gif_writer.h"
#include "model/animation.h"
#include "platform/job_scheduler.h"
#include "quantize/color_reduction.h"

namespace anitrope {
namespace {

// Loads IN, lets `rework` change the frames with reductions on every core, reduces what it
// left awaiting a reduction, and writes OUT.
int Rework(const std::string& in, const std::string& outPath, std::ostream& err,
           const std::function<void(Animation&, FrameReducer&)>& rework) {
    Animation animation;
    if (!LoadInput(in, animation, err)) return kExitFailure;
    JobScheduler scheduler;
    ColorReduction reduction(&scheduler);
    rework(animation, reduction);
    reduction.ReduceNow(ChainFrames(animation.head));
    if (SaveAnimation(animation, animation.head, outPath) != GifWriteStatus::Ok) {
        err << kProgramName << ": " << outPath << ": cannot write the file\n";
        return kExitFailure;
    }
    return kExitOk;
}

}  // namespace

int RunOptimizeCommand(CommandArgs args, std::ostream& out, std::ostream& err) {
    if (auto answered = AnswerHelpOrMiscount("optimize", args, {2, 3, 4}, out, err)) return *answered;
    int level = kDefaultComparisonLevel;
    if (args.size() == 3 && args[0] == "--lossless") {
        level = kLosslessLevel;
        args = args.subspan(1);
    } else if (args.size() == 4) {
        const std::optional<int> parsed = args[0] == "--level"
                                        ? ParseNumber(args[1], kLosslessLevel, static_cast<int>(kComparisonMasks.size()))
                                        : std::nullopt;
        if (!parsed) {
            err << kProgramName << ": optimize: --level takes a number from 0 (lossless) to 5\n";
            return kExitUsage;
        }
        level = *parsed;
        args = args.subspan(2);
    } else if (args.size() != 2) {
        err << kProgramName << ": optimize: takes [--lossless | --level N] IN OUT\n";
        return kExitUsage;
    }
    return Rework(std::string(args[0]), std::string(args[1]), err,
                  [&](Animation& animation, FrameReducer& reducer) {
                      OptimizeAnimation(animation, animation.head, ComparisonMaskForLevel(level),
                                        nullptr, &reducer);
                  });
}

int RunUnoptimizeCommand(CommandArgs args, std::ostream& out, std::ostream& err) {
    if (auto answered = AnswerHelpOrMiscount("unoptimize", args, {2}, out, err)) return *answered;
    return Rework(std::string(args[0]), std::string(args[1]), err,
                  [](Animation& animation, FrameReducer&) {
                      UnoptimizeAnimation(animation, animation.head);
                  });
}

}  // namespace anitrope
