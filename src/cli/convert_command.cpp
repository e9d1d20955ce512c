#include "cli/convert_command.h"

#include <ostream>

#include "cli/load_input.h"
#include "gif/gif_writer.h"
#include "model/animation.h"

namespace anitrope {

int RunConvertCommand(CommandArgs args, std::ostream& out, std::ostream& err) {
    const CliCommand& self = *FindCliCommand("convert");
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        PrintCommandUsage(self, out);
        return kExitOk;
    }
    if (args.size() != 2) {
        PrintCommandUsage(self, err);
        return kExitUsage;
    }
    Animation animation;
    if (!LoadInput(args[0], animation, err)) return kExitFailure;
    if (SaveAnimation(animation, animation.head, args[1]) != GifWriteStatus::Ok) {
        err << kProgramName << ": " << args[1] << ": cannot write the file\n";
        return kExitFailure;
    }
    return kExitOk;
}

}  // namespace anitrope
