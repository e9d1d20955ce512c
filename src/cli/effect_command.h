#pragma once

#include "cli/command.h"

namespace anitrope {

// `effect NAME [OPTIONS] IN.gif OUT.gif`: runs one entry of the effect table on frame K of IN
// (1 by default) exactly as the editor's "Insert Effect" does, with the entry's own defaults
// for what the options leave alone, and writes the animation with the new frames after K.
// `effect --list` describes both tables.
int RunEffectCommand(CommandArgs args, std::ostream& out, std::ostream& err);

// `transition NAME [OPTIONS] IN.gif OUT.gif`: the same for the transition table, between
// frame K and frame K+1. `transition --list` is `effect --list`.
int RunTransitionCommand(CommandArgs args, std::ostream& out, std::ostream& err);

}  // namespace anitrope
