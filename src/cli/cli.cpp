#include "cli/cli.h"

#include <ostream>

#include "cli/command.h"

namespace anitrope {

void PrintCliUsage(std::ostream& out) {
    out << "usage: " << kProgramName << " COMMAND [OPTIONS] [FILE...]\n"
        << "       " << kProgramName << " --help\n\ncommands:\n";
    for (const CliCommand& command : CliCommands()) {
        out << "  " << command.name << ' ' << command.arguments << "\n      " << command.summary
            << '\n';
    }
}

int RunCli(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
    if (args.empty()) {
        PrintCliUsage(err);
        return kExitUsage;
    }
    const std::string& name = args.front();
    if (name == "--help" || name == "-h" || name == "help") {
        PrintCliUsage(out);
        return kExitOk;
    }
    const CliCommand* command = FindCliCommand(name);
    if (!command) {
        err << kProgramName << ": unknown command '" << name << "'\n";
        PrintCliUsage(err);
        return kExitUsage;
    }
    return command->run(args.subspan(1), out, err);
}

}  // namespace anitrope
