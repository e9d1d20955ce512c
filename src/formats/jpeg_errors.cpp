#include "formats/jpeg_errors.h"

#include <jerror.h>

#include <cstdio>

namespace anitrope {
namespace {

JpegErrorManager& ManagerOf(j_common_ptr cinfo) {
    return *reinterpret_cast<JpegErrorManager*>(cinfo->err);
}

void ExitThroughRecovery(j_common_ptr cinfo) {
    JpegErrorManager& errors = ManagerOf(cinfo);
    (*cinfo->err->format_message)(cinfo, errors.message);
    // The memory bound shows up as a refusal to spill into a backing store: to the caller
    // both mean the picture needs more memory than we give.
    const int code = cinfo->err->msg_code;
    errors.failure = code == JERR_OUT_OF_MEMORY || code == JERR_NO_BACKING_STORE
                         ? JpegFailure::OutOfMemory
                         : JpegFailure::Fatal;
    std::longjmp(errors.recovery, 1);
}

}  // namespace

jpeg_error_mgr* InstallJpegErrors(JpegErrorManager& errors) {
    jpeg_std_error(&errors.base);
    errors.base.error_exit = ExitThroughRecovery;
    errors.message[0] = '\0';
    errors.failure = JpegFailure::None;
    return &errors.base;
}

void FailJpeg(j_common_ptr cinfo, const char* message) {
    JpegErrorManager& errors = ManagerOf(cinfo);
    std::snprintf(errors.message, sizeof errors.message, "%s", message);
    errors.failure = JpegFailure::Fatal;
    std::longjmp(errors.recovery, 1);
}

}  // namespace anitrope
