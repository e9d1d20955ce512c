#pragma once

#include "cli/command.h"

namespace anitrope {

// `optimize [--level 1-5] IN.gif OUT.gif`: frames cut to their changes, unchanged pixels made
// transparent, colours moved onto one shared palette; the level is the "Gif Compression"
// slider position (1 finest, 5 smallest, 3 by default).
int RunOptimizeCommand(CommandArgs args, std::ostream& out, std::ostream& err);

// `unoptimize IN.gif OUT.gif`: every frame expanded to the full screen as it is shown, then
// reduced again.
int RunUnoptimizeCommand(CommandArgs args, std::ostream& out, std::ostream& err);

}  // namespace anitrope
