#pragma once

#include <iosfwd>

#include "cli/command.h"

namespace anitrope {

// `info [--json] FILE...`: loads each file into its own document and describes it, as
// text blocks or one JSON object a line. A file that cannot be read gets one line on
// `err` and makes the status 1; the other files are still described.
int RunInfoCommand(CommandArgs args, std::ostream& out, std::ostream& err);

}  // namespace anitrope
