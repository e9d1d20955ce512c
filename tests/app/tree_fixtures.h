#pragma once

// Documents for the tree tests: an editor whose document is built from short descriptions
// (frames with comments, groups, global comments), shown as the text of its tree.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/command_ids.h"
#include "app/editor.h"
#include "model/outline.h"
#include "scripted_dialogs.h"

namespace anitrope::test {

struct FrameSpec {
    std::string name;
    std::vector<std::string> comments = {};
};

class TreeDocument {
public:
    TreeDocument();

    // New frames of 2 x 1 pixels at the end of the list, at the top of the tree.
    void Append(const std::vector<FrameSpec>& frames);
    // `count` generated frames at the end in one new group of the kind the word names:
    // "Effect" and "Trans" groups are labelled "<word> <n>: <name>" with images
    // "Gif :<name> (i/count)", "Banner" groups "Banner <n>" with images "Gif: Banner <i>".
    FrameGroup* AppendGroup(const std::string& word, const std::string& name, int count);
    void AddGlobalComments(const std::vector<std::string>& texts);

    // The only item with this label; fails the test when there is none.
    OutlineItem Item(const std::string& label) const;
    void Select(const std::string& label) { editor.Select(Item(label)); }
    Gif* Frame(const std::string& name) const;  // null when no frame has the name

    // One line per item in depth-first order, the root first, indented two spaces per level
    // below it.
    std::string Text() const;
    // The frame names in list order, separated by spaces.
    std::string FrameNames() const;

    // Selects the item and deletes it ("Confirm Delete" as given), answering the next box
    // with `answer` when one is given.
    void Remove(const std::string& label, bool confirmDelete = true, const char* answer = "&Yes");

    Settings settings;
    ScriptedMessageBoxes boxes;
    ScriptedFileChooser files;
    MemoryClipboard clipboard;
    Editor editor{settings, boxes, files, clipboard};

private:
    Gif* Chain(const std::vector<FrameSpec>& frames);
    // The build is the document as opened: saved, its first image made current.
    void Opened();
};

// The list is linked both ways from its head, every frame is listed and the document's, each
// group spans exactly the run of frames inside it, and the editor's selection and current
// frame are in the document.
::testing::AssertionResult Consistent(const TreeDocument& document);

std::vector<std::string> Texts(const CommentList& list);

}  // namespace anitrope::test
