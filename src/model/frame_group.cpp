#include "model/frame_group.h"

namespace anitrope {

std::shared_ptr<FrameGroup> MakeGroup(GroupKind kind, std::string name) {
    auto group = std::make_shared<FrameGroup>();
    group->kind = kind;
    group->name = std::move(name);
    return group;
}

std::string GroupLabel(const FrameGroup& group) {
    const std::string number = std::to_string(group.number);
    switch (group.kind) {
        case GroupKind::Effect: return "Effect " + number + ": " + group.name;
        case GroupKind::Transition: return "Trans " + number + ": " + group.name;
        case GroupKind::Banner: return "Banner " + number;
    }
    return {};
}

bool GroupWithin(const FrameGroup* group, const FrameGroup* ancestor) {
    if (!ancestor) return true;  // the top holds everything
    for (const FrameGroup* at = group; at; at = at->parent.get())
        if (at == ancestor) return true;
    return false;
}

}  // namespace anitrope
