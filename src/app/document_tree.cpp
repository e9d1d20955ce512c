#include "app/document_tree.h"

#include <limits>
#include <string_view>

#include "app/message_boxes.h"
#include "model/animation.h"
#include "model/gif.h"

namespace anitrope {

namespace {

constexpr TreeItem kRoot = 0;

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

// Cut at a byte limit without splitting a UTF-8 sequence, so that the view never shows a
// broken character at the end of a long file name.
std::string CutLabel(const std::string& label) {
    if (label.size() <= DocumentTree::kMaxLabelBytes) return label;
    std::size_t cut = DocumentTree::kMaxLabelBytes;
    while (cut > 0 && (static_cast<unsigned char>(label[cut]) & 0xC0) == 0x80) --cut;
    return label.substr(0, cut);
}

std::string_view FileNamePart(std::string_view path) {
    const auto slash = path.find_last_of("/\\");
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

}  // namespace

DocumentTree::DocumentTree() : selected_(kRoot) {
    nodes_.push_back(Node{"Root"});
    liveCount_ = 1;
}

const DocumentTree::Node* DocumentTree::Find(TreeItem item) const {
    if (item < 0 || static_cast<std::size_t>(item) >= nodes_.size()) return nullptr;
    const Node& node = nodes_[static_cast<std::size_t>(item)];
    return node.alive ? &node : nullptr;
}

DocumentTree::Node* DocumentTree::Find(TreeItem item) {
    return const_cast<Node*>(static_cast<const DocumentTree*>(this)->Find(item));
}

bool DocumentTree::Contains(TreeItem item) const { return Find(item) != nullptr; }

TreeItem DocumentTree::Root() const { return kRoot; }

TreeItem DocumentTree::Selected() const { return selected_; }

void DocumentTree::Select(TreeItem item) {
    if (!Contains(item) || item == selected_) return;
    selected_ = item;
    if (observer_) observer_->Selected(item);
}

void DocumentTree::SetObserver(TreeObserver* observer) { observer_ = observer; }

TreeItem DocumentTree::Insert(TreeItem parent, TreeItem after, const std::string& label) {
    Node* parentNode = Find(parent);
    if (!parentNode) return kNoItem;
    if (after == kLast) {
        after = parentNode->lastChild;
    } else if (after != kNoItem) {
        const Node* afterNode = Find(after);
        if (!afterNode || afterNode->parent != parent) return kNoItem;
    }
    if (nodes_.size() >= static_cast<std::size_t>(std::numeric_limits<TreeItem>::max()))
        return kNoItem;

    const auto item = static_cast<TreeItem>(nodes_.size());
    Node node{CutLabel(label)};
    node.parent = parent;
    node.previous = after;
    node.next = after == kNoItem ? parentNode->firstChild : Find(after)->next;
    nodes_.push_back(std::move(node));  // invalidates parentNode

    Node& inserted = nodes_.back();
    Node& owner = *Find(parent);
    if (inserted.previous == kNoItem) {
        owner.firstChild = item;
    } else {
        Find(inserted.previous)->next = item;
    }
    if (inserted.next == kNoItem) {
        owner.lastChild = item;
    } else {
        Find(inserted.next)->previous = item;
    }
    ++liveCount_;
    if (observer_) observer_->Inserted(item, parent, after, nodes_.back().label);
    return item;
}

bool DocumentTree::Within(TreeItem item, TreeItem ancestor) const {
    for (TreeItem at = item; at != kNoItem; at = Parent(at))
        if (at == ancestor) return true;
    return false;
}

void DocumentTree::Kill(TreeItem item) {
    std::vector<TreeItem> pending{item};
    while (!pending.empty()) {
        Node& node = nodes_[static_cast<std::size_t>(pending.back())];
        pending.pop_back();
        for (TreeItem child = node.firstChild; child != kNoItem;
             child = nodes_[static_cast<std::size_t>(child)].next)
            pending.push_back(child);
        node.alive = false;
        std::string().swap(node.label);  // a dead node keeps only its place
        --liveCount_;
    }
}

void DocumentTree::Remove(TreeItem item) {
    if (item == kRoot || !Contains(item)) return;
    const TreeItem parent = Parent(item);
    if (Within(selected_, item)) Select(parent);

    Node& node = *Find(item);
    Node& owner = *Find(parent);
    if (node.previous == kNoItem) {
        owner.firstChild = node.next;
    } else {
        Find(node.previous)->next = node.next;
    }
    if (node.next == kNoItem) {
        owner.lastChild = node.previous;
    } else {
        Find(node.next)->previous = node.previous;
    }
    Kill(item);
    if (observer_) observer_->Removed(item);
}

void DocumentTree::Clear() {
    Select(kRoot);
    while (nodes_[kRoot].firstChild != kNoItem) Remove(nodes_[kRoot].firstChild);
}

const std::string& DocumentTree::Label(TreeItem item) const {
    static const std::string kNone;
    const Node* node = Find(item);
    return node ? node->label : kNone;
}

TreeItem DocumentTree::Parent(TreeItem item) const {
    const Node* node = Find(item);
    return node ? node->parent : kNoItem;
}

std::vector<TreeItem> DocumentTree::Children(TreeItem item) const {
    std::vector<TreeItem> children;
    const Node* node = Find(item);
    if (!node) return children;
    for (TreeItem child = node->firstChild; child != kNoItem; child = Find(child)->next)
        children.push_back(child);
    return children;
}

TreeItem DocumentTree::PreviousSibling(TreeItem item) const {
    const Node* node = Find(item);
    return node ? node->previous : kNoItem;
}

TreeItem DocumentTree::NextSibling(TreeItem item) const {
    const Node* node = Find(item);
    return node ? node->next : kNoItem;
}

std::size_t DocumentTree::ItemCount() const { return liveCount_; }

int DocumentTree::PositionAmongSiblings(TreeItem item) const {
    if (item == kRoot || !Contains(item)) return -1;
    int position = 0;
    for (TreeItem at = PreviousSibling(item); at != kNoItem; at = PreviousSibling(at)) ++position;
    return position;
}

SelectionKind DocumentTree::KindOfLabel(const std::string& label, bool isRoot) {
    if (isRoot) return SelectionKind::None;
    if (StartsWith(label, "Gif")) return SelectionKind::Image;
    if (StartsWith(label, "Comment")) return SelectionKind::Comment;
    if (StartsWith(label, "GlobalComment")) return SelectionKind::GlobalComment;
    if (StartsWith(label, "Banner")) return SelectionKind::BannerGroup;
    return SelectionKind::EffectGroup;
}

SelectionKind DocumentTree::KindOf(TreeItem item) const {
    const Node* node = Find(item);
    return node ? KindOfLabel(node->label, item == kRoot) : SelectionKind::None;
}

TreeItem DocumentTree::NextItem(TreeItem item) const {
    const Node* node = Find(item);
    if (!node) return kNoItem;
    if (node->firstChild != kNoItem) return node->firstChild;
    return NextItemAfterSubtree(item);
}

TreeItem DocumentTree::NextItemAfterSubtree(TreeItem item) const {
    if (!Contains(item)) return kNoItem;
    for (TreeItem at = item; at != kRoot && at != kNoItem; at = Parent(at)) {
        const TreeItem next = NextSibling(at);
        if (next != kNoItem) return next;
    }
    return kNoItem;
}

TreeItem DocumentTree::NextImageItem(TreeItem item) const {
    for (TreeItem at = NextItem(item); at != kNoItem; at = NextItem(at))
        if (KindOf(at) == SelectionKind::Image) return at;
    return kNoItem;
}

TreeItem DocumentTree::FirstImageItem() const { return NextImageItem(kRoot); }

int DocumentTree::ImageIndex(TreeItem item, MessageBoxes& boxes) const {
    if (item == kRoot) return 0;
    int index = 0;
    for (TreeItem at = NextItem(kRoot); at != kNoItem; at = NextItem(at)) {
        if (at == item) return index;
        if (KindOf(at) == SelectionKind::Image) ++index;
    }
    boxes.Tell("Couldn't fild specified Gif - EnumGifs", "Bug");
    return -1;
}

Gif* DocumentTree::FrameOf(TreeItem item, const Animation& animation, MessageBoxes& boxes) const {
    if (KindOf(item) != SelectionKind::Image) return nullptr;
    Gif* frame = animation.head;
    for (TreeItem at = FirstImageItem(); at != kNoItem; at = NextImageItem(at)) {
        if (!frame) {
            boxes.Tell("Error", "Bug in GetGif()");
            return nullptr;
        }
        if (at == item) return frame;
        frame = frame->next;
    }
    return nullptr;
}

std::string DocumentTree::ImageLabel(const Gif& frame) {
    constexpr std::string_view kCopyOf = "Copy of ";
    const std::string_view name = frame.name;
    if (StartsWith(name, kCopyOf))
        return "Gif :" + std::string(kCopyOf) +
               std::string(FileNamePart(name.substr(kCopyOf.size())));
    return "Gif :" + std::string(FileNamePart(name));
}

std::pair<TreeItem, TreeItem> DocumentTree::PlaceAfter(TreeItem current) const {
    if (!Contains(current)) current = kRoot;
    switch (KindOf(current)) {
        case SelectionKind::Comment:
            // New frames go after the commented frame, not among its comments.
            current = Parent(current);
            break;
        case SelectionKind::GlobalComment:
            current = kRoot;
            break;
        default:
            break;
    }
    if (current == kNoItem || current == kRoot) {
        if (liveCount_ == 1) return {kRoot, kLast};
        // The global comment items stay the root's first children.
        TreeItem after = kNoItem;
        for (TreeItem child = nodes_[kRoot].firstChild;
             child != kNoItem && KindOf(child) == SelectionKind::GlobalComment;
             child = NextSibling(child))
            after = child;
        return {kRoot, after};
    }
    return {Parent(current), current};
}

std::vector<TreeItem> DocumentTree::InsertFrames(TreeItem current, Gif* first, std::size_t count) {
    std::vector<TreeItem> items;
    auto [parent, after] = PlaceAfter(current);
    Gif* frame = first;
    for (std::size_t i = 0; i < count && frame; ++i, frame = frame->next) {
        const TreeItem item = Insert(parent, after, ImageLabel(*frame));
        if (item == kNoItem) break;
        int number = 1;
        for ([[maybe_unused]] const std::string& comment : frame->comments)
            Insert(item, kLast, "Comment [" + std::to_string(number++) + "]");
        items.push_back(item);
        after = item;
    }
    return items;
}

TreeItem DocumentTree::InsertGroup(TreeItem current, const std::string& groupLabel,
                                   const std::vector<std::string>& imageLabels) {
    const auto [parent, after] = PlaceAfter(current);
    const TreeItem group = Insert(parent, after, groupLabel);
    if (group == kNoItem) return kNoItem;
    for (const std::string& label : imageLabels) Insert(group, kLast, label);
    return group;
}

void DocumentTree::RebuildGlobalComments(std::size_t count) {
    std::vector<TreeItem> old;
    for (TreeItem child = nodes_[kRoot].firstChild; child != kNoItem; child = NextSibling(child))
        if (KindOf(child) == SelectionKind::GlobalComment) old.push_back(child);
    for (TreeItem item : old) Remove(item);

    TreeItem after = kNoItem;
    for (std::size_t n = 1; n <= count; ++n) {
        const TreeItem item = Insert(kRoot, after, "GlobalComment [" + std::to_string(n) + "]");
        if (item == kNoItem) break;
        after = item;
    }
}

}  // namespace anitrope
