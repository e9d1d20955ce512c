#pragma once

// Documents for the tree tests: an animation built in memory, its tree made by InsertFrames
// and InsertGroup as the loaders make it, and the shell's state that removal changes.

#include <gtest/gtest.h>

#include <iosfwd>
#include <map>
#include <string>
#include <vector>

#include "app/document_tree.h"
#include "model/animation.h"
#include "model/gif.h"
#include "scripted_dialogs.h"

namespace anitrope {
// Lets GoogleTest print outcomes by name.
void PrintTo(RemovalOutcome outcome, std::ostream* out);
}  // namespace anitrope

namespace anitrope::test {

struct FrameSpec {
    std::string name;
    std::vector<std::string> comments = {};
};

struct TreeDocument {
    Animation animation;
    DocumentTree tree;
    GroupTables groups;
    ScriptedMessageBoxes boxes;
    Gif* currentGif = nullptr;
    bool modified = false;

    RemovalContext Context(bool confirmDelete = true);

    // New frames at the end of the list, their items at the end under the root.
    std::vector<TreeItem> Append(const std::vector<FrameSpec>& frames);
    // `count` generated frames at the end of the list under one group item at the end of the
    // root, with their entry in the table the word names: "Effect" and "Trans" groups are
    // labelled "<word> <n>: <name>" with images "Gif :<name> (i/count)", "Banner" groups
    // "Banner <n>" with images "Gif: Banner <i>".
    TreeItem AppendGroup(const std::string& word, const std::string& name, int count);
    void AddGlobalComments(const std::vector<std::string>& texts);

    // The only item with this label; fails the test when there is none.
    TreeItem Item(const std::string& label) const;
    // Selects as the shell does: an image item makes its frame the current Gif.
    void Select(TreeItem item);
    void Select(const std::string& label) { Select(Item(label)); }
    Gif* Frame(const std::string& name) const;  // null when no frame has the name

    // One line per item in depth-first order, indented two spaces per level below the root.
    std::string Outline() const;
    // The frame names in list order, separated by spaces.
    std::string FrameNames() const;

    // Links `gif` into the list after `prev` (at the head when null).
    void LinkAfter(Gif* prev, Gif* gif);
    Gif* NewFrame(const FrameSpec& request);  // not linked yet

    // The label each frame's item was given; generated frames are not labelled by name.
    std::string ExpectedLabel(const Gif& gif) const;

private:
    TreeItem LastRootChild() const;
    std::map<const Gif*, std::string> labels_;
};

// The tree's image items in depth-first order are the frames of the list, one for one and with
// their labels; the list is linked both ways from its head; every group item's table entry
// spans exactly its images; every image has one comment item per comment; the leading global
// comment items match the global comments.
::testing::AssertionResult TreeMatchesList(const TreeDocument& document);

std::vector<std::string> Texts(const CommentList& list);

}  // namespace anitrope::test
