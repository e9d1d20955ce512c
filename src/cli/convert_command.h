#pragma once

#include "cli/command.h"

namespace anitrope {

// `convert IN.gif OUT.gif`: reads the animation and writes it again as GIF89a. OUT is
// replaced only when everything was written.
int RunConvertCommand(CommandArgs args, std::ostream& out, std::ostream& err);

}  // namespace anitrope
