#pragma once

#include <cstdint>

class QLineEdit;

namespace anitrope {

// As an edit of numbers reads, the way the dialogs' edits always have: what is no number
// counts as 0.
int64_t NumberOf(const QLineEdit& edit);

}  // namespace anitrope
