#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "model/document.h"

namespace anitrope {

// The items the document tree shows, read straight from the frames: the root, the global
// comments as its first children, the frames in list order with their comments below them,
// and each group around its run of frames. Nothing is stored apart from the frames, so the
// tree and the list always agree: walking the items depth first and keeping the frames gives
// the list.
enum class OutlineKind { Root, GlobalComment, Frame, Comment, Group };

struct OutlineItem {
    OutlineKind kind = OutlineKind::Root;
    Gif* frame = nullptr;         // Frame, Comment
    FrameGroup* group = nullptr;  // Group
    std::size_t index = 0;        // Comment, GlobalComment: the text's position in its list

    static OutlineItem Root() { return {}; }
    static OutlineItem Frame(Gif* gif) { return {OutlineKind::Frame, gif, nullptr, 0}; }
    static OutlineItem Group(FrameGroup* group) { return {OutlineKind::Group, nullptr, group, 0}; }
    static OutlineItem Comment(Gif* gif, std::size_t at) { return {OutlineKind::Comment, gif, nullptr, at}; }
    static OutlineItem GlobalComment(std::size_t at) { return {OutlineKind::GlobalComment, nullptr, nullptr, at}; }

    friend bool operator==(const OutlineItem&, const OutlineItem&) = default;
};

using MaybeItem = std::optional<OutlineItem>;

// Labels are cut to this many bytes, never inside a UTF-8 character.
inline constexpr std::size_t kMaxLabelBytes = 100;

// "Gif :" and the frame's file name (a directory cut off, also after "Copy of "), unless the
// frame carries a label of its own.
std::string FrameLabel(const Gif& gif);

// Navigation over one animation's items. Every step costs at most the depth of the groups,
// except Children, which lists them.
class Outline {
public:
    explicit Outline(const Animation& animation) : animation_(animation) {}

    // An item of this animation as it is now: its frame listed, its comment there, its group
    // holding listed frames.
    bool Contains(const OutlineItem& item) const;
    std::string Label(const OutlineItem& item) const;

    MaybeItem Parent(const OutlineItem& item) const;
    std::vector<OutlineItem> Children(const OutlineItem& item) const;
    MaybeItem FirstChild(const OutlineItem& item) const;
    MaybeItem NextSibling(const OutlineItem& item) const;
    MaybeItem PreviousSibling(const OutlineItem& item) const;
    // Depth first: the first child, else the next sibling, else the next sibling of the nearest
    // ancestor that has one.
    MaybeItem NextItem(const OutlineItem& item) const;
    // NextItem, passing over the item's own descendants.
    MaybeItem NextItemAfterSubtree(const OutlineItem& item) const;
    // The next frame item in depth-first order; none at the end.
    MaybeItem NextImageItem(const OutlineItem& item) const;
    MaybeItem FirstImageItem() const;
    // Items below the root, the root included.
    std::size_t ItemCount() const;

    // The frame an item stands for or begins with (a group's first frame, a comment's frame).
    Gif* FirstFrameOf(const OutlineItem& item) const;
    Gif* LastFrameOf(const OutlineItem& item) const;

    // The item, among the children of `container` (null: the root), that holds `gif`: the frame
    // itself or the outermost group below `container` around it. None when `gif` is not inside
    // `container`.
    static MaybeItem ItemWithin(Gif* gif, const FrameGroup* container);

private:
    // The group an item's siblings share (null for the top).
    const FrameGroup* ContainerOf(const OutlineItem& item) const;

    const Animation& animation_;
};

// Where new frames go for a selected item: after a frame (a comment's frame) and inside its
// group, after a whole group, or at the head for the root and the global comments.
Place PlaceAfterItem(const OutlineItem& item);

}  // namespace anitrope
