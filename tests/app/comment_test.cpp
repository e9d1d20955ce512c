// The comment dialog and the comment command: adding and editing frame and global comments.

#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeView>

#include "app/command_ids.h"
#include "app/comment_dialog.h"
#include "app/outline_model.h"
#include "app_fixtures.h"

namespace anitrope::test {
namespace {

class CommentTest : public EditorFixture {
  protected:
    // Opens `frames` frames, saved with a global comment "hello" when `global`.
    void Open(int frames, bool global) {
        WriteTestGif(dir / "in.gif", frames, 4, 3);
        ASSERT_EQ(editor.OpenFile(dir / "in.gif", OpenOrigin::Menu), 0);
        if (global) {
            Transaction(editor.Doc(), "setup").InsertComment(nullptr, 0, "hello");
            editor.Doc().MarkSaved();
        }
        editor.editComment = [this](std::string& text) {
            shown.push_back(text);
            if (answers.empty()) return false;
            text = answers.front();
            answers.erase(answers.begin());
            return true;
        };
    }
    std::vector<std::string> ChildLabels(const OutlineItem& item) {
        std::vector<std::string> labels;
        for (const OutlineItem& child : editor.Items().Children(item))
            labels.push_back(editor.Items().Label(child));
        return labels;
    }

    std::vector<std::string> answers;  // the texts OK returns, in order; none: Cancel
    std::vector<std::string> shown;    // the texts the dialog opened with
};

TEST_F(CommentTest, FrameCommentsAreAppendedNumberedFromOneAsOneEditEach) {
    Open(2, false);
    const OutlineItem frame = ImageItem(1);
    editor.Select(frame);
    answers = {"first", "second"};
    editor.Dispatch(CmdComment);
    EXPECT_EQ(ChildLabels(frame), std::vector<std::string>{"Comment [1]"});
    EXPECT_TRUE(editor.Modified());
    editor.Dispatch(CmdComment);
    EXPECT_EQ(ChildLabels(frame), (std::vector<std::string>{"Comment [1]", "Comment [2]"}));
    EXPECT_EQ(shown, (std::vector<std::string>{"", ""})) << "adding starts empty";
    EXPECT_EQ(frame.frame->comments.At(1), "second");
    EXPECT_TRUE(ChildLabels(ImageItem(0)).empty());

    // On a comment item the comment is edited in place.
    editor.Select(OutlineItem::Comment(frame.frame, 0));
    answers = {"FIRST"};
    editor.Dispatch(CmdComment);
    EXPECT_EQ(shown.back(), "first");
    EXPECT_EQ(frame.frame->comments.At(0), "FIRST");
    EXPECT_EQ(ChildLabels(frame), (std::vector<std::string>{"Comment [1]", "Comment [2]"}));
    ASSERT_TRUE(editor.Undo());
    EXPECT_EQ(frame.frame->comments.At(0), "first");
    ASSERT_TRUE(editor.Undo());
    EXPECT_EQ(ChildLabels(frame), std::vector<std::string>{"Comment [1]"});
}

TEST_F(CommentTest, GlobalCommentEditedOnlyWhenTheTextChanges) {
    Open(1, true);
    ASSERT_EQ(editor.Data().hasGlobalComments, 1);
    EXPECT_FALSE(editor.Modified());
    editor.Select(OutlineItem::GlobalComment(0));
    answers = {"hello"};
    editor.Dispatch(CmdComment);  // OK without a change
    editor.Dispatch(CmdComment);  // Cancel
    EXPECT_EQ(shown, (std::vector<std::string>{"hello", "hello"}));
    EXPECT_FALSE(editor.Modified());
    EXPECT_EQ(editor.Doc().UndoSteps(), 1u);

    answers = {"bye"};
    editor.Dispatch(CmdComment);
    EXPECT_TRUE(editor.Modified());
    EXPECT_EQ(editor.Data().globalComments.At(0), "bye");
    EXPECT_EQ(editor.Items().Label(OutlineItem::GlobalComment(0)), "GlobalComment [1]");

    // The root adds a second one.
    editor.Select(OutlineItem::Root());
    answers = {"more"};
    editor.Dispatch(CmdComment);
    EXPECT_EQ(shown.back(), "");
    EXPECT_EQ(editor.Items().Label(OutlineItem::GlobalComment(1)), "GlobalComment [2]");
}

TEST(CommentDialog, ShowsTheTextAndTakesAtMostFiveThousandCharacters) {
    std::string text = "old";
    CommentDialog dialog(text);
    EXPECT_EQ(dialog.TextEdit()->toPlainText(), "old");
    dialog.TextEdit()->setPlainText(QString(6000, QChar(0x00E9)));
    dialog.CancelButton()->click();
    EXPECT_EQ(text, "old");
    dialog.OkButton()->click();
    EXPECT_EQ(QString::fromStdString(text), QString(5000, QChar(0x00E9)));
}

TEST(CommentActivation, DoubleClickOnACommentOpensItAnyOtherItemTheParameters) {
    WindowWorld world;
    WriteTestGif(world.dir / "in.gif", 1, 4, 3, 0, 0, 1);
    Editor& editor = world.window.Core();
    ASSERT_EQ(editor.OpenFile(world.dir / "in.gif", OpenOrigin::Menu), 0);
    int opened = 0;
    editor.editComment = [&opened](std::string&) { return ++opened, false; };
    QTreeView* tree = world.window.TreePane();
    const auto* model = static_cast<const OutlineModel*>(tree->model());
    Gif* frame = editor.Data().head;
    for (const OutlineItem& item : {OutlineItem::Comment(frame, 0), OutlineItem::Frame(frame)}) {
        const QModelIndex index = model->IndexOf(item);
        tree->setCurrentIndex(index);
        emit tree->activated(index);
    }
    EXPECT_EQ(opened, 1);
    EXPECT_TRUE(world.window.Parameters());
}

}  // namespace
}  // namespace anitrope::test
