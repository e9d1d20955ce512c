#pragma once

#include <memory>

#include "model/true_color_bitmap.h"

namespace anitrope {

struct Gif;

// Gives the frame true-colour pixels converted from its indexed ones, unless it has them
// already. `pending` marks the indexed pixels stale for good (a reduction will follow);
// otherwise they stay current. For frames being built or reworked, never for a frame of a
// document outside an edit. Returns 0 for a null frame, else 1.
int MakeTrueColor(Gif* gif, bool pending);

// The frame's picture in true colour, leaving the frame as it is: its own true colour when it
// has one, else converted from its indexed pixels. Null without either.
std::shared_ptr<const TrueColorBitmap> TrueColorOf(const Gif& gif);

}  // namespace anitrope
