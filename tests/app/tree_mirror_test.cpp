#include "app/tree_mirror.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTreeWidget>
#include <memory>

#include "tree_fixtures.h"

namespace anitrope::test {
namespace {

// The widget's items in the layout of TreeDocument::Outline.
void OutlineInto(const QTreeWidgetItem* item, int depth, std::string& text) {
    text += std::string(static_cast<std::size_t>(depth > 0 ? depth - 1 : 0) * 2, ' ');
    text += item->text(0).toStdString() + "\n";
    for (int i = 0; i < item->childCount(); ++i) OutlineInto(item->child(i), depth + 1, text);
}

std::string WidgetOutline(const QTreeWidget& widget) {
    std::string text;
    for (int i = 0; i < widget.topLevelItemCount(); ++i)
        OutlineInto(widget.topLevelItem(i), 0, text);
    return text;
}

class TreeMirrorTest : public ::testing::Test {
protected:
    void SetUp() override {
        doc.Append({{"a", {"note"}}, {"b"}});
        doc.AppendGroup("Effect", "Fade", 2);
        doc.Append({{"c"}});
    }

    // Makes the mirror; a user's selection is reported, then answered as the shell does.
    void Mirror(bool shellAccepts = true) {
        mirror =
            std::make_unique<TreeMirror>(widget, doc.tree, [this, shellAccepts](TreeItem item) {
                reported.push_back(item);
                if (shellAccepts) doc.Select(item);
            });
    }

    // The widget shows exactly the tree, the tree's selection is its only selected item, and
    // every item maps both ways.
    ::testing::AssertionResult Mirrored() const {
        if (WidgetOutline(widget) != doc.Outline())
            return ::testing::AssertionFailure() << "widget:\n"
                                                 << WidgetOutline(widget) << "tree:\n"
                                                 << doc.Outline();
        for (TreeItem at = doc.tree.Root(); at != kNoItem; at = doc.tree.NextItem(at)) {
            QTreeWidgetItem* item = mirror->WidgetItem(at);
            if (!item || mirror->ItemOf(item) != at)
                return ::testing::AssertionFailure() << "item " << at << " does not map back";
            const TreeItem parent = doc.tree.Parent(at);
            if (item->parent() != (parent == kNoItem ? nullptr : mirror->WidgetItem(parent)))
                return ::testing::AssertionFailure() << "item " << at << " has another parent";
        }
        const QList<QTreeWidgetItem*> selected = widget.selectedItems();
        QTreeWidgetItem* expected = mirror->WidgetItem(doc.tree.Selected());
        if (widget.currentItem() != expected || selected.size() != 1 || selected[0] != expected)
            return ::testing::AssertionFailure()
                   << "the widget selects "
                   << (widget.currentItem() ? widget.currentItem()->text(0).toStdString() : "none")
                   << " with " << selected.size() << " selected, the tree "
                   << doc.tree.Label(doc.tree.Selected());
        return ::testing::AssertionSuccess();
    }

    void Show() {
        widget.resize(300, 400);
        widget.show();
        QApplication::processEvents();
    }

    // Leaves the events the click queued unprocessed when `settle` is false.
    void Click(const std::string& label, bool settle = true) {
        QTreeWidgetItem* item = mirror->WidgetItem(doc.Item(label));
        ASSERT_NE(item, nullptr);
        const QPoint at = widget.visualItemRect(item).center();
        ASSERT_FALSE(widget.visualItemRect(item).isEmpty()) << label << " is not visible";
        const QPointF global = widget.viewport()->mapToGlobal(QPointF(at));
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(at), global, Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(at), global, Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(widget.viewport(), &press);
        QApplication::sendEvent(widget.viewport(), &release);
        if (settle) QApplication::processEvents();
    }

    void PressKey(Qt::Key key) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(&widget, &press);
        QApplication::processEvents();
    }

    RemovalOutcome RemoveSelectedItem() {
        RemovalContext context = doc.Context(false);
        doc.boxes.Answer("&Yes");
        const RemovalOutcome outcome = RemoveSelected(doc.tree, context);
        doc.boxes = ScriptedMessageBoxes{};
        return outcome;
    }

    TreeDocument doc;
    QTreeWidget widget;
    std::unique_ptr<TreeMirror> mirror;
    std::vector<TreeItem> reported;
};

TEST_F(TreeMirrorTest, ShowsTheTreeItIsGiven) {
    doc.Select("Gif :Fade (2/2)");
    Mirror();
    EXPECT_TRUE(Mirrored());
    EXPECT_EQ(doc.tree.Observer(), mirror.get());
    EXPECT_TRUE(reported.empty());
}

TEST_F(TreeMirrorTest, FollowsEveryChangeWithoutReportingIt) {
    Mirror();
    ASSERT_TRUE(Mirrored());

    doc.AddGlobalComments({"g1", "g2"});
    EXPECT_TRUE(Mirrored()) << "global comments";

    Gif* n = doc.NewFrame({"n", {"x", "y"}});
    doc.LinkAfter(doc.Frame("Fade (1/2)"), n);
    doc.tree.InsertFrames(doc.Item("Gif :Fade (1/2)"), n, 1);
    EXPECT_TRUE(Mirrored()) << "frames inside a group";

    Gif* first = doc.NewFrame({"first"});
    doc.LinkAfter(nullptr, first);
    doc.tree.InsertFrames(doc.tree.Root(), first, 1);
    EXPECT_TRUE(Mirrored()) << "frames at the top";

    doc.Select("Gif :n");
    EXPECT_TRUE(Mirrored()) << "selection";

    doc.Select("Comment [2]");
    EXPECT_EQ(RemoveSelectedItem(), RemovalOutcome::Removed);
    EXPECT_TRUE(Mirrored()) << "comment removed";

    doc.Select("Gif :n");
    EXPECT_EQ(RemoveSelectedItem(), RemovalOutcome::Removed);
    EXPECT_TRUE(Mirrored()) << "image with a comment removed";

    doc.Select("Effect 1: Fade");
    EXPECT_EQ(RemoveSelectedItem(), RemovalOutcome::Removed);
    EXPECT_TRUE(Mirrored()) << "group removed";

    doc.tree.RebuildGlobalComments(1);
    EXPECT_TRUE(Mirrored()) << "global comments rebuilt";

    for (const char* label : {"Gif :first", "Gif :a", "Gif :b", "Gif :c"}) {
        doc.Select(label);
        RemoveSelectedItem();
        EXPECT_TRUE(Mirrored()) << label << " removed";
    }
    EXPECT_EQ(WidgetOutline(widget), "Root\n");
    EXPECT_TRUE(reported.empty());
}

TEST_F(TreeMirrorTest, ForgetsRemovedItems) {
    Mirror();
    const TreeItem group = doc.Item("Effect 1: Fade");
    const TreeItem image = doc.Item("Gif :Fade (1/2)");
    doc.tree.Remove(group);
    EXPECT_EQ(mirror->WidgetItem(group), nullptr);
    EXPECT_EQ(mirror->WidgetItem(image), nullptr);
    QTreeWidgetItem stranger(QStringList{"Gif :stranger"});
    EXPECT_EQ(mirror->ItemOf(&stranger), kNoItem);
    EXPECT_EQ(mirror->ItemOf(nullptr), kNoItem);
}

TEST_F(TreeMirrorTest, ReportsAClickOnceWithoutEchoingTheAnswer) {
    Mirror();
    Show();
    Click("Gif :b");
    EXPECT_EQ(reported, (std::vector<TreeItem>{doc.Item("Gif :b")}));
    EXPECT_EQ(doc.tree.Selected(), doc.Item("Gif :b"));
    EXPECT_EQ(doc.currentGif, doc.Frame("b"));
    EXPECT_TRUE(Mirrored());

    Click("Gif :b");  // already selected: nothing to report
    EXPECT_EQ(reported.size(), 1u);
}

TEST_F(TreeMirrorTest, ReportsTheArrowKeys) {
    doc.Select("Gif :a");
    Mirror();
    Show();
    PressKey(Qt::Key_Down);
    EXPECT_EQ(reported, (std::vector<TreeItem>{doc.Item("Comment [1]")}));
    EXPECT_TRUE(Mirrored());
}

TEST_F(TreeMirrorTest, AClickTheShellRefusesReturnsToTheTreesSelection) {
    doc.Select("Gif :a");
    Mirror(/*shellAccepts=*/false);
    Show();
    Click("Gif :c");
    EXPECT_EQ(reported, (std::vector<TreeItem>{doc.Item("Gif :c")}));
    EXPECT_EQ(doc.tree.Selected(), doc.Item("Gif :a"));
    EXPECT_TRUE(Mirrored());
}

TEST_F(TreeMirrorTest, TheWidgetsOwnChoiceAfterDeletingARefusedClickIsNotReported) {
    doc.Select("Gif :a");
    Mirror(/*shellAccepts=*/false);
    Show();
    Click("Gif :c", /*settle=*/false);
    // The widget still shows the refused item as current when the tree lets it go; what the
    // widget moves to then is its own doing, not the user's.
    doc.tree.Remove(doc.Item("Gif :c"));
    QApplication::processEvents();
    EXPECT_EQ(reported.size(), 1u);
    EXPECT_TRUE(Mirrored());
}

TEST_F(TreeMirrorTest, StopsObservingWhenItGoes) {
    Mirror();
    mirror.reset();
    EXPECT_EQ(doc.tree.Observer(), nullptr);
    doc.Append({{"later"}});  // nobody listens; nothing breaks
    EXPECT_EQ(widget.topLevelItem(0)->childCount(), 4);
}

TEST_F(TreeMirrorTest, OutlivingItsWidgetDoesNothing) {
    auto owned = std::make_unique<QTreeWidget>();
    TreeMirror lonely(*owned, doc.tree, [this](TreeItem item) { reported.push_back(item); });
    owned.reset();
    doc.Append({{"later"}});
    doc.Select("Gif :later");
    doc.tree.Clear();
    EXPECT_EQ(lonely.WidgetItem(doc.tree.Root()), nullptr);
    EXPECT_TRUE(reported.empty());
}

}  // namespace
}  // namespace anitrope::test
