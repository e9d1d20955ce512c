#include "cli/reduction_option.h"

#include <ostream>
#include <string>

namespace anitrope {

int TakeReductionOption(CommandArgs args, std::string_view command, ReductionOptions& options,
                        std::ostream& err) {
    if (args.empty()) return 0;
    if (args[0] == "--dither") {
        options.dither = true;
        return 1;
    }
    if (args[0] != "--quality") return 0;
    if (args.size() >= 2 && (args[1] == "high" || args[1] == "popularity")) {
        options.method =
            args[1] == "high" ? ReductionMethod::HighQuality : ReductionMethod::Popularity;
        return 2;
    }
    err << kProgramName << ": " << command << ": --quality takes popularity or high"
        << (args.size() >= 2 ? ", not '" + args[1] + "'" : std::string()) << '\n';
    return -1;
}

bool CheckReductionOptions(const ReductionOptions& options, std::string_view command,
                           std::ostream& err) {
    if (!options.dither || options.method == ReductionMethod::HighQuality) return true;
    err << kProgramName << ": " << command << ": --dither needs --quality high\n";
    return false;
}

}  // namespace anitrope
