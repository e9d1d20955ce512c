#include "cli/video_info.h"

#include <cstdio>
#include <ostream>

#include "cli/json_writer.h"
#include "formats/picture_format.h"
#include "formats/video_stream.h"

namespace anitrope {
namespace {

// As JsonWriter::Real writes it: a rate worked out from time stamps shows as 25, not
// 25.000000000000004.
std::string Rate(double framesPerSecond) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", framesPerSecond);
    return text;
}

}  // namespace

bool IsVideoFile(const std::string& path) {
    return FormatOfExtension(ExtensionOf(path)) == PictureFormat::Avi;
}

void WriteVideoInfoText(const VideoInfo& info, std::string_view file, std::ostream& out) {
    out << "File: " << file << '\n'
        << "Video: " << info.width << " x " << info.height << ", " << info.codec
        << (info.paletted ? " (8-bit with a palette)" : "") << '\n'
        << "Frames: " << info.length << ", indices " << info.first << " to "
        << info.first + info.length - 1 << '\n'
        << "Frames per second: "
        << (info.framesPerSecond > 0 ? Rate(info.framesPerSecond) : "unknown") << '\n';
}

std::string VideoInfoJson(const VideoInfo& info, std::string_view file) {
    JsonWriter json;
    json.BeginObject();
    json.Key("file").String(file);
    json.Key("width").Number(info.width);
    json.Key("height").Number(info.height);
    json.Key("codec").String(info.codec);
    json.Key("paletted").Bool(info.paletted);
    json.Key("frames").Number(info.length);
    json.Key("firstIndex").Number(info.first);
    json.Key("framesPerSecond");
    if (info.framesPerSecond > 0) {
        json.Real(info.framesPerSecond);
    } else {
        json.Null();
    }
    json.EndObject();
    return json.Text();
}

}  // namespace anitrope
