#include "app/jpeg_messages.h"

namespace anitrope {
namespace {

// These boxes carry "Jpeg Error" as their text and the particulars in the title.
MessageRequest FailureBox(JpegFailure failure, const std::string& message, const std::string& openTitle,
                          const std::string& memoryTitle) {
    switch (failure) {
        case JpegFailure::CannotOpen: return {"Jpeg Error", openTitle, MessageIcon::Warning, kOkButton};
        case JpegFailure::OutOfMemory: return {"Jpeg Error", memoryTitle, MessageIcon::Error, kOkButton};
        case JpegFailure::None:
        case JpegFailure::Fatal: break;
    }
    return {message, "JPEG Fatal Error", MessageIcon::Error, kOkButton};
}

}  // namespace

MessageRequest JpegReadFailureMessage(const JpegReadResult& read, const std::string& path) {
    return FailureBox(read.failure, read.message, "JPEG :\nCan't open " + path + "\n",
                      "JpegFile :\nOut of memory");
}

MessageRequest JpegWriteFailureMessage(const JpegWriteResult& write, const std::string& path) {
    return FailureBox(write.failure, write.message, "JpegFile :\nCan't open " + path + "\n",
                      "Memory error");
}

}  // namespace anitrope
