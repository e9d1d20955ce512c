#include "cli/quantize_command.h"

#include <ostream>

#include "cli/reduction_option.h"

#include "formats/picture_file.h"
#include "formats/still_picture.h"
#include "gif/gif_writer.h"
#include "model/animation.h"
#include "model/gif.h"
#include "quantize/reduce_pixels.h"

namespace anitrope {
namespace {

// A one-frame document holding the picture's pixels reduced onto their own palette.
bool BuildQuantizedFrame(const RgbaPicture& picture, const ReductionOptions& options,
                         Animation& doc) {
    Gif* frame = CreateGif(doc, nullptr, nullptr);
    doc.head = frame;
    doc.screenWidth = picture.width;
    doc.screenHeight = picture.height;
    frame->width = static_cast<uint32_t>(picture.width);
    frame->height = static_cast<uint32_t>(picture.height);
    frame->trueColor = ToTrueColor(picture);
    if (!frame->trueColor) return false;
    SetIndexedReady(*frame, 0);
    if (!ReducePixels(*frame, options)) return false;
    SetIndexedReady(*frame, 1);
    frame->trueColor.reset();
    return true;
}

}  // namespace

int RunQuantizeCommand(CommandArgs args, std::ostream& out, std::ostream& err) {
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h"))
        return AnswerHelpOrMiscount("quantize", args, {}, out, err).value_or(kExitOk);
    ReductionOptions options;
    while (const int taken = TakeReductionOption(args, "quantize", options, err)) {
        if (taken < 0) return kExitUsage;
        args = args.subspan(static_cast<size_t>(taken));
    }
    if (!CheckReductionOptions(options, "quantize", err)) return kExitUsage;
    if (auto answered = AnswerHelpOrMiscount("quantize", args, {2}, out, err)) return *answered;
    PicturesReadResult read = ReadPictureFile(args[0]);
    if (read.pictures.empty()) {
        err << kProgramName << ": " << args[0] << ": " << read.error << '\n';
        return kExitFailure;
    }
    Animation doc;
    if (!BuildQuantizedFrame(read.pictures.front(), options, doc)) {
        err << kProgramName << ": " << args[0] << ": out of memory\n";
        return kExitFailure;
    }
    if (SaveAnimation(doc, doc.head, args[1]) != GifWriteStatus::Ok) {
        err << kProgramName << ": " << args[1] << ": cannot write the file\n";
        return kExitFailure;
    }
    return kExitOk;
}

}  // namespace anitrope
