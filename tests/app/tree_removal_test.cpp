#include <gtest/gtest.h>

#include <memory>

#include "app/document_tree.h"
#include "model/compositor.h"
#include "model/frame_alloc.h"
#include "tree_fixtures.h"

namespace anitrope::test {
namespace {

// Selects the item as the shell does and deletes it, answering the next box with `answer`
// when one is given.
RemovalOutcome Remove(TreeDocument& doc, const std::string& label, bool confirmDelete = true,
                      const char* answer = "&Yes") {
    doc.Select(label);
    if (answer) doc.boxes.Answer(answer);
    RemovalContext context = doc.Context(confirmDelete);
    return RemoveSelected(doc.tree, context);
}

// Unanswered scripted answers mean a box that should have been shown was not.
void ExpectAsked(const TreeDocument& doc, std::size_t count) {
    EXPECT_EQ(doc.boxes.shown.size(), count);
    EXPECT_EQ(doc.boxes.Unanswered(), 0u);
}

TEST(TreeRemovalImage, FirstOfTwoMakesTheSecondTheHeadAndCurrent) {
    TreeDocument doc;
    doc.Append({{"a"}, {"b"}});
    EXPECT_EQ(Remove(doc, "Gif :a"), RemovalOutcome::Removed);
    EXPECT_EQ(doc.FrameNames(), "b");
    EXPECT_EQ(doc.animation.head, doc.Frame("b"));
    EXPECT_EQ(doc.currentGif, doc.Frame("b"));
    EXPECT_EQ(doc.animation.current, doc.Frame("b"));
    EXPECT_EQ(doc.tree.Selected(), doc.Item("Gif :b"));
    EXPECT_TRUE(doc.modified);
    EXPECT_EQ(doc.Outline(), "Root\nGif :b\n");
    EXPECT_TRUE(TreeMatchesList(doc));
}

TEST(TreeRemovalImage, AsksWithTheLabelAsAWarning) {
    TreeDocument doc;
    doc.Append({{"/pics/a.gif"}, {"b"}});
    Remove(doc, "Gif :a.gif");
    ExpectAsked(doc, 1);
    const MessageRequest& box = doc.boxes.shown.at(0);
    EXPECT_EQ(box.text, "Do you really want to remove Gif :a.gif from the list ?");
    EXPECT_EQ(box.title, "Confirm Removal");
    EXPECT_EQ(box.icon, MessageIcon::Warning);
    EXPECT_EQ(box.buttons, kYesNoButtons);
}

TEST(TreeRemovalImage, AnythingButYesChangesNothing) {
    for (const char* answer : {"&No", static_cast<const char*>(nullptr)}) {
        SCOPED_TRACE(answer ? answer : "box closed");
        TreeDocument doc;
        doc.Append({{"a", {"note"}}, {"b"}, {"c"}});
        doc.AppendGroup("Effect", "Fade", 2);
        const std::string before = doc.Outline();
        doc.Select("Gif :b");
        Gif* current = doc.currentGif;
        doc.boxes.shown.clear();
        EXPECT_EQ(Remove(doc, "Gif :b", true, answer), RemovalOutcome::Cancelled);
        EXPECT_EQ(doc.Outline(), before);
        EXPECT_EQ(doc.FrameNames(), "a b c Fade (1/2) Fade (2/2)");
        EXPECT_EQ(doc.currentGif, current);
        EXPECT_EQ(doc.tree.Selected(), doc.Item("Gif :b"));
        EXPECT_FALSE(doc.modified);
        EXPECT_EQ(doc.groups.effects[0].first, doc.Frame("Fade (1/2)"));
        EXPECT_TRUE(TreeMatchesList(doc));
    }
}

TEST(TreeRemovalImage, WithConfirmDeleteOffAsksNothing) {
    TreeDocument doc;
    doc.Append({{"a"}, {"b"}});
    EXPECT_EQ(Remove(doc, "Gif :a", false, nullptr), RemovalOutcome::Removed);
    EXPECT_TRUE(doc.boxes.shown.empty());
    EXPECT_EQ(doc.FrameNames(), "b");
}

TEST(TreeRemovalImage, AMiddleFrameSelectsTheNextItemAndItsSuccessor) {
    TreeDocument doc;
    doc.Append({{"a"}, {"b", {"c1", "c2"}}, {"c"}});
    EXPECT_EQ(Remove(doc, "Gif :b"), RemovalOutcome::Removed);
    // Its own comments went with it; the next item is the one after them.
    EXPECT_EQ(doc.Outline(), "Root\nGif :a\nGif :c\n");
    EXPECT_EQ(doc.tree.Selected(), doc.Item("Gif :c"));
    EXPECT_EQ(doc.currentGif, doc.Frame("c"));
    EXPECT_EQ(doc.Frame("a")->next, doc.Frame("c"));
    EXPECT_EQ(doc.Frame("c")->prev, doc.Frame("a"));
    EXPECT_TRUE(TreeMatchesList(doc));
}

TEST(TreeRemovalImage, TheLastFrameSelectsThePreviousSiblingAndThePredecessor) {
    TreeDocument doc;
    doc.Append({{"a"}, {"b"}, {"c"}});
    EXPECT_EQ(Remove(doc, "Gif :c"), RemovalOutcome::Removed);
    EXPECT_EQ(doc.tree.Selected(), doc.Item("Gif :b"));
    EXPECT_EQ(doc.currentGif, doc.Frame("b"));
    EXPECT_EQ(doc.Frame("b")->next, nullptr);
    EXPECT_TRUE(TreeMatchesList(doc));
}

TEST(TreeRemovalImage, TheNextItemMayLieOutsideTheFramesGroup) {
    TreeDocument doc;
    doc.AppendGroup("Effect", "Fade", 2);
    doc.Append({{"z"}});
    EXPECT_EQ(Remove(doc, "Gif :Fade (2/2)"), RemovalOutcome::Removed);
    EXPECT_EQ(doc.tree.Selected(), doc.Item("Gif :z"));
    EXPECT_EQ(doc.currentGif, doc.Frame("z"));
    EXPECT_EQ(doc.groups.effects[0].last, doc.Frame("Fade (1/2)"));
    EXPECT_TRUE(TreeMatchesList(doc));
}

TEST(TreeRemovalImage, TheOnlyFrameLeavesTheRootAloneUnmodified) {
    TreeDocument doc;
    doc.Append({{"a", {"note"}}});
    EXPECT_EQ(Remove(doc, "Gif :a"), RemovalOutcome::BecameEmpty);
    EXPECT_EQ(doc.Outline(), "Root\n");
    EXPECT_EQ(doc.tree.Selected(), doc.tree.Root());
    EXPECT_EQ(doc.animation.head, nullptr);
    EXPECT_EQ(doc.currentGif, nullptr);
    EXPECT_FALSE(doc.modified);
}

TEST(TreeRemovalImage, TheLastFrameBesideGlobalCommentsEmptiesTheTreeToo) {
    TreeDocument doc;
    doc.Append({{"a"}});
    doc.AddGlobalComments({"g"});
    EXPECT_EQ(Remove(doc, "Gif :a"), RemovalOutcome::BecameEmpty);
    EXPECT_EQ(doc.Outline(), "Root\n");
    EXPECT_EQ(doc.animation.head, nullptr);
}

TEST(TreeRemovalImage, TheOnlyFrameOfAGroupTakesTheGroupAndEmptiesItsEntry) {
    TreeDocument doc;
    doc.Append({{"a"}});
    doc.AppendGroup("Effect", "Fade", 1);
    doc.AppendGroup("Effect", "Zoom", 2);
    EXPECT_EQ(Remove(doc, "Gif :Fade (1/1)"), RemovalOutcome::Removed);
    EXPECT_EQ(doc.Outline(),
              "Root\n"
              "Gif :a\n"
              "Effect 2: Zoom\n"
              "  Gif :Zoom (1/2)\n"
              "  Gif :Zoom (2/2)\n");
    EXPECT_EQ(doc.groups.effects[0].first, nullptr);
    EXPECT_EQ(doc.groups.effects[0].last, nullptr);
    EXPECT_EQ(doc.groups.effects.size(), 2u) << "numbers are never reused";
    EXPECT_EQ(doc.tree.Selected(), doc.Item("Effect 2: Zoom"));
    EXPECT_EQ(doc.currentGif, doc.Frame("Zoom (1/2)"));
    EXPECT_TRUE(TreeMatchesList(doc));
}

TEST(TreeRemovalImage, AnEmptiedLastGroupHandsTheSelectionToItsPreviousSibling) {
    TreeDocument doc;
    doc.Append({{"a"}});
    doc.AppendGroup("Banner", "", 1);
    EXPECT_EQ(Remove(doc, "Gif: Banner 1"), RemovalOutcome::Removed);
    EXPECT_EQ(doc.Outline(), "Root\nGif :a\n");
    EXPECT_EQ(doc.tree.Selected(), doc.Item("Gif :a"));
    EXPECT_EQ(doc.currentGif, doc.Frame("a"));
    EXPECT_EQ(doc.groups.banners[0].first, nullptr);
}

TEST(TreeRemovalImage, OneFrameOfAGroupOfThreeLeavesTwo) {
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
        const TreeItem group = doc.AppendGroup("Effect", "Fade", 3);
        doc.Append({{"z"}});
        EXPECT_EQ(Remove(doc, std::string("Gif :") + c.removed), RemovalOutcome::Removed);
        EXPECT_EQ(doc.tree.Children(group).size(), 2u);
        EXPECT_EQ(doc.groups.effects[0].first, doc.Frame(c.first));
        EXPECT_EQ(doc.groups.effects[0].last, doc.Frame(c.last));
        EXPECT_TRUE(TreeMatchesList(doc));
    }
}

TEST(TreeRemovalImage, FixesEveryTableThatStartsOrEndsAtTheFrame) {
    // The frame closes a transition and opens a banner at once, as neighbouring groups whose
    // entries overlap would.
    TreeDocument doc;
    doc.AppendGroup("Trans", "Wipe", 2);
    doc.Append({{"z"}});
    doc.groups.banners.push_back({doc.Frame("Wipe (2/2)"), doc.Frame("z")});
    EXPECT_EQ(Remove(doc, "Gif :Wipe (2/2)"), RemovalOutcome::Removed);
    EXPECT_EQ(doc.groups.transitions[0].first, doc.Frame("Wipe (1/2)"));
    EXPECT_EQ(doc.groups.transitions[0].last, doc.Frame("Wipe (1/2)"));
    EXPECT_EQ(doc.groups.banners[0].first, doc.Frame("z"));
    EXPECT_EQ(doc.groups.banners[0].last, doc.Frame("z"));
}

TEST(TreeRemovalImage, DoesNothingForTheRootOrWithoutACurrentFrame) {
    TreeDocument doc;
    doc.Append({{"a"}});
    doc.tree.Select(doc.tree.Root());
    RemovalContext context = doc.Context();
    EXPECT_EQ(RemoveSelected(doc.tree, context), RemovalOutcome::Nothing);

    doc.Select("Gif :a");
    doc.currentGif = nullptr;
    EXPECT_EQ(RemoveSelected(doc.tree, context), RemovalOutcome::Nothing);
    EXPECT_TRUE(doc.boxes.shown.empty());
    EXPECT_EQ(doc.FrameNames(), "a");
}

TEST(TreeRemovalImage, AnItemPastTheEndOfTheListSaysBugAndRemovesNothing) {
    TreeDocument doc;
    doc.Append({{"a"}, {"b"}, {"c"}});
    doc.Select("Gif :c");
    DiscardGif(doc.Frame("c"));  // the tree now shows one frame more than the list holds
    doc.currentGif = doc.Frame("b");
    RemovalContext context = doc.Context();
    EXPECT_EQ(RemoveSelected(doc.tree, context), RemovalOutcome::Nothing);
    ASSERT_EQ(doc.boxes.shown.size(), 1u);
    EXPECT_EQ(doc.boxes.shown[0].title, "Bug in GetGif()");
    EXPECT_EQ(doc.Outline(), "Root\nGif :a\nGif :b\nGif :c\n");
    EXPECT_EQ(doc.FrameNames(), "a b");
    EXPECT_FALSE(doc.modified);
}

// Frames on a 2x1 screen that each hold a picture: opaque ones cover the screen, the others
// have a transparent index in use.
class TreeRemovalPictures : public ::testing::Test {
protected:
    void SetUp() override {
        doc.animation.screenWidth = 2;
        doc.animation.screenHeight = 1;
    }
    void Add(const std::string& name, bool opaque, uint32_t disposal = DisposalNotSpecified) {
        doc.Append({{name}});
        Gif& gif = *doc.Frame(name);
        AllocIndexed(gif, 2, 1);
        gif.transparent = opaque ? 0 : 1;
        gif.hasTransparentPixels = opaque ? 0 : 1;
        gif.disposal = disposal;
        gif.displayBitmap = std::make_shared<ScreenImage>(2, 1);
    }
    std::string Pictured() const {
        std::string names;
        for (Gif* gif = doc.animation.head; gif; gif = gif->next)
            if (gif->displayBitmap) names += (names.empty() ? "" : " ") + gif->name;
        return names;
    }
    TreeDocument doc;
};

TEST_F(TreeRemovalPictures, FramesShowingTheRemovedOneDropTheirsUpToAnOpaqueOne) {
    Add("a", true);
    Add("b", true);
    Add("c", false);
    Add("d", false);
    Add("e", true);
    Add("f", false);
    Remove(doc, "Gif :b");
    EXPECT_EQ(Pictured(), "a e f");
}

TEST_F(TreeRemovalPictures, AnOpaqueFrameRestoringToPreviousDoesNotEndTheWalk) {
    Add("a", false);
    Add("b", true, DisposalRestorePrevious);
    Add("c", false);
    Add("d", true);
    Add("e", false);
    Remove(doc, "Gif :a");
    EXPECT_EQ(Pictured(), "b d e");
}

TEST_F(TreeRemovalPictures, RemovingTheLastFrameDropsNothing) {
    Add("a", false);
    Add("b", false);
    Remove(doc, "Gif :b");
    EXPECT_EQ(Pictured(), "a");
}

TEST_F(TreeRemovalPictures, TheCompositorDropsThemAndComposesAgainAfterwards) {
    Add("a", true);
    Add("b", false);
    Add("c", false);
    Add("d", true);
    Compositor compositor(doc.animation, nullptr);
    for (Gif* gif = doc.animation.head; gif; gif = gif->next) {
        gif->displayBitmap.reset();
        ASSERT_NE(compositor.GetDisplayBitmap(*gif), nullptr);
    }
    Remove(doc, "Gif :a");
    EXPECT_EQ(Pictured(), "d");
    EXPECT_FALSE(compositor.CompositionSuspended());
    EXPECT_NE(compositor.GetDisplayBitmap(*doc.Frame("b")), nullptr);

    compositor.SuspendComposition(true);  // the shell's own pause outlasts the removal
    Remove(doc, "Gif :b");
    EXPECT_TRUE(compositor.CompositionSuspended());
    EXPECT_EQ(Pictured(), "d");
}

TEST(TreeRemovalComment, TheFirstOfTwoLeavesNumberTwoStandingForTheFirst) {
    TreeDocument doc;
    doc.Append({{"a", {"one", "two"}}, {"b"}});
    doc.Select("Gif :a");
    Gif* current = doc.currentGif;
    EXPECT_EQ(Remove(doc, "Comment [1]", true, nullptr), RemovalOutcome::Removed);
    EXPECT_TRUE(doc.boxes.shown.empty());
    EXPECT_EQ(doc.Outline(), "Root\nGif :a\n  Comment [2]\nGif :b\n");
    EXPECT_EQ(Texts(doc.Frame("a")->comments), (std::vector<std::string>{"two"}));
    EXPECT_EQ(doc.tree.Selected(), doc.Item("Comment [2]"));
    EXPECT_EQ(doc.currentGif, current);
    EXPECT_TRUE(TreeMatchesList(doc));

    // The renumbered-looking item now removes the one comment left.
    EXPECT_EQ(Remove(doc, "Comment [2]", true, nullptr), RemovalOutcome::Removed);
    EXPECT_TRUE(doc.Frame("a")->comments.Empty());
    EXPECT_EQ(doc.tree.Selected(), doc.Item("Gif :a"));
    EXPECT_EQ(doc.FrameNames(), "a b");
}

TEST(TreeRemovalComment, RemovesTheCommentAtTheItemsPosition) {
    TreeDocument doc;
    doc.Append({{"a"}, {"b", {"one", "two", "three"}}});
    EXPECT_EQ(Remove(doc, "Comment [2]", true, nullptr), RemovalOutcome::Removed);
    EXPECT_EQ(Texts(doc.Frame("b")->comments), (std::vector<std::string>{"one", "three"}));
    EXPECT_EQ(doc.Outline(), "Root\nGif :a\nGif :b\n  Comment [1]\n  Comment [3]\n");
    EXPECT_EQ(doc.tree.Selected(), doc.Item("Comment [3]"));
    EXPECT_EQ(Remove(doc, "Comment [3]", true, nullptr), RemovalOutcome::Removed);
    EXPECT_EQ(Texts(doc.Frame("b")->comments), (std::vector<std::string>{"one"}));
    EXPECT_EQ(doc.tree.Selected(), doc.Item("Comment [1]"));
}

TEST(TreeRemovalComment, AnItemBeyondTheFramesCommentsChangesNothing) {
    TreeDocument doc;
    doc.Append({{"a", {"one", "two"}}});
    doc.Frame("a")->comments = CommentList{};
    doc.Frame("a")->comments.Append("only");
    EXPECT_EQ(Remove(doc, "Comment [2]", true, nullptr), RemovalOutcome::Nothing);
    EXPECT_EQ(Texts(doc.Frame("a")->comments), (std::vector<std::string>{"only"}));
    EXPECT_EQ(doc.Outline(), "Root\nGif :a\n  Comment [1]\n  Comment [2]\n");
}

TEST(TreeRemovalGlobalComment, RemovesByPositionAndClearsTheFlagWhenNoneAreLeft) {
    TreeDocument doc;
    doc.Append({{"a"}});
    doc.AddGlobalComments({"g1", "g2"});
    EXPECT_EQ(Remove(doc, "GlobalComment [1]", true, nullptr), RemovalOutcome::Removed);
    EXPECT_TRUE(doc.boxes.shown.empty());
    EXPECT_EQ(Texts(doc.animation.globalComments), (std::vector<std::string>{"g2"}));
    EXPECT_EQ(doc.animation.hasGlobalComments, 1);
    EXPECT_EQ(doc.Outline(), "Root\nGlobalComment [2]\nGif :a\n");
    EXPECT_EQ(doc.tree.Selected(), doc.Item("GlobalComment [2]"));
    EXPECT_TRUE(TreeMatchesList(doc));

    EXPECT_EQ(Remove(doc, "GlobalComment [2]", true, nullptr), RemovalOutcome::Removed);
    EXPECT_TRUE(doc.animation.globalComments.Empty());
    EXPECT_EQ(doc.animation.hasGlobalComments, 0);
    EXPECT_EQ(doc.tree.Selected(), doc.tree.Root()) << "the frame after is no global comment";
    EXPECT_EQ(doc.FrameNames(), "a");
    EXPECT_TRUE(TreeMatchesList(doc));
}

TEST(TreeRemovalGroup, AlwaysAsksEvenWithConfirmDeleteOff) {
    TreeDocument doc;
    doc.Append({{"a"}});
    doc.AppendGroup("Effect", "Fade", 2);
    EXPECT_EQ(Remove(doc, "Effect 1: Fade", false), RemovalOutcome::Removed);
    ExpectAsked(doc, 1);
    const MessageRequest& box = doc.boxes.shown.at(0);
    EXPECT_EQ(box.text,
              "Do you really want to remove 'Effect 1: Fade' and all its images from "
              "the list ?");
    EXPECT_EQ(box.title, "Confirm Removal");
    EXPECT_EQ(box.icon, MessageIcon::Warning);
    EXPECT_EQ(box.buttons, kYesNoButtons);
}

TEST(TreeRemovalGroup, AnsweredNoChangesNothing) {
    TreeDocument doc;
    doc.Append({{"a"}});
    doc.AppendGroup("Effect", "Fade", 2);
    const std::string before = doc.Outline();
    EXPECT_EQ(Remove(doc, "Effect 1: Fade", true, "&No"), RemovalOutcome::Cancelled);
    EXPECT_EQ(doc.Outline(), before);
    EXPECT_EQ(doc.FrameNames(), "a Fade (1/2) Fade (2/2)");
    EXPECT_FALSE(doc.modified);
    EXPECT_TRUE(TreeMatchesList(doc));
}

TEST(TreeRemovalGroup, AGroupStartingTheListMakesTheFrameAfterItTheHead) {
    TreeDocument doc;
    doc.AppendGroup("Effect", "Fade", 3);
    doc.Append({{"b"}, {"c"}});
    EXPECT_EQ(Remove(doc, "Effect 1: Fade"), RemovalOutcome::Removed);
    EXPECT_EQ(doc.FrameNames(), "b c");
    EXPECT_EQ(doc.animation.head, doc.Frame("b"));
    EXPECT_EQ(doc.Frame("b")->prev, nullptr);
    EXPECT_EQ(doc.currentGif, doc.Frame("b"));
    EXPECT_EQ(doc.tree.Selected(), doc.tree.Root()) << "no previous sibling: the parent";
    EXPECT_EQ(doc.groups.effects[0].first, nullptr);
    EXPECT_TRUE(doc.modified);
    EXPECT_TRUE(TreeMatchesList(doc));
}

TEST(TreeRemovalGroup, AGroupInTheMiddleSelectsItsPreviousSiblingAndPredecessor) {
    TreeDocument doc;
    doc.Append({{"a"}});
    doc.AppendGroup("Trans", "Wipe", 2);
    doc.AppendGroup("Effect", "Fade", 2);
    doc.Append({{"z"}});
    EXPECT_EQ(Remove(doc, "Effect 1: Fade"), RemovalOutcome::Removed);
    EXPECT_EQ(doc.FrameNames(), "a Wipe (1/2) Wipe (2/2) z");
    EXPECT_EQ(doc.tree.Selected(), doc.Item("Trans 1: Wipe"));
    EXPECT_EQ(doc.currentGif, doc.Frame("Wipe (2/2)"));
    EXPECT_EQ(doc.groups.transitions[0].last, doc.Frame("Wipe (2/2)")) << "the other table";
    EXPECT_TRUE(TreeMatchesList(doc));
}

TEST(TreeRemovalGroup, TheWordPicksTheTable) {
    // Number 1 exists in every table; only the word tells them apart.
    for (const char* word : {"Effect", "Trans", "Banner"}) {
        SCOPED_TRACE(word);
        TreeDocument doc;
        doc.AppendGroup("Effect", "Fade", 1);
        doc.AppendGroup("Trans", "Wipe", 1);
        doc.AppendGroup("Banner", "", 1);
        const std::string label = std::string(word) == "Effect"  ? "Effect 1: Fade"
                                  : std::string(word) == "Trans" ? "Trans 1: Wipe"
                                                                 : "Banner 1";
        EXPECT_EQ(Remove(doc, label), RemovalOutcome::Removed);
        EXPECT_EQ(doc.groups.effects[0].first == nullptr, std::string(word) == "Effect");
        EXPECT_EQ(doc.groups.transitions[0].first == nullptr, std::string(word) == "Trans");
        EXPECT_EQ(doc.groups.banners[0].first == nullptr, std::string(word) == "Banner");
        EXPECT_TRUE(TreeMatchesList(doc));
    }
}

TEST(TreeRemovalGroup, TheWholeListEmptiesTheDocument) {
    TreeDocument doc;
    doc.AppendGroup("Banner", "", 3);
    EXPECT_EQ(Remove(doc, "Banner 1"), RemovalOutcome::BecameEmpty);
    EXPECT_EQ(doc.Outline(), "Root\n");
    EXPECT_EQ(doc.animation.head, nullptr);
    EXPECT_EQ(doc.currentGif, nullptr);
}

TEST(TreeRemovalGroup, ShowsBusyWhileFreeingFrames) {
    TreeDocument doc;
    doc.AppendGroup("Effect", "Fade", 2);
    doc.Append({{"z"}});
    std::vector<std::string> calls;
    doc.Select("Effect 1: Fade");
    doc.boxes.Answer("&Yes");
    RemovalContext context = doc.Context();
    context.busy = [&](bool on) {
        calls.push_back(std::string(on ? "on " : "off ") + doc.FrameNames());
    };
    EXPECT_EQ(RemoveSelected(doc.tree, context), RemovalOutcome::Removed);
    EXPECT_EQ(calls, (std::vector<std::string>{"on Fade (1/2) Fade (2/2) z", "off z"}));
}

TEST(TreeRemovalGroup, ALabelOrEntryThatDoesNotMatchRemovesNothingAndSaysNothing) {
    const struct {
        const char* label;
        bool keepEntry;
    } cases[] = {
        {"Effect 2: Fade", true},  // no entry 2
        {"Effect 0: Fade", true},  // numbers start at 1
        {"Effect -1: Fade", true}, {"Effect 99999999999999999999: Fade", true},
        {"Effect x: Fade", true},  {"Effect1: Fade", true},  // "Effect1:" is the word, no number
        {"Trans 1: Fade", true},                             // the transition table is empty
        {"Effect 1: Fade", false},                           // the entry is emptied
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        TreeDocument doc;
        doc.Append({{"a"}});
        doc.AppendGroup("Effect", "Fade", 2);
        doc.Append({{"z"}});
        const TreeItem group = doc.Item("Effect 1: Fade");
        const std::vector<TreeItem> images = doc.tree.Children(group);
        // Relabel by rebuilding the group under the new label.
        const TreeItem relabelled = doc.tree.InsertGroup(group, c.label, {});
        for (TreeItem image : images)
            doc.tree.Insert(relabelled, DocumentTree::kLast, doc.tree.Label(image));
        doc.tree.Remove(group);
        if (!c.keepEntry) doc.groups.effects[0] = FrameGroup{};
        const std::string before = doc.Outline();

        EXPECT_EQ(Remove(doc, c.label, true, nullptr), RemovalOutcome::Nothing);
        EXPECT_TRUE(doc.boxes.shown.empty());
        EXPECT_EQ(doc.Outline(), before);
        EXPECT_EQ(doc.FrameNames(), "a Fade (1/2) Fade (2/2) z");
        EXPECT_FALSE(doc.modified);
    }
}

TEST(TreeRemovalGroup, AnEntrySpanningOtherFramesThanTheTreeRemovesNothing) {
    TreeDocument doc;
    doc.Append({{"a"}});
    doc.AppendGroup("Effect", "Fade", 2);
    doc.Append({{"z"}});
    const struct {
        const char* first;
        const char* last;
    } cases[] = {{"a", "Fade (1/2)"}, {"Fade (1/2)", "z"}, {"Fade (2/2)", "Fade (1/2)"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.first) + ".." + c.last);
        doc.groups.effects[0] = {doc.Frame(c.first), doc.Frame(c.last)};
        EXPECT_EQ(Remove(doc, "Effect 1: Fade", true, nullptr), RemovalOutcome::Nothing);
        EXPECT_EQ(doc.FrameNames(), "a Fade (1/2) Fade (2/2) z");
    }
    EXPECT_TRUE(doc.boxes.shown.empty());
}

TEST(TreeRemovalSequence, KeepsTreeAndListTogetherToTheEnd) {
    TreeDocument doc;
    doc.Append({{"a", {"ca"}}, {"b"}});
    doc.AppendGroup("Effect", "Fade", 3);
    doc.AppendGroup("Banner", "", 2);
    doc.Append({{"z", {"c1", "c2"}}});
    doc.AddGlobalComments({"g"});
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
        const RemovalOutcome outcome = Remove(doc, step.label, false, step.answer);
        ASSERT_EQ(outcome, step.label == std::string("Gif :b") ? RemovalOutcome::BecameEmpty
                                                               : RemovalOutcome::Removed);
        ASSERT_TRUE(TreeMatchesList(doc));
    }
    EXPECT_EQ(doc.boxes.shown.size(), 1u);
    EXPECT_EQ(doc.Outline(), "Root\n");
    EXPECT_EQ(doc.animation.head, nullptr);
}

}  // namespace
}  // namespace anitrope::test
