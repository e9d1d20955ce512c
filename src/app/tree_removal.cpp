// Command 1018 "De&lete": removing the selected tree item with what it stands for.

#include <charconv>
#include <mutex>
#include <optional>
#include <string_view>
#include <unordered_set>

#include "app/document_tree.h"
#include "app/message_boxes.h"
#include "model/animation.h"
#include "model/compositor.h"
#include "model/frame_composition.h"
#include "model/gif.h"

namespace anitrope {

namespace {

constexpr char kConfirmTitle[] = "Confirm Removal";
// Group labels are read as a word and a number from at most this many bytes.
constexpr std::size_t kLabelLookupBytes = 50;

bool Confirmed(MessageBoxes& boxes, std::string text) {
    return boxes.Show({std::move(text), kConfirmTitle, MessageIcon::Warning, kYesNoButtons}) == 0;
}

bool IsGroup(SelectionKind kind) {
    return kind == SelectionKind::EffectGroup || kind == SelectionKind::BannerGroup;
}

// The table entry a group label ("Effect %d: %s", "Trans %d: %s", "Banner %d") names; null
// when the label holds no number or one outside the table.
FrameGroup* GroupEntry(const std::string& label, GroupTables& groups) {
    std::string_view text = std::string_view(label).substr(0, kLabelLookupBytes);
    const auto isSpace = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
    std::size_t at = 0;
    while (at < text.size() && isSpace(text[at])) ++at;
    const std::size_t wordStart = at;
    while (at < text.size() && !isSpace(text[at])) ++at;
    const std::string_view word = text.substr(wordStart, at - wordStart);
    while (at < text.size() && isSpace(text[at])) ++at;
    if (at < text.size() && text[at] == '+') ++at;

    long long number = 0;
    const char* begin = text.data() + at;
    const auto [end, error] = std::from_chars(begin, text.data() + text.size(), number);
    if (error != std::errc() || end == begin) return nullptr;

    std::vector<FrameGroup>& table = word == "Effect"  ? groups.effects
                                     : word == "Trans" ? groups.transitions
                                                       : groups.banners;
    if (number < 1 || static_cast<unsigned long long>(number) > table.size()) return nullptr;
    return &table[static_cast<std::size_t>(number - 1)];
}

// Keeps the group tables pointing at live frames: an entry that starts or ends among the
// frames going away moves inwards to the surviving neighbours; one that lay wholly among
// them is emptied.
void ForgetFrames(GroupTables& groups, const std::unordered_set<const Gif*>& gone, Gif* before,
                  Gif* after) {
    for (auto* table : {&groups.effects, &groups.transitions, &groups.banners}) {
        for (FrameGroup& entry : *table) {
            const bool firstGone = gone.count(entry.first) != 0;
            const bool lastGone = gone.count(entry.last) != 0;
            if (firstGone && lastGone) {
                entry = FrameGroup{};
            } else if (firstGone) {
                entry.first = after;
            } else if (lastGone) {
                entry.last = before;
            }
        }
    }
}

void DropDisplayBitmap(Animation& animation, Gif& gif) {
    if (animation.compositor) {
        animation.compositor->DropDisplayBitmap(gif);
        return;
    }
    std::lock_guard lock(gif.bitmapLock);
    gif.displayBitmap.reset();
}

// `from` now follows another frame than before, so the screen it is drawn on changed. Its
// picture and those after it that show that screen through themselves go stale; the walk
// ends, as Compositor::InvalidateFrom's does, at the first frame that covers the screen
// opaquely and does not restore to the screen before it.
void DropPicturesShowing(Animation& animation, Gif* from) {
    bool canvasChanged = true;
    for (Gif* gif = from; gif && canvasChanged; gif = gif->next) {
        const bool pictureChanged = !CoversScreenOpaquely(animation, *gif);
        if (pictureChanged) DropDisplayBitmap(animation, *gif);
        if (DisposalInForce(animation, *gif) != DisposalRestorePrevious)
            canvasChanged = pictureChanged;
    }
}

// Background compositions read neighbouring frames, so none may run while the list changes.
class CompositionPause {
public:
    explicit CompositionPause(Compositor* compositor) {
        if (compositor && !compositor->CompositionSuspended()) {
            compositor_ = compositor;
            compositor_->SuspendComposition(true);
        }
    }
    ~CompositionPause() {
        if (compositor_) compositor_->SuspendComposition(false);
    }
    CompositionPause(const CompositionPause&) = delete;
    CompositionPause& operator=(const CompositionPause&) = delete;

private:
    Compositor* compositor_ = nullptr;
};

class BusyScope {
public:
    explicit BusyScope(const std::function<void(bool)>& busy) : busy_(busy) {
        if (busy_) busy_(true);
    }
    ~BusyScope() {
        if (busy_) busy_(false);
    }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    const std::function<void(bool)>& busy_;
};

void DestroyFrame(Animation& animation, Gif* gif) {
    if (animation.head == gif) animation.head = gif->next;
    DestroyGif(*gif);
    delete gif;
}

void MakeCurrent(RemovalContext& context, Gif* gif) {
    context.currentGif = gif;
    context.animation.current = gif;
}

// The item itself, or the outermost group that holds nothing else, which goes with it.
TreeItem OutermostEmptied(const DocumentTree& tree, TreeItem item) {
    TreeItem top = item;
    for (TreeItem parent = tree.Parent(top);
         IsGroup(tree.KindOf(parent)) && tree.Children(parent).size() == 1;
         parent = tree.Parent(top))
        top = parent;
    return top;
}

void EmptyGroupEntries(DocumentTree& tree, GroupTables& groups, TreeItem from, TreeItem top) {
    if (from == top) return;
    for (TreeItem group = tree.Parent(from);; group = tree.Parent(group)) {
        if (FrameGroup* entry = GroupEntry(tree.Label(group), groups)) *entry = FrameGroup{};
        if (group == top) break;
    }
}

RemovalOutcome Finish(DocumentTree& tree, RemovalContext& context) {
    // Without frames, leftover global comment items would keep an empty document open.
    const bool onlyRoot = tree.ItemCount() == 1;
    if (onlyRoot || (!context.animation.head && tree.FirstImageItem() == kNoItem)) {
        tree.Clear();
        return RemovalOutcome::BecameEmpty;
    }
    return RemovalOutcome::Removed;
}

RemovalOutcome RemoveImage(DocumentTree& tree, RemovalContext& context, TreeItem item) {
    Gif* frame = tree.FrameOf(item, context.animation, context.boxes);
    if (!frame) return RemovalOutcome::Nothing;
    if (context.confirmDelete &&
        !Confirmed(context.boxes,
                   "Do you really want to remove " + tree.Label(item) + " from the list ?"))
        return RemovalOutcome::Cancelled;

    Gif* const before = frame->prev;
    Gif* const after = frame->next;
    if (before || after) context.modified = true;

    const TreeItem top = OutermostEmptied(tree, item);
    TreeItem newItem = tree.NextItemAfterSubtree(top);
    // The previous sibling of an emptied group rather than of its last image, which has none.
    if (newItem == kNoItem) newItem = tree.PreviousSibling(top);
    if (newItem == kNoItem) newItem = tree.Root();

    {
        CompositionPause pause(context.animation.compositor);
        ForgetFrames(context.groups, {frame}, before, after);
        EmptyGroupEntries(tree, context.groups, item, top);
        DestroyFrame(context.animation, frame);
        MakeCurrent(context, after ? after : before);
        if (after) DropPicturesShowing(context.animation, after);
    }
    tree.Select(newItem);
    tree.Remove(top);
    return Finish(tree, context);
}

// Removes the text at `position`; false, changing nothing, when there is none.
bool RemoveText(CommentList& list, int position) {
    if (position < 0 || static_cast<std::size_t>(position) >= list.Size()) return false;
    CommentList kept;
    for (std::size_t i = 0; i < list.Size(); ++i)
        if (i != static_cast<std::size_t>(position)) kept.Append(list.At(i));
    list = std::move(kept);
    return true;
}

// The selection stays among the item's siblings of the same kind while there are any.
TreeItem SiblingOrParent(const DocumentTree& tree, TreeItem item) {
    const SelectionKind kind = tree.KindOf(item);
    const TreeItem next = tree.NextSibling(item);
    if (next != kNoItem && tree.KindOf(next) == kind) return next;
    const TreeItem previous = tree.PreviousSibling(item);
    if (previous != kNoItem && tree.KindOf(previous) == kind) return previous;
    return tree.Parent(item);
}

RemovalOutcome RemoveComment(DocumentTree& tree, RemovalContext& context, TreeItem item) {
    const TreeItem owner = tree.Parent(item);
    Gif* frame = tree.FrameOf(owner, context.animation, context.boxes);
    if (!frame || !RemoveText(frame->comments, tree.PositionAmongSiblings(item)))
        return RemovalOutcome::Nothing;
    tree.Select(SiblingOrParent(tree, item));
    tree.Remove(item);
    return RemovalOutcome::Removed;
}

RemovalOutcome RemoveGlobalComment(DocumentTree& tree, RemovalContext& context, TreeItem item) {
    Animation& animation = context.animation;
    if (tree.Parent(item) != tree.Root() ||
        !RemoveText(animation.globalComments, tree.PositionAmongSiblings(item)))
        return RemovalOutcome::Nothing;
    if (animation.globalComments.Empty()) animation.hasGlobalComments = 0;
    tree.Select(SiblingOrParent(tree, item));
    tree.Remove(item);
    return RemovalOutcome::Removed;
}

// The frames first..last when the group's image items stand for exactly those, in order.
std::optional<std::vector<Gif*>> GroupFrames(const DocumentTree& tree, RemovalContext& context,
                                             TreeItem group, const FrameGroup& entry) {
    if (!entry.first || !entry.last) return std::nullopt;
    const TreeItem end = tree.NextItemAfterSubtree(group);
    std::size_t images = 0;
    TreeItem firstImage = kNoItem;
    for (TreeItem at = tree.NextItem(group); at != end; at = tree.NextItem(at)) {
        if (tree.KindOf(at) != SelectionKind::Image) continue;
        if (firstImage == kNoItem) firstImage = at;
        ++images;
    }
    if (images == 0 || tree.FrameOf(firstImage, context.animation, context.boxes) != entry.first)
        return std::nullopt;
    std::vector<Gif*> frames;
    for (Gif* gif = entry.first; gif && frames.size() < images; gif = gif->next)
        frames.push_back(gif);
    if (frames.size() != images || frames.back() != entry.last) return std::nullopt;
    return frames;
}

RemovalOutcome RemoveGroup(DocumentTree& tree, RemovalContext& context, TreeItem group) {
    // A label or table that does not match the tree must not free frames the tree still
    // shows, so such a group is left alone.
    const FrameGroup* entry = GroupEntry(tree.Label(group), context.groups);
    if (!entry) return RemovalOutcome::Nothing;
    const auto frames = GroupFrames(tree, context, group, *entry);
    if (!frames) return RemovalOutcome::Nothing;
    if (!Confirmed(context.boxes, "Do you really want to remove '" + tree.Label(group) +
                                      "' and all its images from the list ?"))
        return RemovalOutcome::Cancelled;

    context.modified = true;
    const TreeItem top = OutermostEmptied(tree, group);
    TreeItem newItem = tree.PreviousSibling(top);
    if (newItem == kNoItem) newItem = tree.Parent(top);

    Gif* const before = frames->front()->prev;
    Gif* const after = frames->back()->next;
    {
        BusyScope busy(context.busy);
        CompositionPause pause(context.animation.compositor);
        ForgetFrames(context.groups, std::unordered_set<const Gif*>(frames->begin(), frames->end()),
                     before, after);
        EmptyGroupEntries(tree, context.groups, group, top);
        for (Gif* gif : *frames) DestroyFrame(context.animation, gif);
        MakeCurrent(context, before ? before : after);
        if (after) DropPicturesShowing(context.animation, after);
    }
    tree.Select(newItem);
    tree.Remove(top);
    return Finish(tree, context);
}

}  // namespace

RemovalOutcome RemoveSelected(DocumentTree& tree, RemovalContext& context) {
    const TreeItem item = tree.Selected();
    if (item == tree.Root() || !tree.Contains(item) || !context.currentGif)
        return RemovalOutcome::Nothing;
    switch (tree.KindOf(item)) {
        case SelectionKind::Image:
            return RemoveImage(tree, context, item);
        case SelectionKind::Comment:
            return RemoveComment(tree, context, item);
        case SelectionKind::GlobalComment:
            return RemoveGlobalComment(tree, context, item);
        case SelectionKind::EffectGroup:
        case SelectionKind::BannerGroup:
            return RemoveGroup(tree, context, item);
        case SelectionKind::None:
            break;
    }
    return RemovalOutcome::Nothing;
}

}  // namespace anitrope
