#pragma once

#include "cli/command.h"

namespace anitrope {

// `quantize IN OUT.gif`: one true-colour picture (PNG, BMP or binary PPM) reduced to at most 255
// colours and a transparent slot by our quantizer, written as a one-frame GIF.
int RunQuantizeCommand(CommandArgs args, std::ostream& out, std::ostream& err);

}  // namespace anitrope
