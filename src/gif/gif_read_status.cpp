#include "gif/gif_read_status.h"

namespace anitrope {

const char* GifReadStatusText(GifReadStatus status) {
    switch (status) {
        case GifReadStatus::Ok: return "ok";
        case GifReadStatus::CannotOpen: return "cannot open the file";
        case GifReadStatus::NotGif: return "not a GIF file";
        case GifReadStatus::NoImage: return "no image in the file";
        case GifReadStatus::CorruptCodeStream: return "corrupt image data";
        case GifReadStatus::NoMemory: return "out of memory";
        case GifReadStatus::TooLarge: return "picture too large";
        case GifReadStatus::TableOverflow: return "image data overflows the string table";
    }
    return "unknown error";
}

}  // namespace anitrope
