#pragma once

#include "cli/command.h"

namespace anitrope {

// `frames IN.gif OUTDIR`: every frame as it looks on screen, composed over what the frames
// before it left, as OUTDIR/NAME-K.png (K from 0); where nothing lies beneath, the pixels
// are fully transparent. `frames --ppm IN.gif OUT`: the same pictures as one stream of
// binary PPM images into the file OUT, or to standard output for "-".
int RunFramesCommand(CommandArgs args, std::ostream& out, std::ostream& err);

}  // namespace anitrope
