#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace anitrope {

struct Animation;
struct Gif;
class MessageBoxes;

// What a tree item stands for, told by its label.
enum class SelectionKind : int {
    None = 0,           // the root
    Image = 1,          // "Gif ..."
    EffectGroup = 2,    // "Effect %d: %s", "Trans %d: %s"
    Comment = 3,        // "Comment [%d]"
    GlobalComment = 4,  // "GlobalComment [%d]"
    BannerGroup = 5,    // "Banner %d"
};

using TreeItem = int32_t;  // stable for the item's life; never reused
inline constexpr TreeItem kNoItem = -1;

// Frames made by one effect, transition or banner: the group item numbered n owns entry n - 1.
struct FrameGroup {
    Gif* first = nullptr;
    Gif* last = nullptr;
};
struct GroupTables {
    std::vector<FrameGroup> effects, transitions, banners;
    void Clear() { effects.clear(); transitions.clear(); banners.clear(); }
};

// Told about every change, in order, so that a view can mirror the tree.
class TreeObserver {
public:
    virtual ~TreeObserver() = default;
    // `after` is the previous sibling, kNoItem for the first child.
    virtual void Inserted(TreeItem item, TreeItem parent, TreeItem after,
                          const std::string& label) = 0;
    virtual void Removed(TreeItem item) = 0;  // with its children
    virtual void Selected(TreeItem item) = 0;
};

// The document tree: labelled items under one "Root". Walking it depth-first and keeping the
// image items gives the frames of the animation in list order; the frame of an item is found
// by counting. No Qt: the editor mirrors it into a tree widget through a TreeObserver.
class DocumentTree {
public:
    DocumentTree();  // holds "Root", selected

    TreeItem Root() const;
    TreeItem Selected() const;
    // Selecting a removed or unknown item does nothing; the observer hears of real changes only.
    void Select(TreeItem item);
    void SetObserver(TreeObserver* observer);
    TreeObserver* Observer() const { return observer_; }
    bool Contains(TreeItem item) const;  // a live item of this tree

    // Inserts after `after` (kNoItem: as the first child) under `parent`; kLast appends.
    // Labels longer than kMaxLabelBytes are cut. Returns kNoItem, changing nothing, when the
    // parent is not a live item or `after` is not one of its children.
    static constexpr TreeItem kLast = -2;
    static constexpr std::size_t kMaxLabelBytes = 100;
    TreeItem Insert(TreeItem parent, TreeItem after, const std::string& label);
    // With its children; never the root. A selection inside the removed items moves to the
    // parent first, so that a view never selects an item that is gone.
    void Remove(TreeItem item);
    void Clear();  // back to a selected "Root" alone

    const std::string& Label(TreeItem item) const;
    TreeItem Parent(TreeItem item) const;  // kNoItem for the root
    std::vector<TreeItem> Children(TreeItem item) const;
    TreeItem PreviousSibling(TreeItem item) const;
    TreeItem NextSibling(TreeItem item) const;
    std::size_t ItemCount() const;  // the root included
    // The item's place among its parent's children, from 0; -1 for the root or a dead item.
    int PositionAmongSiblings(TreeItem item) const;

    static SelectionKind KindOfLabel(const std::string& label, bool isRoot);
    SelectionKind KindOf(TreeItem item) const;

    // Depth-first: the first child, else the next sibling, else the next sibling of the
    // nearest ancestor below the root that has one; kNoItem at the end.
    TreeItem NextItem(TreeItem item) const;
    // NextItem, but skipping the item's own descendants.
    TreeItem NextItemAfterSubtree(TreeItem item) const;
    // The next item whose label begins with "Gif"; kNoItem at the end.
    TreeItem NextImageItem(TreeItem item) const;
    TreeItem FirstImageItem() const;

    // The number of image items before `item` in depth-first order from the root; -1, after
    // "Couldn't fild specified Gif - EnumGifs" / "Bug", when it is not met.
    int ImageIndex(TreeItem item, MessageBoxes& boxes) const;
    // The frame of an image item, counted along the frame list; null when the item is not an
    // image item reachable from the root, and, after "Error" / "Bug in GetGif()", when the
    // list ends first.
    Gif* FrameOf(TreeItem item, const Animation& animation, MessageBoxes& boxes) const;

    // The items of `count` new frames starting at `first` (already linked into the list),
    // placed after `current` under its parent, or as the first children of the root when the
    // root is current and the tree is not empty, or appended under the root when it is. Each
    // frame's comments get "Comment [%d]" children. Returns the items, in order.
    //
    // The root's first children stay its global comment items, so "first children" means
    // first after those; a selected global comment places like the root, a selected comment
    // like its frame. The caller links the frames so that they follow, in the list, the frame
    // of the last image item at or before the place the items go (the head for the root).
    // Stops early, at the end of the chain, when it holds fewer than `count` frames.
    std::vector<TreeItem> InsertFrames(TreeItem current, Gif* first, std::size_t count);

    // One group item labelled `groupLabel` ("Effect %d: %s", "Trans %d: %s", "Banner %d") for
    // generated frames, placed like InsertFrames places frames, with one child per label of
    // `imageLabels` in order. Returns the group item, kNoItem when nothing could be inserted.
    TreeItem InsertGroup(TreeItem current, const std::string& groupLabel,
                         const std::vector<std::string>& imageLabels);

    // "Gif :" and the frame's name, the directory cut from a path (also after "Copy of ").
    static std::string ImageLabel(const Gif& frame);

    // Replaces the leading "GlobalComment [%d]" items of the root by one per global comment.
    void RebuildGlobalComments(std::size_t count);

private:
    // Children are a doubly linked list through the siblings, so that every step of a walk and
    // every insertion or removal is constant time however many frames the animation holds.
    struct Node {
        std::string label;
        TreeItem parent = kNoItem;
        TreeItem firstChild = kNoItem;
        TreeItem lastChild = kNoItem;
        TreeItem previous = kNoItem;  // sibling
        TreeItem next = kNoItem;      // sibling
        bool alive = true;
    };
    const Node* Find(TreeItem item) const;
    Node* Find(TreeItem item);
    bool Within(TreeItem item, TreeItem ancestor) const;  // item is ancestor or below it
    void Kill(TreeItem item);                             // marks the subtree dead
    // Where InsertFrames and InsertGroup put their first item: {parent, after}.
    std::pair<TreeItem, TreeItem> PlaceAfter(TreeItem current) const;

    std::vector<Node> nodes_;  // indexed by TreeItem; dead nodes stay so ids are never reused
    std::size_t liveCount_ = 0;
    TreeItem selected_;
    TreeObserver* observer_ = nullptr;
};

// What removing the selected item did.
enum class RemovalOutcome {
    Nothing,      // the root, or no current frame
    Cancelled,    // the question was answered No
    Removed,
    BecameEmpty,  // only the root is left: the editor returns to its empty state
};

// The state a removal reads and changes, owned by the shell.
struct RemovalContext {
    Animation& animation;
    GroupTables& groups;
    Gif*& currentGif;
    bool& modified;
    bool confirmDelete;  // "Confirm Delete"
    MessageBoxes& boxes;
    // Told true before the frames of a group are freed and false afterwards, for the wait
    // cursor; may be empty.
    std::function<void(bool)> busy = {};
};

// Command 1018 on the selected item: an image with its frame (asking "Do you really want to
// remove %s from the list ?" when confirmDelete), a comment, a global comment, or a whole
// group with its frames (always asking). Frames whose pictures showed a removed frame drop
// them; the new selection is made. See the tests for every rule.
//
// Nothing is changed, and Nothing returned, when the tree and the frame list or the group
// tables disagree about the selected item (after a "Bug" box where the lookup shows one).
// BecameEmpty also when only global comment items are left beside the root: they are taken
// out of the tree, and the caller's reset frees the comments.
RemovalOutcome RemoveSelected(DocumentTree& tree, RemovalContext& context);

}  // namespace anitrope
