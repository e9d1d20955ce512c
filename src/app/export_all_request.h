#pragma once

#include <string>

namespace anitrope {

// What "Export All Images" asks for: the editor fills it before the dialog, the dialog leaves
// it as the user accepted it (see export_names.h for how the names are made).
struct ExportAllRequest {
    int digits = 1;          // in: the digits the frame count needs
    std::string name;        // the name to number; at most kMaxExportName bytes
    bool advanced = false;   // the name carries the number at the indicator's places
    std::string indicator = "*";  // out: checked to be one character in advanced naming
    bool jpeg = false;       // JPEG files rather than GIF ones
    int quality = 75;        // JPEG quality, 0-100
};

inline constexpr int kMaxExportName = 512;

}  // namespace anitrope
