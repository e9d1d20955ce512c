#pragma once

namespace anitrope {

struct Gif;

// Gives the frame true-colour pixels converted from its indexed ones, unless it has them
// already. `pending` marks the indexed pixels stale for good (a reduction will follow);
// otherwise they stay current. Returns 0 for a null frame, else 1.
int MakeTrueColor(Gif* gif, bool pending);

}  // namespace anitrope
