// Command 1018 "De&lete": removing the selected tree item with what it stands for, as one edit.

#include <vector>

#include "app/busy_scope.h"
#include "app/editor.h"
#include "app/message_boxes.h"

namespace anitrope {
namespace {

constexpr char kConfirmTitle[] = "Confirm Removal";

bool Confirmed(MessageBoxes& boxes, std::string text) {
    return boxes.Show({std::move(text), kConfirmTitle, MessageIcon::Warning, kYesNoButtons}) == 0;
}

// The selection stays among the comment's siblings of the same kind while there are any; they
// move up one place once it is gone.
OutlineItem AfterComment(const OutlineItem& item, std::size_t left) {
    const bool global = item.kind == OutlineKind::GlobalComment;
    auto at = [&](std::size_t index) {
        return global ? OutlineItem::GlobalComment(index) : OutlineItem::Comment(item.frame, index);
    };
    if (item.index < left) return at(item.index);
    if (item.index > 0) return at(item.index - 1);
    return global ? OutlineItem::Root() : OutlineItem::Frame(item.frame);
}

}  // namespace

void Editor::Delete() { RemoveSelected("Delete"); }

void Editor::RemoveSelected(const std::string& step) {
    StopPlayback();
    const OutlineItem item = selected_;
    if (item.kind == OutlineKind::Root || !Items().Contains(item) || !currentGif_) return;
    switch (item.kind) {
        case OutlineKind::Frame: RemoveImage(*item.frame, step); break;
        case OutlineKind::Comment:
        case OutlineKind::GlobalComment: RemoveComment(item, step); break;
        case OutlineKind::Group: RemoveGroup(*item.group, step); break;
        case OutlineKind::Root: break;
    }
    // Playback starts again from the selection.
    playbackItem_.reset();
}

void Editor::EmptyIfNoFrames(Transaction& edit) {
    if (Data().head) return;
    // Comments alone would keep an empty document open.
    for (std::size_t i = Data().globalComments.Size(); i-- > 0;) edit.RemoveComment(nullptr, i);
    edit.Set(&Animation::effectGroups, 0);
    edit.Set(&Animation::transitionGroups, 0);
    edit.Set(&Animation::bannerGroups, 0);
}

void Editor::AfterRemoval(Gif* current, MaybeItem item) {
    if (!HasAnimation()) {
        status_.ReportStatus(StatusReset);
        currentGif_ = nullptr;
        selected_ = OutlineItem::Root();
        if (onSelectionChanged) onSelectionChanged();
        return;
    }
    if (current && current->alive) currentGif_ = current;
    Select(item && Items().Contains(*item) ? *item : OutlineItem::Root());
}

void Editor::RemoveImage(Gif& frame, const std::string& step) {
    const Outline items = Items();
    if (settings_.confirmDelete &&
        !Confirmed(boxes_, "Do you really want to remove " +
                               items.Label(OutlineItem::Frame(&frame)) + " from the list ?"))
        return;
    // A group left without frames goes with the frame: the new selection is found from the
    // outermost one.
    OutlineItem top = OutlineItem::Frame(&frame);
    for (FrameGroup* group = frame.group.get(); group && group->frames == 1; group = group->parent.get())
        top = OutlineItem::Group(group);
    MaybeItem next = items.NextItemAfterSubtree(top);
    if (!next) next = items.PreviousSibling(top);
    Gif* const current = frame.next ? frame.next : frame.prev;
    {
        Transaction edit(document_, step);
        edit.Remove(frame);
        EmptyIfNoFrames(edit);
    }
    AfterRemoval(current, next);
}

void Editor::RemoveComment(const OutlineItem& item, const std::string& step) {
    {
        Transaction edit(document_, step);
        edit.RemoveComment(item.frame, item.index);
    }
    const std::size_t left = item.frame ? item.frame->comments.Size() : Data().globalComments.Size();
    Select(AfterComment(item, left));
}

void Editor::RemoveGroup(FrameGroup& group, const std::string& step) {
    const Outline items = Items();
    if (!Confirmed(boxes_, "Do you really want to remove '" +
                               items.Label(OutlineItem::Group(&group)) +
                               "' and all its images from the list ?"))
        return;
    OutlineItem top = OutlineItem::Group(&group);
    for (FrameGroup* parent = group.parent.get(); parent && parent->frames == group.frames;
         parent = parent->parent.get())
        top = OutlineItem::Group(parent);
    MaybeItem next = items.PreviousSibling(top);
    if (!next) next = items.Parent(top);
    std::vector<Gif*> frames;
    for (Gif* gif = group.first; gif; gif = gif->next) {
        frames.push_back(gif);
        if (gif == group.last) break;
    }
    Gif* const current = frames.front()->prev ? frames.front()->prev : frames.back()->next;
    {
        BusyScope wait(busy);
        Transaction edit(document_, step);
        for (Gif* gif : frames) edit.Remove(*gif);
        EmptyIfNoFrames(edit);
    }
    AfterRemoval(current, next);
}

}  // namespace anitrope
