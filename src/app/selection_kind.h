#pragma once

#include "model/outline.h"

namespace anitrope {

// What the selected tree item stands for; the commands' rules follow it.
enum class SelectionKind : int {
    None = 0,           // the root
    Image = 1,          // "Gif ..."
    EffectGroup = 2,    // "Effect %d: %s", "Trans %d: %s"
    Comment = 3,        // "Comment [%d]"
    GlobalComment = 4,  // "GlobalComment [%d]"
    BannerGroup = 5,    // "Banner %d"
};

inline SelectionKind KindOf(const OutlineItem& item) {
    switch (item.kind) {
        case OutlineKind::Root: return SelectionKind::None;
        case OutlineKind::Frame: return SelectionKind::Image;
        case OutlineKind::Comment: return SelectionKind::Comment;
        case OutlineKind::GlobalComment: return SelectionKind::GlobalComment;
        case OutlineKind::Group:
            return item.group->kind == GroupKind::Banner ? SelectionKind::BannerGroup
                                                         : SelectionKind::EffectGroup;
    }
    return SelectionKind::None;
}

}  // namespace anitrope
