#include "model/true_color_bitmap.h"

namespace anitrope {

TrueColorBitmap::~TrueColorBitmap() = default;

}  // namespace anitrope
