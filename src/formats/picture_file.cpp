#include "formats/picture_file.h"

#include "formats/animated_cursor_reader.h"
#include "formats/bmp_reader.h"
#include "formats/icon_reader.h"
#include "formats/jpeg_reader.h"
#include "formats/picture_format.h"
#include "formats/png_reader.h"
#include "formats/still_picture.h"
#include "formats/tga_reader.h"

namespace anitrope {
namespace {

PicturesReadResult One(PictureReadResult read) {
    if (!read.picture) return {{}, std::move(read.error)};
    PicturesReadResult result;
    result.pictures.push_back(std::move(*read.picture));
    return result;
}

PicturesReadResult Steps(CursorReadResult read) {
    if (read.steps.empty()) return {{}, read.error.empty() ? "no cursor image" : read.error};
    return {std::move(read.steps), {}};
}

}  // namespace

PicturesReadResult ReadPictureFile(const std::string& path) {
    switch (FormatOfExtension(ExtensionOf(path))) {
        case PictureFormat::Bmp: return One(ReadBmpFile(path));
        case PictureFormat::Tga: return One(ReadTgaFile(path));
        case PictureFormat::Icon: return One(ReadIconFile(path));
        case PictureFormat::Cursor: return Steps(ReadCursorFile(path));
        case PictureFormat::AnimatedCursor: return Steps(ReadAnimatedCursorFile(path));
        case PictureFormat::Png: return One(ReadPngFile(path));
        case PictureFormat::Jpeg: {
            JpegReadResult read = ReadJpegFile(path);
            return One({std::move(read.picture), std::move(read.message)});
        }
        case PictureFormat::Avi: return {{}, "AVI files are not read by this version"};
        case PictureFormat::Gif: break;
    }
    return One(ReadStillPicture(path));
}

}  // namespace anitrope
