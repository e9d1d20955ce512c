#include "formats/picture_format.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <utility>

namespace anitrope {

std::string ExtensionOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    const std::size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
    return path.substr(dot + 1);
}

std::string Upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

PictureFormat FormatOfExtension(const std::string& extension) {
    static constexpr std::array<std::pair<std::string_view, PictureFormat>, 14> kFormats{{
        {"BMP", PictureFormat::Bmp},
        {"DIB", PictureFormat::Bmp},
        {"TGA", PictureFormat::Tga},
        {"ICO", PictureFormat::Icon},
        {"CUR", PictureFormat::Cursor},
        {"ANI", PictureFormat::AnimatedCursor},
        {"JPG", PictureFormat::Jpeg},
        {"JPEG", PictureFormat::Jpeg},
        {"PNG", PictureFormat::Png},
        {"AVI", PictureFormat::Avi},
        {"MP4", PictureFormat::Avi},
        {"WEBM", PictureFormat::Avi},
        {"MKV", PictureFormat::Avi},
        {"MOV", PictureFormat::Avi},
    }};
    const std::string upper = Upper(extension);
    for (const auto& [name, format] : kFormats)
        if (upper == name) return format;
    return PictureFormat::Gif;
}

}  // namespace anitrope
