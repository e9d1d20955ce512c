#pragma once

#include <cstddef>
#include <memory>
#include <string>

namespace anitrope {

struct Gif;

// What made the frames of a group, which is what its tree label says.
enum class GroupKind {
    Effect,      // "Effect %d: %s"
    Transition,  // "Trans %d: %s"
    Banner,      // "Banner %d"
};

// The frames one effect, transition or banner made: a run of consecutive frames of the list,
// shown in the tree under one item. A frame names its innermost group (Gif::group); a group
// made while a frame of another group was selected lies inside that one. Frames and undo
// steps share the group, so it lives as long as any of its frames.
struct FrameGroup {
    GroupKind kind = GroupKind::Effect;
    int number = 0;    // the group's number among those of its kind, from 1; never reused
    std::string name;  // the effect's or transition's name; empty for banners
    std::shared_ptr<FrameGroup> parent;  // the group it lies in, null at the top

    // Where its frames lie in the document's list, counted again after every change of the
    // list; no frames (and null ends) while none of them is in the document.
    Gif* first = nullptr;
    Gif* last = nullptr;
    std::size_t frames = 0;
};

// A group about to be inserted (Transaction::Insert numbers it and places it).
std::shared_ptr<FrameGroup> MakeGroup(GroupKind kind, std::string name = {});

// "Effect 3: Fade", "Trans 1: Blind", "Banner 2".
std::string GroupLabel(const FrameGroup& group);

// True when `group` is `ancestor` or lies inside it; everything lies inside the top (null).
bool GroupWithin(const FrameGroup* group, const FrameGroup* ancestor);

}  // namespace anitrope
