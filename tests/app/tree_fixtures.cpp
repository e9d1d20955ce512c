#include "tree_fixtures.h"

#include <map>
#include <set>

#include "model/frame_alloc.h"

namespace anitrope::test {

TreeDocument::TreeDocument() { editor.Doc().SetHistoryBound(kDefaultHistoryBytes); }

Gif* TreeDocument::Chain(const std::vector<FrameSpec>& frames) {
    Gif* head = nullptr;
    Gif* tail = nullptr;
    for (const FrameSpec& wanted : frames) {
        Gif* gif = editor.Doc().CreateFrame(nullptr);
        AllocIndexed(*gif, 2, 1);
        gif->name = wanted.name;
        for (const std::string& text : wanted.comments) gif->comments.Append(text);
        gif->prev = tail;
        (tail ? tail->next : head) = gif;
        tail = gif;
    }
    return head;
}

void TreeDocument::Append(const std::vector<FrameSpec>& frames) {
    {
        Transaction edit(editor.Doc(), "Build");
        edit.Set(&Animation::screenWidth, 2);
        edit.Set(&Animation::screenHeight, 1);
        edit.Insert(Chain(frames), Place{editor.Data().LastFrame(), nullptr});
    }
    Opened();
}

FrameGroup* TreeDocument::AppendGroup(const std::string& word, const std::string& name, int count) {
    const bool banner = word == "Banner";
    std::vector<FrameSpec> specs;
    for (int i = 1; i <= count; ++i) {
        const std::string index = std::to_string(i);
        specs.push_back({banner ? "Banner " + index : name + " (" + index + "/" + std::to_string(count) + ")"});
    }
    Gif* chain = Chain(specs);
    for (Gif* gif = chain; gif; gif = gif->next) gif->label = (banner ? "Gif: " : "Gif :") + gif->name;
    auto group = MakeGroup(banner ? GroupKind::Banner
                                  : word == "Trans" ? GroupKind::Transition : GroupKind::Effect,
                           banner ? std::string() : name);
    {
        Transaction edit(editor.Doc(), "Build");
        edit.Set(&Animation::screenWidth, 2);
        edit.Set(&Animation::screenHeight, 1);
        edit.Insert(chain, Place{editor.Data().LastFrame(), nullptr}, group);
    }
    Opened();
    return group.get();
}

void TreeDocument::AddGlobalComments(const std::vector<std::string>& texts) {
    {
        Transaction edit(editor.Doc(), "Build");
        for (const std::string& text : texts)
            edit.InsertComment(nullptr, editor.Data().globalComments.Size(), text);
    }
    Opened();
}

void TreeDocument::Opened() {
    editor.Doc().MarkSaved();
    // As after loading a file: the first image is current.
    if (!editor.CurrentGif() && editor.Data().head) {
        const OutlineItem selected = editor.Selected();
        editor.Select(OutlineItem::Frame(editor.Data().head));
        editor.Select(selected);
    }
}

OutlineItem TreeDocument::Item(const std::string& label) const {
    const Outline outline = editor.Items();
    for (MaybeItem at = OutlineItem::Root(); at; at = outline.NextItem(*at))
        if (outline.Label(*at) == label) return *at;
    ADD_FAILURE() << "no item labelled \"" << label << "\" in\n" << Text();
    return OutlineItem::Root();
}

Gif* TreeDocument::Frame(const std::string& name) const {
    for (Gif* gif = editor.Data().head; gif; gif = gif->next)
        if (gif->name == name) return gif;
    return nullptr;
}

std::string TreeDocument::Text() const {
    const Outline outline = editor.Items();
    std::string text;
    for (MaybeItem at = OutlineItem::Root(); at; at = outline.NextItem(*at)) {
        int depth = 0;
        for (MaybeItem up = outline.Parent(*at); up; up = outline.Parent(*up)) ++depth;
        text += std::string(static_cast<std::size_t>(depth > 0 ? depth - 1 : 0) * 2, ' ');
        text += outline.Label(*at) + "\n";
    }
    return text;
}

std::string TreeDocument::FrameNames() const {
    std::string names;
    for (Gif* gif = editor.Data().head; gif; gif = gif->next)
        names += (names.empty() ? "" : " ") + gif->name;
    return names;
}

void TreeDocument::Remove(const std::string& label, bool confirmDelete, const char* answer) {
    Select(label);
    settings.confirmDelete = confirmDelete ? 1 : 0;
    if (answer) boxes.Answer(answer);
    editor.Dispatch(CmdDelete);
}

std::vector<std::string> Texts(const CommentList& list) { return {list.begin(), list.end()}; }

::testing::AssertionResult Consistent(const TreeDocument& document) {
    const Animation& animation = document.editor.Data();
    std::map<const FrameGroup*, std::vector<const Gif*>> members;
    std::size_t index = 0;
    for (const Gif* gif = animation.head; gif; gif = gif->next, ++index) {
        if (gif->alive != 1) return ::testing::AssertionFailure() << "frame " << index << " is not listed";
        if (gif->animation != &animation)
            return ::testing::AssertionFailure() << "frame " << index << " is another document's";
        if (index == 0 && gif->prev) return ::testing::AssertionFailure() << "the head has a predecessor";
        if (gif->next && gif->next->prev != gif)
            return ::testing::AssertionFailure() << "frame " << index << " is not its next's prev";
        for (const FrameGroup* group = gif->group.get(); group; group = group->parent.get())
            members[group].push_back(gif);
    }
    for (const auto& [group, frames] : members) {
        if (group->first != frames.front() || group->last != frames.back() ||
            group->frames != frames.size())
            return ::testing::AssertionFailure() << "\"" << GroupLabel(*group) << "\" counts "
                                                 << group->frames << " frames of " << frames.size();
        for (const Gif* gif = frames.front(); gif != frames.back(); gif = gif->next)
            if (!GroupWithin(gif->group.get(), group))
                return ::testing::AssertionFailure() << "\"" << GroupLabel(*group) << "\" is broken by \""
                                                     << gif->name << "\"";
    }
    const Outline outline = document.editor.Items();
    if (!outline.Contains(document.editor.Selected()))
        return ::testing::AssertionFailure() << "the selection is not in the document";
    const Gif* current = document.editor.CurrentGif();
    if (current && !current->alive) return ::testing::AssertionFailure() << "the current frame is gone";
    return ::testing::AssertionSuccess();
}

}  // namespace anitrope::test
