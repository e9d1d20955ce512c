#include "app/document_tree.h"

#include <gtest/gtest.h>

#include <fstream>

#include "gif/gif_reader.h"
#include "support/gif_builder.h"
#include "support/gif_loading.h"
#include "support/temp_file.h"
#include "tree_fixtures.h"

namespace anitrope::test {
namespace {

struct RecordingObserver final : TreeObserver {
    void Inserted(TreeItem item, TreeItem parent, TreeItem after,
                  const std::string& label) override {
        events.push_back("insert " + std::to_string(item) + " under " + std::to_string(parent) +
                         " after " + std::to_string(after) + " " + label);
    }
    void Removed(TreeItem item) override { events.push_back("remove " + std::to_string(item)); }
    void Selected(TreeItem item) override { events.push_back("select " + std::to_string(item)); }
    std::vector<std::string> events;
};

std::vector<std::string> LabelsOf(const DocumentTree& tree, const std::vector<TreeItem>& items) {
    std::vector<std::string> labels;
    for (TreeItem item : items) labels.push_back(tree.Label(item));
    return labels;
}

TEST(DocumentTreeStore, StartsWithTheSelectedRootAlone) {
    DocumentTree tree;
    EXPECT_EQ(tree.Label(tree.Root()), "Root");
    EXPECT_EQ(tree.Selected(), tree.Root());
    EXPECT_EQ(tree.ItemCount(), 1u);
    EXPECT_EQ(tree.Parent(tree.Root()), kNoItem);
    EXPECT_EQ(tree.KindOf(tree.Root()), SelectionKind::None);
    EXPECT_EQ(tree.NextItem(tree.Root()), kNoItem);
    EXPECT_EQ(tree.FirstImageItem(), kNoItem);
}

TEST(DocumentTreeStore, InsertsFirstAfterASiblingOrLast) {
    DocumentTree tree;
    const TreeItem root = tree.Root();
    const TreeItem b = tree.Insert(root, DocumentTree::kLast, "b");
    const TreeItem d = tree.Insert(root, DocumentTree::kLast, "d");
    const TreeItem a = tree.Insert(root, kNoItem, "a");
    const TreeItem c = tree.Insert(root, b, "c");
    EXPECT_EQ(LabelsOf(tree, tree.Children(root)), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(tree.PreviousSibling(a), kNoItem);
    EXPECT_EQ(tree.PreviousSibling(c), b);
    EXPECT_EQ(tree.NextSibling(c), d);
    EXPECT_EQ(tree.NextSibling(d), kNoItem);
    EXPECT_EQ(tree.PositionAmongSiblings(d), 3);
    EXPECT_EQ(tree.PositionAmongSiblings(root), -1);
    EXPECT_EQ(tree.ItemCount(), 5u);
}

TEST(DocumentTreeStore, RefusesAParentOrSiblingThatIsNotThere) {
    DocumentTree tree;
    RecordingObserver observer;
    const TreeItem group = tree.Insert(tree.Root(), DocumentTree::kLast, "Effect 1: Fade");
    const TreeItem image = tree.Insert(group, DocumentTree::kLast, "Gif :a");
    tree.SetObserver(&observer);
    EXPECT_EQ(tree.Insert(99, DocumentTree::kLast, "x"), kNoItem);
    EXPECT_EQ(tree.Insert(-7, kNoItem, "x"), kNoItem);
    EXPECT_EQ(tree.Insert(tree.Root(), image, "x"), kNoItem);  // a grandchild, not a child
    EXPECT_EQ(tree.Insert(tree.Root(), 42, "x"), kNoItem);
    tree.Remove(group);
    EXPECT_EQ(tree.Insert(group, DocumentTree::kLast, "x"), kNoItem);
    EXPECT_EQ(tree.ItemCount(), 1u);
    EXPECT_EQ(observer.events, (std::vector<std::string>{"remove 1"}));
}

TEST(DocumentTreeStore, CutsLabelsAtAHundredBytesBetweenCharacters) {
    DocumentTree tree;
    const std::string ascii(150, 'x');
    EXPECT_EQ(tree.Label(tree.Insert(tree.Root(), kNoItem, ascii)), std::string(100, 'x'));
    // 99 bytes, then a two-byte "é" that would straddle the limit.
    const std::string accented = std::string(99, 'y') + "\xC3\xA9" + "tail";
    EXPECT_EQ(tree.Label(tree.Insert(tree.Root(), kNoItem, accented)), std::string(99, 'y'));
    const std::string exact(100, 'z');
    EXPECT_EQ(tree.Label(tree.Insert(tree.Root(), kNoItem, exact)), exact);
}

TEST(DocumentTreeStore, NeverReusesAnId) {
    DocumentTree tree;
    const TreeItem first = tree.Insert(tree.Root(), kNoItem, "Gif :a");
    tree.Remove(first);
    const TreeItem second = tree.Insert(tree.Root(), kNoItem, "Gif :b");
    tree.Clear();
    const TreeItem third = tree.Insert(tree.Root(), kNoItem, "Gif :c");
    EXPECT_NE(first, second);
    EXPECT_NE(second, third);
    EXPECT_NE(first, third);
    EXPECT_FALSE(tree.Contains(first));
    EXPECT_EQ(tree.Label(first), "");
    EXPECT_EQ(tree.Parent(first), kNoItem);
    EXPECT_TRUE(tree.Children(first).empty());
    EXPECT_EQ(tree.NextItem(first), kNoItem);
}

TEST(DocumentTreeStore, RemovingMovesASelectionInsideToTheParentFirst) {
    DocumentTree tree;
    const TreeItem group = tree.Insert(tree.Root(), kNoItem, "Effect 1: Fade");
    const TreeItem image = tree.Insert(group, kNoItem, "Gif :Fade (1/1)");
    const TreeItem comment = tree.Insert(image, kNoItem, "Comment [1]");
    const TreeItem other = tree.Insert(tree.Root(), group, "Gif :b");
    tree.Select(comment);
    RecordingObserver observer;
    tree.SetObserver(&observer);
    tree.Remove(image);
    EXPECT_EQ(observer.events, (std::vector<std::string>{"select 1", "remove 2"}));
    EXPECT_EQ(tree.Selected(), group);
    EXPECT_FALSE(tree.Contains(comment));
    EXPECT_EQ(tree.ItemCount(), 3u);
    EXPECT_TRUE(tree.Children(group).empty());

    observer.events.clear();
    tree.Select(other);
    tree.Remove(group);  // the selection lies elsewhere and stays
    EXPECT_EQ(observer.events, (std::vector<std::string>{"select 4", "remove 1"}));
    EXPECT_EQ(tree.Selected(), other);
}

TEST(DocumentTreeStore, NeverRemovesTheRoot) {
    DocumentTree tree;
    tree.Insert(tree.Root(), kNoItem, "Gif :a");
    tree.Remove(tree.Root());
    tree.Remove(kNoItem);
    tree.Remove(1234);
    EXPECT_EQ(tree.ItemCount(), 2u);
    EXPECT_EQ(tree.Label(tree.Root()), "Root");
}

TEST(DocumentTreeStore, ClearSelectsTheRootThenRemovesItsChildrenInOrder) {
    DocumentTree tree;
    const TreeItem a = tree.Insert(tree.Root(), DocumentTree::kLast, "Gif :a");
    tree.Insert(a, DocumentTree::kLast, "Comment [1]");
    const TreeItem b = tree.Insert(tree.Root(), DocumentTree::kLast, "Gif :b");
    tree.Select(b);
    RecordingObserver observer;
    tree.SetObserver(&observer);
    tree.Clear();
    EXPECT_EQ(observer.events, (std::vector<std::string>{"select 0", "remove 1", "remove 3"}));
    EXPECT_EQ(tree.ItemCount(), 1u);
    EXPECT_EQ(tree.Selected(), tree.Root());
}

TEST(DocumentTreeStore, TellsTheObserverWhereEachItemWent) {
    DocumentTree tree;
    RecordingObserver observer;
    tree.SetObserver(&observer);
    const TreeItem a = tree.Insert(tree.Root(), DocumentTree::kLast, "Gif :a");
    tree.Insert(tree.Root(), DocumentTree::kLast, "Gif :b");
    tree.Insert(a, DocumentTree::kLast, "Comment [1]");
    tree.Select(a);
    tree.Select(a);   // no change, no news
    tree.Select(77);  // not an item
    EXPECT_EQ(observer.events,
              (std::vector<std::string>{"insert 1 under 0 after -1 Gif :a",
                                        "insert 2 under 0 after 1 Gif :b",
                                        "insert 3 under 1 after -1 Comment [1]", "select 1"}));
    EXPECT_EQ(tree.Selected(), a);
}

TEST(DocumentTreeKinds, TellsKindsByLabel) {
    const struct {
        const char* label;
        bool isRoot;
        SelectionKind kind;
    } cases[] = {
        {"Root", true, SelectionKind::None},
        {"Gif :a.gif", true, SelectionKind::None},  // the root by identity, whatever it says
        {"Root", false, SelectionKind::EffectGroup},
        {"Gif :a.gif", false, SelectionKind::Image},
        {"Gif : Copy of Clipboard", false, SelectionKind::Image},
        {"Gif: Banner 3", false, SelectionKind::Image},
        {"Gifts", false, SelectionKind::Image},  // three characters decide
        {"gif :a.gif", false, SelectionKind::EffectGroup},
        {"Comment [2]", false, SelectionKind::Comment},
        {"GlobalComment [1]", false, SelectionKind::GlobalComment},
        {"Banner 4", false, SelectionKind::BannerGroup},
        {"Effect 1: Fade", false, SelectionKind::EffectGroup},
        {"Trans 2: Wipe", false, SelectionKind::EffectGroup},
        {"", false, SelectionKind::EffectGroup},
        {"Gi", false, SelectionKind::EffectGroup},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("label \"") + c.label + "\"");
        EXPECT_EQ(DocumentTree::KindOfLabel(c.label, c.isRoot), c.kind);
    }
}

// Root
//   GlobalComment [1]
//   Gif :a           frame 0
//     Comment [1]
//   Effect 1: Fade
//     Gif :Fade (1/2) frame 1
//     Gif :Fade (2/2) frame 2
//   Banner 1
//     Gif: Banner 1   frame 3
//   Gif :b            frame 4
class DocumentTreeWalk : public ::testing::Test {
protected:
    void SetUp() override {
        doc.Append({{"a", {"on a"}}});
        doc.AppendGroup("Effect", "Fade", 2);
        doc.AppendGroup("Banner", "", 1);
        doc.Append({{"b"}});
        doc.AddGlobalComments({"everywhere"});
        ASSERT_TRUE(TreeMatchesList(doc));
    }
    TreeDocument doc;
};

TEST_F(DocumentTreeWalk, NextItemGoesDepthFirstAndClimbsOutOfSubtrees) {
    std::vector<std::string> walked;
    for (TreeItem at = doc.tree.Root(); at != kNoItem; at = doc.tree.NextItem(at))
        walked.push_back(doc.tree.Label(at));
    EXPECT_EQ(walked,
              (std::vector<std::string>{"Root", "GlobalComment [1]", "Gif :a", "Comment [1]",
                                        "Effect 1: Fade", "Gif :Fade (1/2)", "Gif :Fade (2/2)",
                                        "Banner 1", "Gif: Banner 1", "Gif :b"}));
    EXPECT_EQ(doc.tree.NextItemAfterSubtree(doc.Item("Effect 1: Fade")), doc.Item("Banner 1"));
    EXPECT_EQ(doc.tree.NextItemAfterSubtree(doc.Item("Gif :b")), kNoItem);
    EXPECT_EQ(doc.tree.NextItemAfterSubtree(doc.tree.Root()), kNoItem);
}

TEST_F(DocumentTreeWalk, NextImageItemSkipsEverythingElse) {
    std::vector<std::string> images;
    for (TreeItem at = doc.tree.FirstImageItem(); at != kNoItem; at = doc.tree.NextImageItem(at))
        images.push_back(doc.tree.Label(at));
    EXPECT_EQ(images, (std::vector<std::string>{"Gif :a", "Gif :Fade (1/2)", "Gif :Fade (2/2)",
                                                "Gif: Banner 1", "Gif :b"}));
    EXPECT_EQ(doc.tree.NextImageItem(doc.Item("Comment [1]")), doc.Item("Gif :Fade (1/2)"));
    EXPECT_EQ(doc.tree.NextImageItem(doc.Item("Gif :b")), kNoItem);
    EXPECT_EQ(doc.tree.NextImageItem(999), kNoItem);
}

TEST_F(DocumentTreeWalk, ImageIndexCountsTheImagesBefore) {
    EXPECT_EQ(doc.tree.ImageIndex(doc.Item("Gif :a"), doc.boxes), 0);
    EXPECT_EQ(doc.tree.ImageIndex(doc.Item("Gif :Fade (2/2)"), doc.boxes), 2);
    EXPECT_EQ(doc.tree.ImageIndex(doc.Item("Gif :b"), doc.boxes), 4);
    EXPECT_EQ(doc.tree.ImageIndex(doc.Item("Banner 1"), doc.boxes), 3);
    EXPECT_EQ(doc.tree.ImageIndex(doc.Item("Comment [1]"), doc.boxes), 1);
    EXPECT_EQ(doc.tree.ImageIndex(doc.tree.Root(), doc.boxes), 0);
    EXPECT_TRUE(doc.boxes.shown.empty());
}

TEST_F(DocumentTreeWalk, ImageIndexOfAnItemNotInTheTreeSaysSoAndGivesMinusOne) {
    const TreeItem gone = doc.Item("Gif :b");
    doc.tree.Remove(gone);
    EXPECT_EQ(doc.tree.ImageIndex(gone, doc.boxes), -1);
    ASSERT_EQ(doc.boxes.shown.size(), 1u);
    EXPECT_EQ(doc.boxes.shown[0].text, "Couldn't fild specified Gif - EnumGifs");
    EXPECT_EQ(doc.boxes.shown[0].title, "Bug");
    EXPECT_EQ(doc.boxes.shown[0].buttons, kOkButton);
}

TEST_F(DocumentTreeWalk, FrameOfCountsAlongTheList) {
    EXPECT_EQ(doc.tree.FrameOf(doc.Item("Gif :a"), doc.animation, doc.boxes), doc.Frame("a"));
    EXPECT_EQ(doc.tree.FrameOf(doc.Item("Gif: Banner 1"), doc.animation, doc.boxes),
              doc.Frame("Banner 1"));
    EXPECT_EQ(doc.tree.FrameOf(doc.Item("Gif :b"), doc.animation, doc.boxes), doc.Frame("b"));
    // Items that stand for no frame, silently.
    EXPECT_EQ(doc.tree.FrameOf(doc.Item("Effect 1: Fade"), doc.animation, doc.boxes), nullptr);
    EXPECT_EQ(doc.tree.FrameOf(doc.Item("Comment [1]"), doc.animation, doc.boxes), nullptr);
    EXPECT_EQ(doc.tree.FrameOf(doc.tree.Root(), doc.animation, doc.boxes), nullptr);
    EXPECT_EQ(doc.tree.FrameOf(kNoItem, doc.animation, doc.boxes), nullptr);
    EXPECT_TRUE(doc.boxes.shown.empty());
}

TEST_F(DocumentTreeWalk, FrameOfPastTheEndOfTheListSaysBugInGetGif) {
    DiscardGif(doc.Frame("b"));  // the list is one short of the tree now
    EXPECT_EQ(doc.tree.FrameOf(doc.Item("Gif: Banner 1"), doc.animation, doc.boxes),
              doc.Frame("Banner 1"));
    EXPECT_TRUE(doc.boxes.shown.empty());
    EXPECT_EQ(doc.tree.FrameOf(doc.Item("Gif :b"), doc.animation, doc.boxes), nullptr);
    ASSERT_EQ(doc.boxes.shown.size(), 1u);
    EXPECT_EQ(doc.boxes.shown[0].text, "Error");
    EXPECT_EQ(doc.boxes.shown[0].title, "Bug in GetGif()");
}

TEST(DocumentTreeInsertFrames, IntoAnEmptyTreeAppendsUnderTheRootWithNumberedComments) {
    TreeDocument doc;
    const auto items = doc.Append({{"one.gif", {"first", "second"}}, {"two.gif"}});
    EXPECT_EQ(doc.Outline(),
              "Root\n"
              "Gif :one.gif\n"
              "  Comment [1]\n"
              "  Comment [2]\n"
              "Gif :two.gif\n");
    EXPECT_EQ(LabelsOf(doc.tree, items),
              (std::vector<std::string>{"Gif :one.gif", "Gif :two.gif"}));
    EXPECT_TRUE(TreeMatchesList(doc));
}

TEST(DocumentTreeInsertFrames, GoAfterTheCurrentItemUnderItsParent) {
    TreeDocument doc;
    doc.AppendGroup("Effect", "Fade", 2);
    doc.Append({{"z"}});
    Gif* anchor = doc.Frame("Fade (1/2)");
    Gif* x = doc.NewFrame({"x", {"c"}});
    Gif* y = doc.NewFrame({"y"});
    doc.LinkAfter(anchor, x);
    doc.LinkAfter(x, y);
    const auto items = doc.tree.InsertFrames(doc.Item("Gif :Fade (1/2)"), x, 2);
    EXPECT_EQ(items.size(), 2u);
    EXPECT_EQ(doc.Outline(),
              "Root\n"
              "Effect 1: Fade\n"
              "  Gif :Fade (1/2)\n"
              "  Gif :x\n"
              "    Comment [1]\n"
              "  Gif :y\n"
              "  Gif :Fade (2/2)\n"
              "Gif :z\n");
    EXPECT_TRUE(TreeMatchesList(doc));  // the group's entry spans the frames inserted into it
}

TEST(DocumentTreeInsertFrames, WithTheRootSelectedBecomeItsFirstChildrenAfterGlobalComments) {
    TreeDocument doc;
    doc.Append({{"old"}});
    doc.AddGlobalComments({"g1", "g2"});
    Gif* n1 = doc.NewFrame({"n1"});
    Gif* n2 = doc.NewFrame({"n2"});
    doc.LinkAfter(nullptr, n1);
    doc.LinkAfter(n1, n2);
    doc.tree.InsertFrames(doc.tree.Root(), n1, 2);
    EXPECT_EQ(doc.Outline(),
              "Root\n"
              "GlobalComment [1]\n"
              "GlobalComment [2]\n"
              "Gif :n1\n"
              "Gif :n2\n"
              "Gif :old\n");
    EXPECT_TRUE(TreeMatchesList(doc));
}

TEST(DocumentTreeInsertFrames, AfterASelectedCommentGoAfterItsFrame) {
    TreeDocument doc;
    doc.Append({{"a", {"c1", "c2"}}, {"b"}});
    Gif* n = doc.NewFrame({"n"});
    doc.LinkAfter(doc.Frame("a"), n);
    doc.tree.InsertFrames(doc.Item("Comment [1]"), n, 1);
    EXPECT_EQ(doc.Outline(),
              "Root\n"
              "Gif :a\n"
              "  Comment [1]\n"
              "  Comment [2]\n"
              "Gif :n\n"
              "Gif :b\n");
    EXPECT_TRUE(TreeMatchesList(doc));
}

TEST(DocumentTreeInsertFrames, AfterASelectedGlobalCommentGoFirst) {
    TreeDocument doc;
    doc.Append({{"a"}});
    doc.AddGlobalComments({"g1", "g2"});
    Gif* n = doc.NewFrame({"n"});
    doc.LinkAfter(nullptr, n);
    doc.tree.InsertFrames(doc.Item("GlobalComment [1]"), n, 1);
    EXPECT_EQ(doc.Outline(), "Root\nGlobalComment [1]\nGlobalComment [2]\nGif :n\nGif :a\n");
    EXPECT_TRUE(TreeMatchesList(doc));
}

TEST(DocumentTreeInsertFrames, StopAtTheEndOfAShortChain) {
    TreeDocument doc;
    Gif* only = doc.NewFrame({"only"});
    doc.LinkAfter(nullptr, only);
    EXPECT_EQ(doc.tree.InsertFrames(doc.tree.Root(), only, 5).size(), 1u);
    EXPECT_TRUE(doc.tree.InsertFrames(doc.tree.Root(), nullptr, 3).empty());
    EXPECT_TRUE(TreeMatchesList(doc));
}

TEST(DocumentTreeInsertFrames, AtAnItemNotInTheTreePlaceAsAtTheRoot) {
    TreeDocument doc;
    doc.Append({{"a"}});
    Gif* n = doc.NewFrame({"n"});
    doc.LinkAfter(nullptr, n);
    doc.tree.InsertFrames(555, n, 1);
    EXPECT_EQ(doc.Outline(), "Root\nGif :n\nGif :a\n");
}

TEST(DocumentTreeInsertFrames, LabelTheFileNameWithoutItsDirectory) {
    const struct {
        const char* name;
        const char* label;
    } cases[] = {
        {"walk.gif", "Gif :walk.gif"},
        {"/home/ann/pics/walk.gif", "Gif :walk.gif"},
        {"C:\\pics\\run.gif", "Gif :run.gif"},
        {"Copy of /home/ann/walk.gif", "Gif :Copy of walk.gif"},
        {"Copy of Clipboard", "Gif :Copy of Clipboard"},
        {"", "Gif :"},
    };
    for (const auto& c : cases) {
        Animation animation;
        Gif gif(&animation);
        gif.name = c.name;
        EXPECT_EQ(DocumentTree::ImageLabel(gif), c.label) << "name \"" << c.name << "\"";
    }
}

TEST(DocumentTreeInsertFrames, LabelFramesReadFromAFileByItsName) {
    GifBuilder gif;
    gif.Header().Screen({.width = 2, .height = 1, .globalColors = DistinctColors(2)});
    gif.Comment({"hello"});
    const std::vector<uint8_t> pixels{0, 1};
    gif.Image({.width = 2}, pixels);
    gif.Image({.width = 2}, pixels);
    gif.Trailer();
    TempDir dir;
    const std::string path = dir / "walking.gif";
    {
        std::ofstream file(path, std::ios::binary);
        file.write(reinterpret_cast<const char*>(gif.Bytes().data()),
                   static_cast<std::streamsize>(gif.Size()));
        ASSERT_TRUE(file.good());
    }
    TreeDocument doc;
    ASSERT_EQ(LoadGifDocument(doc.animation, path), GifReadStatus::Ok);
    ASSERT_EQ(doc.animation.FrameCount(), 2u);

    doc.tree.InsertFrames(doc.tree.Root(), doc.animation.head, 2);
    EXPECT_EQ(doc.Outline(),
              "Root\n"
              "Gif :walking.gif\n"
              "  Comment [1]\n"
              "Gif :walking.gif\n");
    EXPECT_TRUE(TreeMatchesList(doc));
}

TEST(DocumentTreeInsertGroup, PlacesTheGroupLikeFramesWithItsImagesInside) {
    TreeDocument doc;
    doc.Append({{"a"}, {"b"}});
    const TreeItem group = doc.tree.InsertGroup(doc.Item("Gif :a"), "Trans 1: Wipe",
                                                {"Gif :Wipe (1/2)", "Gif :Wipe (2/2)"});
    EXPECT_EQ(doc.tree.KindOf(group), SelectionKind::EffectGroup);
    EXPECT_EQ(doc.Outline(),
              "Root\n"
              "Gif :a\n"
              "Trans 1: Wipe\n"
              "  Gif :Wipe (1/2)\n"
              "  Gif :Wipe (2/2)\n"
              "Gif :b\n");
    doc.tree.InsertGroup(doc.tree.Root(), "Banner 1", {"Gif: Banner 1"});
    EXPECT_EQ(doc.tree.Label(doc.tree.Children(doc.tree.Root()).front()), "Banner 1");
    const TreeItem unknownPlace = doc.tree.InsertGroup(777, "Banner 2", {});
    EXPECT_EQ(unknownPlace, doc.tree.Children(doc.tree.Root()).front())
        << "an unknown current item places as the root does";
}

TEST(DocumentTreeGlobalComments, RebuildReplacesTheItemsAndKeepsThemFirst) {
    TreeDocument doc;
    doc.Append({{"a", {"own"}}});
    doc.tree.RebuildGlobalComments(3);
    EXPECT_EQ(doc.Outline(),
              "Root\n"
              "GlobalComment [1]\n"
              "GlobalComment [2]\n"
              "GlobalComment [3]\n"
              "Gif :a\n"
              "  Comment [1]\n");
    doc.tree.Select(doc.Item("GlobalComment [3]"));
    doc.tree.RebuildGlobalComments(1);
    EXPECT_EQ(doc.Outline(), "Root\nGlobalComment [1]\nGif :a\n  Comment [1]\n");
    EXPECT_EQ(doc.tree.Selected(), doc.tree.Root());  // its item went
    doc.tree.RebuildGlobalComments(0);
    EXPECT_EQ(doc.Outline(), "Root\nGif :a\n  Comment [1]\n");
}

}  // namespace
}  // namespace anitrope::test
