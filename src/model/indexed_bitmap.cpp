#include "model/indexed_bitmap.h"

namespace anitrope {

IndexedBitmap::~IndexedBitmap() = default;

}  // namespace anitrope
