#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/animation_dump.h"
#include "tree_fixtures.h"

namespace anitrope::test {
namespace {

// Unanswered scripted answers mean a box that should have been shown was not.
void ExpectAsked(const TreeDocument& doc, std::size_t count) {
    EXPECT_EQ(doc.boxes.shown.size(), count);
    EXPECT_EQ(doc.boxes.Unanswered(), 0u);
}

Gif* Current(const TreeDocument& doc) { return doc.editor.CurrentGif(); }
OutlineItem Selected(const TreeDocument& doc) { return doc.editor.Selected(); }

TEST(RemovalImage, FirstOfTwoMakesTheSecondTheHeadAndCurrent) {
    TreeDocument doc;
    doc.Append({{"a"}, {"b"}});
    doc.Remove("Gif :a");
    EXPECT_EQ(doc.FrameNames(), "b");
    EXPECT_EQ(doc.editor.Data().head, doc.Frame("b"));
    EXPECT_EQ(Current(doc), doc.Frame("b"));
    EXPECT_EQ(Selected(doc), doc.Item("Gif :b"));
    EXPECT_TRUE(doc.editor.Modified());
    EXPECT_EQ(doc.Text(), "Root\nGif :b\n");
    EXPECT_TRUE(Consistent(doc));
}

TEST(RemovalImage, AsksWithTheLabelAsAWarning) {
    TreeDocument doc;
    doc.Append({{"/pics/a.gif"}, {"b"}});
    doc.Remove("Gif :a.gif");
    ExpectAsked(doc, 1);
    const MessageRequest& box = doc.boxes.shown.at(0);
    EXPECT_EQ(box.text, "Do you really want to remove Gif :a.gif from the list ?");
    EXPECT_EQ(box.title, "Confirm Removal");
    EXPECT_EQ(box.icon, MessageIcon::Warning);
    EXPECT_EQ(box.buttons, kYesNoButtons);
}

// A frame or a group: anything but Yes keeps the document, the selection and the history.
TEST(Removal, AnythingButYesChangesNothing) {
    for (const char* label : {"Gif :b", "Effect 1: Fade"}) {
        for (const char* answer : {"&No", static_cast<const char*>(nullptr)}) {
            SCOPED_TRACE(std::string(label) + ", " + (answer ? answer : "box closed"));
            TreeDocument doc;
            doc.Append({{"a", {"note"}}, {"b"}, {"c"}});
            doc.AppendGroup("Effect", "Fade", 2);
            const std::string before = DumpDocument(doc.editor.Data());
            doc.Select(label);
            doc.Remove(label, true, answer);
            EXPECT_EQ(DumpDocument(doc.editor.Data()), before);
            EXPECT_EQ(Selected(doc), doc.Item(label));
            EXPECT_FALSE(doc.editor.Modified());
            EXPECT_FALSE(doc.editor.Doc().CanUndo() && doc.editor.Doc().UndoName() == "Delete");
        }
    }
}

TEST(RemovalImage, WithConfirmDeleteOffAsksNothing) {
    TreeDocument doc;
    doc.Append({{"a"}, {"b"}});
    doc.Remove("Gif :a", false, nullptr);
    EXPECT_TRUE(doc.boxes.shown.empty());
    EXPECT_EQ(doc.FrameNames(), "b");
}

// Where the selection goes: the item after the frame (its comments went with it), else its
// previous sibling; the current frame is the successor, else the predecessor.
TEST(RemovalImage, TheSelectionMovesOnAsTheTreeShowsIt) {
    const struct {
        const char* removed;
        const char* selected;
        const char* current;
    } cases[] = {
        {"Gif :b", "Gif :c", "c"},
        {"Gif :c", "Gif :b", "b"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.removed);
        TreeDocument doc;
        doc.Append({{"a"}, {"b", {"c1", "c2"}}, {"c"}});
        doc.Remove(c.removed);
        EXPECT_EQ(Selected(doc), doc.Item(c.selected));
        EXPECT_EQ(Current(doc), doc.Frame(c.current));
        EXPECT_TRUE(Consistent(doc));
    }
}

TEST(RemovalImage, TheNextItemMayLieOutsideTheFramesGroup) {
    TreeDocument doc;
    FrameGroup* fade = doc.AppendGroup("Effect", "Fade", 2);
    doc.Append({{"z"}});
    doc.Remove("Gif :Fade (2/2)");
    EXPECT_EQ(Selected(doc), doc.Item("Gif :z"));
    EXPECT_EQ(Current(doc), doc.Frame("z"));
    EXPECT_EQ(fade->last, doc.Frame("Fade (1/2)"));
    EXPECT_TRUE(Consistent(doc));
}

TEST(RemovalImage, TheOnlyFrameEmptiesTheDocumentWithItsGlobalCommentsUnmodified) {
    for (bool globalComments : {false, true}) {
        SCOPED_TRACE(globalComments ? "with global comments" : "alone");
        TreeDocument doc;
        doc.Append({{"a", {"note"}}});
        if (globalComments) doc.AddGlobalComments({"g"});
        const std::string before = DumpDocument(doc.editor.Data());
        doc.Remove("Gif :a");
        EXPECT_EQ(doc.Text(), "Root\n");
        EXPECT_EQ(Selected(doc), OutlineItem::Root());
        EXPECT_FALSE(doc.editor.HasAnimation());
        EXPECT_EQ(Current(doc), nullptr);
        EXPECT_FALSE(doc.editor.Modified());
        EXPECT_FALSE(doc.editor.MenuEnabled(CmdDelete));
        // The edit still comes back.
        ASSERT_TRUE(doc.editor.Undo());
        EXPECT_EQ(DumpDocument(doc.editor.Data()), before);
        EXPECT_EQ(Current(doc), doc.Frame("a"));
    }
}

TEST(RemovalImage, TheOnlyFrameOfAGroupTakesTheGroup) {
    TreeDocument doc;
    doc.Append({{"a"}});
    FrameGroup* fade = doc.AppendGroup("Effect", "Fade", 1);
    doc.AppendGroup("Effect", "Zoom", 2);
    doc.Remove("Gif :Fade (1/1)");
    EXPECT_EQ(doc.Text(),
              "Root\n"
              "Gif :a\n"
              "Effect 2: Zoom\n"
              "  Gif :Zoom (1/2)\n"
              "  Gif :Zoom (2/2)\n");
    EXPECT_EQ(fade->frames, 0u);
    EXPECT_EQ(doc.editor.Data().effectGroups, 2) << "numbers are never reused";
    EXPECT_EQ(Selected(doc), doc.Item("Effect 2: Zoom"));
    EXPECT_EQ(Current(doc), doc.Frame("Zoom (1/2)"));
    EXPECT_TRUE(Consistent(doc));
}

TEST(RemovalImage, AnEmptiedLastGroupHandsTheSelectionToItsPreviousSibling) {
    TreeDocument doc;
    doc.Append({{"a"}});
    doc.AppendGroup("Banner", "", 1);
    doc.Remove("Gif: Banner 1");
    EXPECT_EQ(doc.Text(), "Root\nGif :a\n");
    EXPECT_EQ(Selected(doc), doc.Item("Gif :a"));
    EXPECT_EQ(Current(doc), doc.Frame("a"));
}

TEST(RemovalImage, OneFrameOfAGroupOfThreeLeavesTwo) {
    const struct {
        const char* removed;
        const char* first;
        const char* last;
    } cases[] = {
        {"Fade (1/3)", "Fade (2/3)", "Fade (3/3)"},
        {"Fade (2/3)", "Fade (1/3)", "Fade (3/3)"},
        {"Fade (3/3)", "Fade (1/3)", "Fade (2/3)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.removed);
        TreeDocument doc;
        doc.Append({{"a"}});
        FrameGroup* group = doc.AppendGroup("Effect", "Fade", 3);
        doc.Append({{"z"}});
        doc.Remove(std::string("Gif :") + c.removed);
        EXPECT_EQ(doc.editor.Items().Children(OutlineItem::Group(group)).size(), 2u);
        EXPECT_EQ(group->first, doc.Frame(c.first));
        EXPECT_EQ(group->last, doc.Frame(c.last));
        EXPECT_TRUE(Consistent(doc));
    }
}

TEST(RemovalImage, DoesNothingForTheRoot) {
    TreeDocument doc;
    doc.Append({{"a"}});
    doc.editor.Select(OutlineItem::Root());
    doc.editor.Dispatch(CmdDelete);
    EXPECT_TRUE(doc.boxes.shown.empty());
    EXPECT_EQ(doc.FrameNames(), "a");
    EXPECT_FALSE(doc.editor.Doc().CanUndo() && doc.editor.Doc().UndoName() == "Delete");
}

// Pictures after a removal are those of the document without the frame, whatever was composed
// before.
TEST(RemovalImage, PicturesAfterwardsShowTheDocumentWithoutTheFrame) {
    TreeDocument doc;
    doc.Append({{"a"}, {"b"}, {"c"}, {"d"}});
    // b and c are transparent where their pixels are 0; a and d cover the screen opaquely.
    for (const char* name : {"a", "b", "c", "d"}) {
        Gif& gif = *doc.Frame(name);
        const bool opaque = name[0] == 'a' || name[0] == 'd';
        Transaction edit(doc.editor.Doc(), "Build");
        Palette palette = gif.palette;
        palette[0] = {name[0], 0, 0};
        palette[1] = {0, name[0], 0};
        edit.Set(gif, &Gif::palette, palette);
        edit.Set(gif, &Gif::transparent, opaque ? 0 : 1);
        edit.Set(gif, &Gif::hasTransparentPixels, opaque ? 0 : 1);
    }
    Compositor& pictures = doc.editor.Pictures();
    for (Gif* gif = doc.editor.Data().head; gif; gif = gif->next) pictures.GetDisplayBitmap(*gif);
    doc.Remove("Gif :a");
    Compositor fresh(doc.editor.Data(), nullptr);
    for (Gif* gif = doc.editor.Data().head; gif; gif = gif->next) {
        SCOPED_TRACE(gif->name);
        const auto ours = pictures.GetDisplayBitmap(*gif);
        const auto theirs = fresh.GetDisplayBitmap(*gif);
        ASSERT_TRUE(ours && theirs);
        EXPECT_EQ(ours->Get(0, 0), theirs->Get(0, 0));
        EXPECT_EQ(ours->Get(1, 0), theirs->Get(1, 0));
    }
}

TEST(RemovalComment, TheFirstOfTwoLeavesNumberTwoStandingForTheFirst) {
    TreeDocument doc;
    doc.Append({{"a", {"one", "two"}}, {"b"}});
    doc.Select("Gif :a");
    Gif* current = Current(doc);
    doc.Remove("Comment [1]", true, nullptr);
    EXPECT_TRUE(doc.boxes.shown.empty());
    EXPECT_EQ(doc.Text(), "Root\nGif :a\n  Comment [2]\nGif :b\n");
    EXPECT_EQ(Texts(doc.Frame("a")->comments), (std::vector<std::string>{"two"}));
    EXPECT_EQ(Selected(doc), doc.Item("Comment [2]"));
    EXPECT_EQ(Current(doc), current);
    EXPECT_TRUE(Consistent(doc));

    // The item left now removes the one comment left.
    doc.Remove("Comment [2]", true, nullptr);
    EXPECT_TRUE(doc.Frame("a")->comments.Empty());
    EXPECT_EQ(Selected(doc), doc.Item("Gif :a"));
    EXPECT_EQ(doc.FrameNames(), "a b");
    // Both come back with their numbers.
    doc.editor.Undo();
    doc.editor.Undo();
    EXPECT_EQ(doc.Text(), "Root\nGif :a\n  Comment [1]\n  Comment [2]\nGif :b\n");
}

TEST(RemovalComment, RemovesTheCommentAtTheItemsPosition) {
    TreeDocument doc;
    doc.Append({{"a"}, {"b", {"one", "two", "three"}}});
    doc.Remove("Comment [2]", true, nullptr);
    EXPECT_EQ(Texts(doc.Frame("b")->comments), (std::vector<std::string>{"one", "three"}));
    EXPECT_EQ(doc.Text(), "Root\nGif :a\nGif :b\n  Comment [1]\n  Comment [3]\n");
    EXPECT_EQ(Selected(doc), doc.Item("Comment [3]"));
    doc.Remove("Comment [3]", true, nullptr);
    EXPECT_EQ(Texts(doc.Frame("b")->comments), (std::vector<std::string>{"one"}));
    EXPECT_EQ(Selected(doc), doc.Item("Comment [1]"));
}

TEST(RemovalGlobalComment, RemovesByPositionAndClearsTheFlagWhenNoneAreLeft) {
    TreeDocument doc;
    doc.Append({{"a"}});
    doc.AddGlobalComments({"g1", "g2"});
    doc.Remove("GlobalComment [1]", true, nullptr);
    EXPECT_TRUE(doc.boxes.shown.empty());
    EXPECT_EQ(Texts(doc.editor.Data().globalComments), (std::vector<std::string>{"g2"}));
    EXPECT_EQ(doc.editor.Data().hasGlobalComments, 1);
    EXPECT_EQ(doc.Text(), "Root\nGlobalComment [2]\nGif :a\n");
    EXPECT_EQ(Selected(doc), doc.Item("GlobalComment [2]"));

    doc.Remove("GlobalComment [2]", true, nullptr);
    EXPECT_TRUE(doc.editor.Data().globalComments.Empty());
    EXPECT_EQ(doc.editor.Data().hasGlobalComments, 0);
    EXPECT_EQ(Selected(doc), OutlineItem::Root()) << "the frame after is no global comment";
    EXPECT_EQ(doc.FrameNames(), "a");
    EXPECT_TRUE(Consistent(doc));
}

TEST(RemovalGroup, AlwaysAsksEvenWithConfirmDeleteOff) {
    TreeDocument doc;
    doc.Append({{"a"}});
    doc.AppendGroup("Effect", "Fade", 2);
    doc.Remove("Effect 1: Fade", false);
    ExpectAsked(doc, 1);
    const MessageRequest& box = doc.boxes.shown.at(0);
    EXPECT_EQ(box.text,
              "Do you really want to remove 'Effect 1: Fade' and all its images from "
              "the list ?");
    EXPECT_EQ(doc.FrameNames(), "a");
}

TEST(RemovalGroup, AGroupStartingTheListMakesTheFrameAfterItTheHead) {
    TreeDocument doc;
    doc.AppendGroup("Effect", "Fade", 3);
    doc.Append({{"b"}, {"c"}});
    doc.Remove("Effect 1: Fade");
    EXPECT_EQ(doc.FrameNames(), "b c");
    EXPECT_EQ(doc.editor.Data().head, doc.Frame("b"));
    EXPECT_EQ(doc.Frame("b")->prev, nullptr);
    EXPECT_EQ(Current(doc), doc.Frame("b"));
    EXPECT_EQ(Selected(doc), OutlineItem::Root()) << "no previous sibling: the parent";
    EXPECT_TRUE(doc.editor.Modified());
    EXPECT_TRUE(Consistent(doc));
}

TEST(RemovalGroup, AGroupInTheMiddleSelectsItsPreviousSiblingAndPredecessor) {
    TreeDocument doc;
    doc.Append({{"a"}});
    FrameGroup* wipe = doc.AppendGroup("Trans", "Wipe", 2);
    doc.AppendGroup("Effect", "Fade", 2);
    doc.Append({{"z"}});
    doc.Remove("Effect 1: Fade");
    EXPECT_EQ(doc.FrameNames(), "a Wipe (1/2) Wipe (2/2) z");
    EXPECT_EQ(Selected(doc), doc.Item("Trans 1: Wipe"));
    EXPECT_EQ(Current(doc), doc.Frame("Wipe (2/2)"));
    EXPECT_EQ(wipe->last, doc.Frame("Wipe (2/2)")) << "the other group";
    EXPECT_TRUE(Consistent(doc));
}

// A frame pasted into a group belongs to it: the group goes with all of its images.
TEST(RemovalGroup, TakesEveryFrameTheGroupHoldsAndOnlyThose) {
    TreeDocument doc;
    doc.Append({{"a"}});
    doc.AppendGroup("Effect", "Fade", 2);
    doc.AppendGroup("Effect", "Zoom", 1);
    doc.Select("Gif :Fade (1/2)");
    doc.clipboard.image = ClipboardImage{2, 1, {0x112233, 0x445566}};
    doc.editor.Dispatch(CmdPaste);
    EXPECT_EQ(doc.Text(),
              "Root\n"
              "Gif :a\n"
              "Effect 1: Fade\n"
              "  Gif :Fade (1/2)\n"
              "  Gif : Copy of Clipboard\n"
              "  Gif :Fade (2/2)\n"
              "Effect 2: Zoom\n"
              "  Gif :Zoom (1/1)\n");
    doc.Remove("Effect 1: Fade");
    EXPECT_EQ(doc.FrameNames(), "a Zoom (1/1)");
    EXPECT_TRUE(Consistent(doc));
}

TEST(RemovalGroup, TheWholeListEmptiesTheDocument) {
    TreeDocument doc;
    doc.AppendGroup("Banner", "", 3);
    doc.Remove("Banner 1");
    EXPECT_EQ(doc.Text(), "Root\n");
    EXPECT_FALSE(doc.editor.HasAnimation());
    EXPECT_EQ(Current(doc), nullptr);
}

TEST(RemovalGroup, ShowsBusyWhileFreeingFrames) {
    TreeDocument doc;
    doc.AppendGroup("Effect", "Fade", 2);
    doc.Append({{"z"}});
    std::vector<std::string> calls;
    doc.editor.busy = [&](bool on) {
        calls.push_back(std::string(on ? "on " : "off ") + doc.FrameNames());
    };
    doc.Remove("Effect 1: Fade");
    EXPECT_EQ(calls, (std::vector<std::string>{"on Fade (1/2) Fade (2/2) z", "off z"}));
}

// A long mixed sequence keeps list and tree together to the end, and every step comes back.
TEST(RemovalSequence, KeepsTheDocumentConsistentToTheEndAndUndoesToTheStart) {
    TreeDocument doc;
    doc.Append({{"a", {"ca"}}, {"b"}});
    doc.AppendGroup("Effect", "Fade", 3);
    doc.AppendGroup("Banner", "", 2);
    doc.Append({{"z", {"c1", "c2"}}});
    doc.AddGlobalComments({"g"});
    const std::string start = DumpDocument(doc.editor.Data());
    const std::string startText = doc.Text();
    // Groups always ask; images do not, with Confirm Delete off.
    const struct {
        const char* label;
        const char* answer;
    } steps[] = {{"Gif :Fade (2/3)", nullptr},
                 {"Comment [1]", nullptr},
                 {"Banner 1", "&Yes"},
                 {"Gif :a", nullptr},
                 {"GlobalComment [1]", nullptr},
                 {"Gif :Fade (1/3)", nullptr},
                 {"Gif :Fade (3/3)", nullptr},
                 {"Gif :z", nullptr},
                 {"Gif :b", nullptr}};
    for (const auto& step : steps) {
        SCOPED_TRACE(step.label);
        doc.Remove(step.label, false, step.answer);
        ASSERT_TRUE(Consistent(doc));
    }
    EXPECT_EQ(doc.boxes.shown.size(), 1u);
    EXPECT_EQ(doc.Text(), "Root\n");
    EXPECT_FALSE(doc.editor.HasAnimation());
    for (std::size_t i = 0; i < std::size(steps); ++i) {
        ASSERT_TRUE(doc.editor.Undo()) << i;
        ASSERT_TRUE(Consistent(doc)) << i;
    }
    EXPECT_EQ(DumpDocument(doc.editor.Data()), start);
    EXPECT_EQ(doc.Text(), startText);
    EXPECT_FALSE(doc.editor.Modified());
}

}  // namespace
}  // namespace anitrope::test
