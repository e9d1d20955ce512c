#pragma once

#include "model/gif.h"

namespace anitrope {

// Replaces the frame's indexed pixels by its true-colour pixels mapped onto a palette chosen
// for them (see ChoosePalette), and switches the frame to that local palette. Transparent
// pixels get the transparent index. Leaves the true-colour pixels and the ready state alone.
// Returns false without a true-colour bitmap or when gif.abortReduction was set; the indexed
// pixels may then be partly written.
bool ReducePixels(Gif& gif);

}  // namespace anitrope
