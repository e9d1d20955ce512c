#include "cli/info_json.h"

#include "cli/json_writer.h"
#include "cli/palette_summary.h"
#include "model/animation.h"
#include "model/gif.h"

namespace anitrope {
namespace {

void WritePalette(JsonWriter& json, std::string_view key, PaletteSummary palette) {
    json.Key(key).BeginObject();
    json.Key("present").Bool(palette.present);
    json.Key("colors").Number(palette.colors);
    json.EndObject();
}

void WriteComments(JsonWriter& json, const CommentList& comments) {
    json.Key("comments").BeginArray();
    for (const std::string& text : comments) json.String(text);
    json.EndArray();
}

void WriteFrame(JsonWriter& json, const Gif& frame) {
    json.BeginObject();
    json.Key("left").Number(frame.left);
    json.Key("top").Number(frame.top);
    json.Key("width").Number(frame.width);
    json.Key("height").Number(frame.height);
    json.Key("delay").Number(frame.delay);
    json.Key("disposal").Number(frame.disposal);
    json.Key("disposalName").String(DisposalName(frame.disposal));
    json.Key("transparent").Bool(frame.transparent != 0);
    json.Key("transparentIndex").Number(frame.transparentIndex);
    WritePalette(json, "localPalette", LocalPaletteSummary(frame));
    json.Key("interlaced").Bool(frame.interlaced != 0);
    WriteComments(json, frame.comments);
    json.EndObject();
}

}  // namespace

std::string InfoJson(const Animation& animation, std::string_view file) {
    JsonWriter json;
    json.BeginObject();
    json.Key("file").String(file);
    json.Key("screenWidth").Number(animation.screenWidth);
    json.Key("screenHeight").Number(animation.screenHeight);
    json.Key("background").Number(animation.backgroundIndex);
    json.Key("loopCount");
    if (animation.hasLoopExtension) {
        json.Number(animation.loopCount);
    } else {
        json.Null();  // plays once; no stored count exists
    }
    WritePalette(json, "globalPalette", GlobalPaletteSummary(animation));
    WriteComments(json, animation.globalComments);
    json.Key("frames").BeginArray();
    for (const Gif* frame = animation.head; frame; frame = frame->next) WriteFrame(json, *frame);
    json.EndArray();
    json.EndObject();
    return json.Text();
}

}  // namespace anitrope
