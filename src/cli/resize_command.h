#pragma once

#include "cli/command.h"

namespace anitrope {

// `resize --width W --height H [--keep-transparency] [--smooth] IN.gif OUT.gif`: the screen
// and every frame scaled to W x H as the editor's Resize All does, nearest neighbour on the
// palette indices unless --smooth; --keep-transparency expands the frames to whole pictures
// first.
int RunResizeCommand(CommandArgs args, std::ostream& out, std::ostream& err);

}  // namespace anitrope
