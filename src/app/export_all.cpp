// Export All Images (1008) and the comment command (1049).

#include <algorithm>
#include <cstdint>

#include "app/busy_scope.h"
#include "app/editor.h"
#include "app/message_boxes.h"
#include "formats/jpeg_writer.h"
#include "gif/export_names.h"
#include "gif/gif_writer.h"
#include "model/animation.h"
#include "model/gif.h"
#include "model/true_color_conversion.h"

namespace anitrope {

void Editor::ExportAllImages() {
    StopPlayback();
    if (!HasAnimation() || !chooseExportAll) return;
    ExportAllRequest request;
    request.digits = ExportDigits(Data().FrameCount());
    request.name = settings_.pathSave == kNoPath ? std::string() : settings_.pathSave;
    request.advanced = exportAdvanced_;
    request.jpeg = settings_.exportAsJpg != 0;
    request.quality = JpegQuality(settings_);
    if (!chooseExportAll(request)) return;
    exportAdvanced_ = request.advanced;
    settings_.exportAsJpg = request.jpeg ? 1 : 0;
    settings_.jpegCompression =
        static_cast<uint32_t>(std::clamp(request.quality, 0, kMaxJpegQuality));

    const std::optional<char> indicator =
        request.advanced ? std::optional<char>(request.indicator.at(0)) : std::nullopt;
    BusyScope wait(busy);
    std::size_t k = 0;
    for (Gif* gif = Data().head; gif; gif = gif->next, ++k) {
        const std::string path = ExportName(request.name, indicator, request.digits, k);
        bool written = false;
        if (request.jpeg) {
            const std::shared_ptr<const TrueColorBitmap> pixels = TrueColorOf(*gif);
            written = pixels && pixels->HasRows() &&
                      WriteJpegFile(path, *pixels, true, JpegQuality(settings_)).ok;
        } else {
            document_.WaitForReduction(*gif);
            written = SaveSingleGif(Data(), *gif, path) == GifWriteStatus::Ok;
        }
        if (written) continue;
        const std::string title =
            std::string(request.jpeg ? "Error exporting as Jpg" : "Error exporting as Gif") +
            gif->name;
        // Files already written stay: each is a picture of its own.
        if (boxes_.Show({"Continue Anyway ?", title, MessageIcon::Warning, kYesNoButtons}) != 0)
            return;
    }
    boxes_.Tell("Export of all images successful", "Status", MessageIcon::Information);
    settings_.pathSave = request.name;
}

void Editor::EditComment() {
    StopPlayback();
    if (!HasAnimation() || !editComment) return;
    // A frame's comment or a global one; editing the text at `at` when it is there, adding
    // one otherwise.
    Gif* frame = nullptr;
    std::size_t at = SIZE_MAX;
    switch (selected_.kind) {
        case OutlineKind::Comment:
            at = selected_.index;
            [[fallthrough]];
        case OutlineKind::Frame:
            frame = selected_.frame;
            break;
        case OutlineKind::GlobalComment:
            if (Data().hasGlobalComments) at = selected_.index;
            break;
        default:
            break;
    }
    const CommentList& list = frame ? frame->comments : Data().globalComments;
    const bool adding = at >= list.Size();
    std::string text = adding ? std::string() : list.At(at);
    if (!editComment(text)) return;
    Transaction edit(document_, adding ? "Add Comment" : "Edit Comment");
    if (adding)
        edit.InsertComment(frame, list.Size(), std::move(text));
    else
        edit.ReplaceComment(frame, at, std::move(text));
}

}  // namespace anitrope
