// AVI and the other video containers: the "Load AVI" dialog chooses a run of frames, which is
// read with the "Loading AVI ..." window open and goes in as one edit (or opens the document).

#include <memory>
#include <string>

#include "app/editor.h"
#include "app/message_boxes.h"
#include "app/open_messages.h"
#include "app/video_load_progress.h"
#include "model/animation.h"
#include "model/gif.h"

namespace anitrope {

int Editor::ImportVideo(const std::string& path) {
    std::unique_ptr<VideoStream> stream = OpenVideoFile(path);
    if (!stream) {
        boxes_.Tell("Could not open AVI.", "Error");
        return -1;
    }
    const VideoInfo& info = stream->Info();
    const bool wasEmpty = !HasAnimation();
    VideoRange range = videoChoices_;
    range.all = chooseVideoRange ? range.all : true;
    if (chooseVideoRange && !chooseVideoRange(info, range)) return -1;
    videoChoices_.all = range.all;
    videoChoices_.reverse = range.reverse;

    // Into frames of another size the video is scaled, if the user agrees.
    std::optional<std::pair<int32_t, int32_t>> size;
    if (!wasEmpty) {
        const Gif& first = *Data().head;
        size = {static_cast<int32_t>(first.width), static_cast<int32_t>(first.height)};
        if ((info.width != size->first || info.height != size->second) &&
            boxes_.Show(ResizeQuestion()) != 0)
            return -1;
    }

    // The frames are made for the document they go into; into the empty editor that is a
    // new one, opened when they are read.
    Animation content;
    content.screenWidth = info.width;
    content.screenHeight = info.height;
    const NewVideoFrame newFrame = [&]() -> Gif* {
        return wasEmpty ? CreateGif(content, nullptr, nullptr) : document_.CreateFrame(nullptr);
    };
    VideoRun run;
    {
        std::unique_ptr<VideoLoadProgress> progress =
            makeVideoProgress ? makeVideoProgress() : nullptr;
        run = ReadVideoRun(*stream, range, newFrame, size,
                           [&](int64_t index, int64_t ordinal, int64_t total) {
                               return !progress || progress->Step(index, ordinal, total);
                           });
    }
    stream.reset();
    if (!run.frames) {
        boxes_.Tell("Could not load AVI.", "Error");
        return -1;
    }
    const std::string name = FileNameOf(path);
    std::size_t k = 0;
    for (Gif* gif = run.frames.get(); gif; gif = gif->next, ++k) {
        gif->name = name;
        gif->label = "Gif :" + name + " [" + std::to_string(run.indices.at(k)) + "]";
    }
    Gif* head = run.frames.get();
    if (wasEmpty) {
        content.head = run.frames.release();
        OpenInto(content, "", false);
        return 0;
    }
    {
        Transaction edit(document_, "Import Video");
        edit.Insert(run.frames.release(), PlaceAfterItem(selected_));
    }
    Select(OutlineItem::Frame(head));
    return 0;
}

}  // namespace anitrope
