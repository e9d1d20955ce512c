#pragma once

#include <string>
#include <string_view>

namespace anitrope {

// The kinds of file the editor and the command-line tool read, each with its own reader.
enum class PictureFormat { Gif, Bmp, Tga, Icon, Cursor, AnimatedCursor, Jpeg, Png, Avi };

// The text after the last '.' of the file name, as written; empty without one.
std::string ExtensionOf(const std::string& path);
std::string Upper(std::string text);

// The reader for a file of this extension, compared in any case: "BMP" and "DIB", "TGA",
// "ICO", "CUR", "ANI", "JPG" and "JPEG", "PNG", "AVI" and the video containers "MP4", "WEBM",
// "MKV", "MOV" (read as AVI is); anything else, or none, is read as GIF.
PictureFormat FormatOfExtension(const std::string& extension);

}  // namespace anitrope
