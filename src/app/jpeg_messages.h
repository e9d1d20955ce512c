#pragma once

#include <string>

#include "app/message_boxes.h"
#include "formats/jpeg_reader.h"
#include "formats/jpeg_writer.h"

namespace anitrope {

// The boxes of a failed JPEG read or write: "JPEG Fatal Error" with libjpeg's own words, or
// the "Jpeg Error" boxes of a file that cannot be opened and of memory running out.
MessageRequest JpegReadFailureMessage(const JpegReadResult& read, const std::string& path);
MessageRequest JpegWriteFailureMessage(const JpegWriteResult& write, const std::string& path);

}  // namespace anitrope
