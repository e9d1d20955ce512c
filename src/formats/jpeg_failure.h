#pragma once

namespace anitrope {

// How a JPEG read or write failed. Kept apart from the libjpeg glue so that callers of the
// reader and writer never see libjpeg's headers and macros.
enum class JpegFailure { None, CannotOpen, OutOfMemory, Fatal };

}  // namespace anitrope
