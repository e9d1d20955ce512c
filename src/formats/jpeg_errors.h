#pragma once

// Shared by the JPEG reader and writer: libjpeg reports a fatal error by calling error_exit,
// which must not return. Ours formats the message and longjmps back to the function that
// armed `recovery`; that function must hold no C++ object with a destructor, since longjmp
// skips destructors.

#include <csetjmp>
// jpeglib.h uses FILE and size_t without including anything.
// clang-format off
#include <cstdio>
#include <jpeglib.h>
// clang-format on

#include "formats/jpeg_failure.h"

namespace anitrope {

struct JpegErrorManager {
    jpeg_error_mgr base;  // first, so that cinfo->err points at the whole manager
    std::jmp_buf recovery;
    char message[JMSG_LENGTH_MAX];
    JpegFailure failure;
};

// libjpeg's standard handlers with error_exit replaced; the result goes into cinfo.err
// before jpeg_create_(de)compress.
jpeg_error_mgr* InstallJpegErrors(JpegErrorManager& errors);

// Leaves through the same recovery point with our own message, for the refusals libjpeg
// would not make itself.
[[noreturn]] void FailJpeg(j_common_ptr cinfo, const char* message);

}  // namespace anitrope
