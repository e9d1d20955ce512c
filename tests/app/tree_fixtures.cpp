#include "tree_fixtures.h"

#include <cstdio>
#include <map>
#include <ostream>

namespace anitrope {

void PrintTo(RemovalOutcome outcome, std::ostream* out) {
    switch (outcome) {
        case RemovalOutcome::Nothing:
            *out << "Nothing";
            return;
        case RemovalOutcome::Cancelled:
            *out << "Cancelled";
            return;
        case RemovalOutcome::Removed:
            *out << "Removed";
            return;
        case RemovalOutcome::BecameEmpty:
            *out << "BecameEmpty";
            return;
    }
    *out << "RemovalOutcome(" << static_cast<int>(outcome) << ")";
}

}  // namespace anitrope

namespace anitrope::test {

RemovalContext TreeDocument::Context(bool confirmDelete) {
    return RemovalContext{animation, groups, currentGif, modified, confirmDelete, boxes};
}

Gif* TreeDocument::NewFrame(const FrameSpec& request) {
    Gif* gif = CreateGif(animation, nullptr, nullptr);
    gif->name = request.name;
    for (const std::string& text : request.comments) gif->comments.Append(text);
    labels_[gif] = DocumentTree::ImageLabel(*gif);
    return gif;
}

std::string TreeDocument::ExpectedLabel(const Gif& gif) const {
    const auto found = labels_.find(&gif);
    return found == labels_.end() ? DocumentTree::ImageLabel(gif) : found->second;
}

void TreeDocument::LinkAfter(Gif* prev, Gif* gif) {
    gif->prev = prev;
    gif->next = prev ? prev->next : animation.head;
    if (gif->next) gif->next->prev = gif;
    if (prev) {
        prev->next = gif;
    } else {
        animation.head = gif;
    }
}

TreeItem TreeDocument::LastRootChild() const {
    const std::vector<TreeItem> children = tree.Children(tree.Root());
    return children.empty() ? tree.Root() : children.back();
}

std::vector<TreeItem> TreeDocument::Append(const std::vector<FrameSpec>& frames) {
    Gif* first = nullptr;
    for (const FrameSpec& request : frames) {
        Gif* gif = NewFrame(request);
        LinkAfter(animation.LastFrame(), gif);
        if (!first) first = gif;
    }
    if (!currentGif) currentGif = animation.head;
    return tree.InsertFrames(LastRootChild(), first, frames.size());
}

TreeItem TreeDocument::AppendGroup(const std::string& word, const std::string& name, int count) {
    std::vector<FrameGroup>& table = word == "Effect"  ? groups.effects
                                     : word == "Trans" ? groups.transitions
                                                       : groups.banners;
    const std::string number = std::to_string(table.size() + 1);
    const bool banner = word == "Banner";
    std::vector<std::string> labels;
    FrameGroup entry;
    for (int i = 1; i <= count; ++i) {
        const std::string index = std::to_string(i);
        Gif* gif = NewFrame(
            {banner ? "Banner " + index : name + " (" + index + "/" + std::to_string(count) + ")"});
        LinkAfter(animation.LastFrame(), gif);
        labels.push_back(banner ? "Gif: Banner " + index : "Gif :" + gif->name);
        labels_[gif] = labels.back();
        if (!entry.first) entry.first = gif;
        entry.last = gif;
    }
    table.push_back(entry);
    if (!currentGif) currentGif = animation.head;
    return tree.InsertGroup(
        LastRootChild(), banner ? "Banner " + number : word + " " + number + ": " + name, labels);
}

void TreeDocument::AddGlobalComments(const std::vector<std::string>& texts) {
    for (const std::string& text : texts) animation.globalComments.Append(text);
    animation.hasGlobalComments = animation.globalComments.Empty() ? 0 : 1;
    tree.RebuildGlobalComments(animation.globalComments.Size());
}

TreeItem TreeDocument::Item(const std::string& label) const {
    for (TreeItem at = tree.Root(); at != kNoItem; at = tree.NextItem(at))
        if (tree.Label(at) == label) return at;
    ADD_FAILURE() << "no item labelled \"" << label << "\" in\n" << Outline();
    return kNoItem;
}

void TreeDocument::Select(TreeItem item) {
    tree.Select(item);
    if (tree.KindOf(item) == SelectionKind::Image) {
        ScriptedMessageBoxes quiet;
        currentGif = tree.FrameOf(item, animation, quiet);
    }
}

Gif* TreeDocument::Frame(const std::string& name) const {
    for (Gif* gif = animation.head; gif; gif = gif->next)
        if (gif->name == name) return gif;
    return nullptr;
}

std::string TreeDocument::Outline() const {
    std::string text;
    for (TreeItem at = tree.Root(); at != kNoItem; at = tree.NextItem(at)) {
        int depth = 0;
        for (TreeItem up = tree.Parent(at); up != kNoItem; up = tree.Parent(up)) ++depth;
        text += std::string(static_cast<std::size_t>(depth > 0 ? depth - 1 : 0) * 2, ' ');
        text += tree.Label(at) + "\n";
    }
    return text;
}

std::string TreeDocument::FrameNames() const {
    std::string names;
    for (Gif* gif = animation.head; gif; gif = gif->next)
        names += (names.empty() ? "" : " ") + gif->name;
    return names;
}

std::vector<std::string> Texts(const CommentList& list) { return {list.begin(), list.end()}; }

namespace {

::testing::AssertionResult ListIsLinked(const Animation& animation) {
    std::size_t index = 0;
    for (Gif* gif = animation.head; gif; gif = gif->next, ++index) {
        if (gif->alive != 1)
            return ::testing::AssertionFailure() << "frame " << index << " is dead";
        if (gif->animation != &animation)
            return ::testing::AssertionFailure() << "frame " << index << " is another document's";
        if (index == 0 && gif->prev)
            return ::testing::AssertionFailure() << "the head has a predecessor";
        if (gif->next && gif->next->prev != gif)
            return ::testing::AssertionFailure() << "frame " << index << " is not its next's prev";
    }
    return ::testing::AssertionSuccess();
}

const std::vector<FrameGroup>* TableOf(const GroupTables& groups, const std::string& word) {
    if (word == "Effect") return &groups.effects;
    if (word == "Trans") return &groups.transitions;
    return &groups.banners;
}

}  // namespace

::testing::AssertionResult TreeMatchesList(const TreeDocument& document) {
    const DocumentTree& tree = document.tree;
    const Animation& animation = document.animation;
    if (auto linked = ListIsLinked(animation); !linked) return linked;

    std::map<TreeItem, Gif*> frameOf;
    Gif* gif = animation.head;
    std::size_t index = 0;
    for (TreeItem at = tree.FirstImageItem(); at != kNoItem; at = tree.NextImageItem(at), ++index) {
        if (!gif)
            return ::testing::AssertionFailure() << "image item " << index << " \""
                                                 << tree.Label(at) << "\" has no frame; tree:\n"
                                                 << document.Outline();
        if (tree.Label(at) != document.ExpectedLabel(*gif))
            return ::testing::AssertionFailure()
                   << "image item " << index << " is \"" << tree.Label(at) << "\", frame " << index
                   << " is \"" << gif->name << "\"; tree:\n"
                   << document.Outline() << "frames: " << document.FrameNames();
        const std::size_t comments = tree.Children(at).size();
        if (comments != gif->comments.Size())
            return ::testing::AssertionFailure()
                   << "\"" << tree.Label(at) << "\" shows " << comments << " comments of "
                   << gif->comments.Size();
        frameOf[at] = gif;
        gif = gif->next;
    }
    if (gif)
        return ::testing::AssertionFailure() << "frame \"" << gif->name << "\" has no item; tree:\n"
                                             << document.Outline();

    std::size_t globalItems = 0;
    for (TreeItem child : tree.Children(tree.Root()))
        if (tree.KindOf(child) == SelectionKind::GlobalComment) ++globalItems;
    if (globalItems != animation.globalComments.Size())
        return ::testing::AssertionFailure() << globalItems << " global comment items for "
                                             << animation.globalComments.Size() << " comments";

    for (TreeItem at = tree.Root(); at != kNoItem; at = tree.NextItem(at)) {
        const SelectionKind kind = tree.KindOf(at);
        if (kind != SelectionKind::EffectGroup && kind != SelectionKind::BannerGroup) continue;
        char word[32] = {};
        int number = 0;
        if (std::sscanf(tree.Label(at).c_str(), "%31s %d", word, &number) != 2)
            return ::testing::AssertionFailure() << "group label \"" << tree.Label(at) << "\"";
        const std::vector<FrameGroup>& table = *TableOf(document.groups, word);
        if (number < 1 || static_cast<std::size_t>(number) > table.size())
            return ::testing::AssertionFailure() << "\"" << tree.Label(at) << "\" has no entry";
        Gif* first = nullptr;
        Gif* last = nullptr;
        const TreeItem end = tree.NextItemAfterSubtree(at);
        for (TreeItem in = tree.NextItem(at); in != end; in = tree.NextItem(in)) {
            if (!frameOf.count(in)) continue;
            if (!first) first = frameOf[in];
            last = frameOf[in];
        }
        const FrameGroup& entry = table[static_cast<std::size_t>(number - 1)];
        if (entry.first != first || entry.last != last || !first)
            return ::testing::AssertionFailure()
                   << "\"" << tree.Label(at) << "\" spans "
                   << (entry.first ? entry.first->name : "null") << ".."
                   << (entry.last ? entry.last->name : "null") << " but holds "
                   << (first ? first->name : "null") << ".." << (last ? last->name : "null");
    }
    return ::testing::AssertionSuccess();
}

}  // namespace anitrope::test
