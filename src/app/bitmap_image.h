#pragma once

#include <QImage>

#include "model/true_color_bitmap.h"

namespace anitrope {

// A true-colour picture as Qt shows it: RGB32 wants 0xFF in the top byte, which our pictures
// use for a marker or leave 0. Null for a bitmap without rows.
QImage OpaqueImage(const TrueColorBitmap& pixels);

}  // namespace anitrope
