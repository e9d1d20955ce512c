#include "cli/convert_command.h"

#include <ostream>

#include "cli/load_input.h"
#include "gif/gif_writer.h"
#include "model/animation.h"

namespace anitrope {

int RunConvertCommand(CommandArgs args, std::ostream& out, std::ostream& err) {
    if (auto answered = AnswerHelpOrMiscount("convert", args, {2}, out, err)) return *answered;
    Animation animation;
    if (!LoadInput(args[0], animation, err)) return kExitFailure;
    if (SaveAnimation(animation, animation.head, args[1]) != GifWriteStatus::Ok) {
        err << kProgramName << ": " << args[1] << ": cannot write the file\n";
        return kExitFailure;
    }
    return kExitOk;
}

}  // namespace anitrope
