#pragma once

namespace anitrope {

// Outcome of reading a GIF file. The numbers are stable: callers and messages key on them.
enum class GifReadStatus : int {
    Ok = 0,
    CannotOpen = 1,         // the file cannot be opened or read
    NotGif = 2,             // the signature is not "GIF"
    NoImage = 3,            // no image descriptor follows the extensions
    CorruptCodeStream = 4,  // a code beyond the string table
    NoMemory = 5,           // the string table or the pixels could not be allocated
    TooLarge = 6,           // a screen or frame beyond the picture limits, or the file's
                            // frames together beyond the memory budget
    TableOverflow = 7,      // kept for its number; a full table no longer fails a read
};

// A short English reason, for command-line output and logs.
const char* GifReadStatusText(GifReadStatus status);

}  // namespace anitrope
