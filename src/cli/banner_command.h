#pragma once

#include "cli/command.h"

namespace anitrope {

// `banner [OPTIONS] OUT.gif`: the editor's Banner Text as a command: text scrolling from the
// right edge off the left over N frames of W x H, drawn with the installed fonts (no display
// needed), reduced to 256 colours and written as a new animation.
int RunBannerCommand(CommandArgs args, std::ostream& out, std::ostream& err);

}  // namespace anitrope
