#include "model/outline.h"

#include <string_view>
#include <unordered_set>

namespace anitrope {
namespace {

constexpr std::string_view kCopyOf = "Copy of ";

std::string_view FileNamePart(std::string_view path) {
    const auto slash = path.find_last_of("/\\");
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

// Cut at a byte limit without splitting a UTF-8 sequence, so that the view never shows a
// broken character at the end of a long file name.
std::string CutLabel(std::string label) {
    if (label.size() <= kMaxLabelBytes) return label;
    std::size_t cut = kMaxLabelBytes;
    while (cut > 0 && (static_cast<unsigned char>(label[cut]) & 0xC0) == 0x80) --cut;
    label.resize(cut);
    return label;
}

std::string Numbered(const char* word, int number) {
    return std::string(word) + " [" + std::to_string(number) + "]";
}

}  // namespace

std::string FrameLabel(const Gif& gif) {
    if (!gif.label.empty()) return CutLabel(gif.label);
    const std::string_view name = gif.name;
    if (name.substr(0, kCopyOf.size()) == kCopyOf)
        return CutLabel("Gif :" + std::string(kCopyOf) +
                        std::string(FileNamePart(name.substr(kCopyOf.size()))));
    return CutLabel("Gif :" + std::string(FileNamePart(name)));
}

MaybeItem Outline::ItemWithin(Gif* gif, const FrameGroup* container) {
    if (!gif) return std::nullopt;
    FrameGroup* outermost = nullptr;
    FrameGroup* at = gif->group.get();
    for (; at && at != container; at = at->parent.get()) outermost = at;
    if (at != container) return std::nullopt;  // ran past the top without meeting it
    return outermost ? OutlineItem::Group(outermost) : OutlineItem::Frame(gif);
}

bool Outline::Contains(const OutlineItem& item) const {
    switch (item.kind) {
        case OutlineKind::Root: return true;
        case OutlineKind::GlobalComment: return item.index < animation_.globalComments.Size();
        case OutlineKind::Frame:
            return item.frame && item.frame->alive && item.frame->animation == &animation_;
        case OutlineKind::Comment:
            return Contains(OutlineItem::Frame(item.frame)) &&
                   item.index < item.frame->comments.Size();
        case OutlineKind::Group:
            return item.group && item.group->frames > 0 && item.group->first &&
                   item.group->first->alive && item.group->first->animation == &animation_;
    }
    return false;
}

std::string Outline::Label(const OutlineItem& item) const {
    switch (item.kind) {
        case OutlineKind::Root: return "Root";
        case OutlineKind::GlobalComment:
            return Numbered("GlobalComment", animation_.globalComments.Number(item.index));
        case OutlineKind::Frame: return FrameLabel(*item.frame);
        case OutlineKind::Comment: return Numbered("Comment", item.frame->comments.Number(item.index));
        case OutlineKind::Group: return CutLabel(GroupLabel(*item.group));
    }
    return {};
}

Gif* Outline::FirstFrameOf(const OutlineItem& item) const {
    switch (item.kind) {
        case OutlineKind::Frame:
        case OutlineKind::Comment: return item.frame;
        case OutlineKind::Group: return item.group->first;
        case OutlineKind::Root:
        case OutlineKind::GlobalComment: return animation_.head;
    }
    return nullptr;
}

Gif* Outline::LastFrameOf(const OutlineItem& item) const {
    switch (item.kind) {
        case OutlineKind::Frame:
        case OutlineKind::Comment: return item.frame;
        case OutlineKind::Group: return item.group->last;
        case OutlineKind::Root:
        case OutlineKind::GlobalComment: return animation_.LastFrame();
    }
    return nullptr;
}

const FrameGroup* Outline::ContainerOf(const OutlineItem& item) const {
    if (item.kind == OutlineKind::Frame) return item.frame->group.get();
    if (item.kind == OutlineKind::Group) return item.group->parent.get();
    return nullptr;
}

MaybeItem Outline::Parent(const OutlineItem& item) const {
    switch (item.kind) {
        case OutlineKind::Root: return std::nullopt;
        case OutlineKind::GlobalComment: return OutlineItem::Root();
        case OutlineKind::Comment: return OutlineItem::Frame(item.frame);
        case OutlineKind::Frame:
        case OutlineKind::Group:
            if (const FrameGroup* container = ContainerOf(item))
                return OutlineItem::Group(const_cast<FrameGroup*>(container));
            return OutlineItem::Root();
    }
    return std::nullopt;
}

MaybeItem Outline::FirstChild(const OutlineItem& item) const {
    switch (item.kind) {
        case OutlineKind::Root:
            if (!animation_.globalComments.Empty()) return OutlineItem::GlobalComment(0);
            return ItemWithin(animation_.head, nullptr);
        case OutlineKind::Frame:
            if (!item.frame->comments.Empty()) return OutlineItem::Comment(item.frame, 0);
            return std::nullopt;
        case OutlineKind::Group: return ItemWithin(item.group->first, item.group);
        case OutlineKind::Comment:
        case OutlineKind::GlobalComment: return std::nullopt;
    }
    return std::nullopt;
}

MaybeItem Outline::NextSibling(const OutlineItem& item) const {
    switch (item.kind) {
        case OutlineKind::Root: return std::nullopt;
        case OutlineKind::GlobalComment:
            if (item.index + 1 < animation_.globalComments.Size())
                return OutlineItem::GlobalComment(item.index + 1);
            return ItemWithin(animation_.head, nullptr);
        case OutlineKind::Comment:
            if (item.index + 1 < item.frame->comments.Size())
                return OutlineItem::Comment(item.frame, item.index + 1);
            return std::nullopt;
        case OutlineKind::Frame:
        case OutlineKind::Group: {
            Gif* last = LastFrameOf(item);
            return last ? ItemWithin(last->next, ContainerOf(item)) : std::nullopt;
        }
    }
    return std::nullopt;
}

MaybeItem Outline::PreviousSibling(const OutlineItem& item) const {
    switch (item.kind) {
        case OutlineKind::Root: return std::nullopt;
        case OutlineKind::GlobalComment:
            if (item.index > 0) return OutlineItem::GlobalComment(item.index - 1);
            return std::nullopt;
        case OutlineKind::Comment:
            if (item.index > 0) return OutlineItem::Comment(item.frame, item.index - 1);
            return std::nullopt;
        case OutlineKind::Frame:
        case OutlineKind::Group: {
            const FrameGroup* container = ContainerOf(item);
            Gif* first = FirstFrameOf(item);
            if (MaybeItem before = first ? ItemWithin(first->prev, container) : std::nullopt)
                return before;
            // The root's first children are its global comments.
            if (!container && !animation_.globalComments.Empty())
                return OutlineItem::GlobalComment(animation_.globalComments.Size() - 1);
            return std::nullopt;
        }
    }
    return std::nullopt;
}

std::vector<OutlineItem> Outline::Children(const OutlineItem& item) const {
    std::vector<OutlineItem> children;
    for (MaybeItem child = FirstChild(item); child; child = NextSibling(*child))
        children.push_back(*child);
    return children;
}

MaybeItem Outline::NextItemAfterSubtree(const OutlineItem& item) const {
    for (MaybeItem at = item; at && at->kind != OutlineKind::Root; at = Parent(*at))
        if (MaybeItem next = NextSibling(*at)) return next;
    return std::nullopt;
}

MaybeItem Outline::NextItem(const OutlineItem& item) const {
    if (MaybeItem child = FirstChild(item)) return child;
    return NextItemAfterSubtree(item);
}

MaybeItem Outline::NextImageItem(const OutlineItem& item) const {
    // Frames come in list order: the next image is the next frame.
    Gif* next = nullptr;
    switch (item.kind) {
        case OutlineKind::Root:
        case OutlineKind::GlobalComment: next = animation_.head; break;
        case OutlineKind::Frame:
        case OutlineKind::Comment: next = item.frame->next; break;
        case OutlineKind::Group: next = item.group->first; break;
    }
    return next ? MaybeItem(OutlineItem::Frame(next)) : std::nullopt;
}

MaybeItem Outline::FirstImageItem() const {
    return animation_.head ? MaybeItem(OutlineItem::Frame(animation_.head)) : std::nullopt;
}

std::size_t Outline::ItemCount() const {
    std::size_t count = 1 + animation_.globalComments.Size();
    std::unordered_set<const FrameGroup*> groups;
    for (const Gif* gif = animation_.head; gif; gif = gif->next) {
        count += 1 + gif->comments.Size();
        for (const FrameGroup* group = gif->group.get(); group; group = group->parent.get())
            groups.insert(group);
    }
    return count + groups.size();
}

Place PlaceAfterItem(const OutlineItem& item) {
    switch (item.kind) {
        case OutlineKind::Frame:
        case OutlineKind::Comment: return {item.frame, item.frame->group};
        case OutlineKind::Group: {
            Place place;
            place.after = item.group->last;
            place.group = item.group->parent;
            return place;
        }
        case OutlineKind::Root:
        case OutlineKind::GlobalComment: break;
    }
    return {};
}

}  // namespace anitrope
