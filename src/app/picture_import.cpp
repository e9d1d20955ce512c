// Pictures from other formats become frames: the readers give pixels, AddBitmapFrame makes the
// frame and inserts it after the selection as one edit.

#include <memory>
#include <string>

#include "app/command_ids.h"
#include "app/editor.h"
#include "app/jpeg_messages.h"
#include "app/message_boxes.h"
#include "app/open_messages.h"
#include "formats/animated_cursor_reader.h"
#include "formats/bmp_reader.h"
#include "formats/icon_reader.h"
#include "formats/jpeg_reader.h"
#include "formats/png_reader.h"
#include "formats/still_picture.h"
#include "formats/tga_reader.h"
#include "model/gif.h"

namespace anitrope {

int Editor::ImportPicture(const std::string& path, PictureFormat format) {
    // Only PNG pictures say which pixels are transparent; the others arrive opaque.
    switch (format) {
        case PictureFormat::Bmp: return ImportStill(path, ReadBmpFile(path), "Couldn't Load Bitmap", true);
        case PictureFormat::Tga: return ImportStill(path, ReadTgaFile(path), "Couldn't Load Bitmap", true);
        case PictureFormat::Png: return ImportStill(path, ReadPngFile(path), "Couldn't Load Bitmap", false);
        case PictureFormat::Icon: return ImportStill(path, ReadIconFile(path), "Couldn't Load Icon", true);
        case PictureFormat::Cursor:
        case PictureFormat::AnimatedCursor: return ImportCursor(path, format);
        case PictureFormat::Jpeg: return ImportJpeg(path);
        case PictureFormat::Gif:
        case PictureFormat::Avi: break;
    }
    return -1;
}

int Editor::ImportStill(const std::string& path, const PictureReadResult& read, const char* failure,
                        bool opaque) {
    if (!read.picture) {
        boxes_.Tell(failure, "Error", MessageIcon::Warning);
        return -1;
    }
    return AddBitmapFrame(ToTrueColor(*read.picture, opaque), FileNameOf(path), true);
}

int Editor::ImportCursor(const std::string& path, PictureFormat format) {
    const CursorReadResult read = format == PictureFormat::AnimatedCursor
                                      ? ReadAnimatedCursorFile(path)
                                      : ReadCursorFile(path);
    // One reader finds the first image and loads the cursor: without a step it found none.
    if (read.steps.empty()) {
        boxes_.Tell("Couldn't Load Icon", "Error", MessageIcon::Warning);
        return -1;
    }
    // Each step goes after the one before (it becomes the selection); the question about
    // another size is asked for the first step only.
    int result = 0;
    for (std::size_t step = 0; step < read.steps.size() && result == 0; ++step) {
        result = AddBitmapFrame(ToTrueColor(read.steps[step], true), FileNameOf(path), step == 0);
    }
    return result;
}

int Editor::ImportJpeg(const std::string& path) {
    const JpegReadResult read = ReadJpegFile(path);
    if (!read.picture) {
        boxes_.Show(JpegReadFailureMessage(read, path));
        return -1;
    }
    std::unique_ptr<TrueColorBitmap> pixels = ToTrueColor(*read.picture, true);
    if (!pixels) {
        boxes_.Tell("Couldn't create Bitmap", "Error");
        return -1;
    }
    return AddBitmapFrame(std::move(pixels), FileNameOf(path), true);
}

}  // namespace anitrope
