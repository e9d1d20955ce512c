#include "cli/load_input.h"

#include <ostream>

#include "cli/command.h"
#include "gif/gif_reader.h"
#include "model/animation.h"

namespace anitrope {

bool LoadInput(const std::string& file, Animation& animation, std::ostream& err) {
    const GifReadStatus status = LoadGifDocument(animation, file);
    if (status == GifReadStatus::Ok) return true;
    err << kProgramName << ": " << file << ": " << GifReadStatusText(status) << '\n';
    return false;
}

}  // namespace anitrope
