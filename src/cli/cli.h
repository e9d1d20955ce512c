#pragma once

#include <iosfwd>
#include <span>
#include <string>

namespace anitrope {

// The whole command-line tool without the process around it: `args` are the words after
// the program name. Returns the exit status (see command.h).
int RunCli(std::span<const std::string> args, std::ostream& out, std::ostream& err);

// The list of subcommands and how to call them.
void PrintCliUsage(std::ostream& out);

}  // namespace anitrope
