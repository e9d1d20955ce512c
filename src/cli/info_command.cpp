#include "cli/info_command.h"

#include <exception>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "cli/info_json.h"
#include "cli/info_text.h"
#include "cli/load_input.h"
#include "cli/video_info.h"
#include "formats/video_stream.h"
#include "model/animation.h"

namespace anitrope {
namespace {

struct InfoOptions {
    bool json = false;
    bool help = false;
    std::vector<std::string> files;
    std::string error;  // set when the command line is wrong
};

InfoOptions ParseInfoOptions(CommandArgs args) {
    InfoOptions options;
    bool optionsEnded = false;
    for (const std::string& arg : args) {
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            options.files.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--json") {
            options.json = true;
        } else if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else {
            options.error = "unknown option '" + arg + "'";
            return options;
        }
    }
    if (options.files.empty() && !options.help) options.error = "no file given";
    return options;
}

// Only the stream's header and frame index are read: nothing is decoded beyond the first
// frame.
bool DescribeVideo(const std::string& file, const InfoOptions& options, bool first,
                   std::ostream& out, std::ostream& err) {
    std::string error;
    const std::unique_ptr<VideoStream> video = OpenVideoFile(file, &error);
    if (!video) {
        err << kProgramName << ": " << file << ": " << error << '\n';
        return false;
    }
    if (options.json) {
        out << VideoInfoJson(video->Info(), file) << '\n';
    } else {
        if (!first) out << '\n';
        WriteVideoInfoText(video->Info(), file, out);
    }
    return true;
}

// Describes one file; false when it could not be read (the reason is already on `err`).
bool DescribeFile(const std::string& file, const InfoOptions& options, bool first,
                  std::ostream& out, std::ostream& err) {
    try {
        if (IsVideoFile(file)) return DescribeVideo(file, options, first, out, err);
        Animation animation;
        if (!LoadInput(file, animation, err)) return false;
        if (options.json) {
            out << InfoJson(animation, file) << '\n';
        } else {
            if (!first) out << '\n';
            WriteInfoText(animation, file, out);
        }
        return true;
    } catch (const std::exception& e) {
        // Running out of memory on one file must not cost the report on the others.
        err << kProgramName << ": " << file << ": " << e.what() << '\n';
        return false;
    }
}

}  // namespace

int RunInfoCommand(CommandArgs args, std::ostream& out, std::ostream& err) {
    const CliCommand& self = *FindCliCommand("info");
    const InfoOptions options = ParseInfoOptions(args);
    if (!options.error.empty()) {
        err << kProgramName << " info: " << options.error << '\n';
        PrintCommandUsage(self, err);
        return kExitUsage;
    }
    if (options.help) {
        PrintCommandUsage(self, out);
        return kExitOk;
    }
    int status = kExitOk;
    bool first = true;
    for (const std::string& file : options.files) {
        if (DescribeFile(file, options, first, out, err)) {
            first = false;
        } else {
            status = kExitFailure;
        }
    }
    return status;
}

}  // namespace anitrope
