#include "app/command_table.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "app/command_ids.h"
#include "app/menu_table.h"

namespace anitrope {
namespace {

// The states the rules tell apart.
AppState Empty() { return {}; }
AppState OnRoot() {
    AppState s;
    s.document = true;
    s.kind = SelectionKind::None;
    s.currentFrame = true;
    s.frames = 3;
    return s;
}
AppState OnImage(bool successor = true, bool sameRect = true) {
    AppState s = OnRoot();
    s.kind = SelectionKind::Image;
    s.successor = successor;
    s.sameRectSuccessor = successor && sameRect;
    return s;
}
AppState On(SelectionKind kind) {
    AppState s = OnRoot();
    s.kind = kind;
    return s;
}
AppState With(AppState s, void (*change)(AppState&)) {
    change(s);
    return s;
}

// Every rule, for every kind of state: which commands the menu offers. Commands whose work
// comes later are left out here (they are grayed whatever the rule) and checked below.
TEST(CommandTable, MenuRulesFollowTheState) {
    struct Row {
        const char* state;
        AppState value;
        std::set<int> enabled;
    };
    const std::set<int> always{CmdOpen, CmdExit, CmdParameters, CmdOptions, CmdAbout, CmdHelpContents,
                               CmdHelpSearch, CmdHelpOnHelp, CmdKeyBindings,
                               CmdRecentFile1, CmdRecentFile1 + 1, CmdRecentFile1 + 2,
                               CmdRecentFile1 + 3, CmdRecentFile1 + 4, CmdOpenCommandLine,
                               CmdOpenHandedOver};
    auto plus = [&](std::set<int> more) {
        more.insert(always.begin(), always.end());
        return more;
    };
    const std::set<int> document{CmdSaveAs, CmdNew, CmdOptimize, CmdUnoptimize, CmdResize,
                                 CmdGotoFirst, CmdStartAnimation, CmdGotoLast, CmdEffectButton};
    auto withDocument = [&](std::set<int> more) {
        more.insert(document.begin(), document.end());
        return plus(more);
    };
    const std::vector<Row> rows{
        {"empty", Empty(), plus({CmdBannerText})},
        {"empty, a picture on the clipboard", With(Empty(), [](AppState& s) { s.clipboardImage = true; }),
         plus({CmdPaste, CmdPasteKey, CmdBannerText})},
        {"root", OnRoot(), withDocument({CmdComment, CmdBannerText})},
        {"root, clipboard", With(OnRoot(), [](AppState& s) { s.clipboardImage = true; }),
         withDocument({CmdPaste, CmdPasteKey, CmdComment, CmdBannerText})},
        {"image with a successor of its rectangle", OnImage(),
         withDocument({CmdExportImage, CmdExportAll, CmdCut, CmdCopy, CmdDelete, CmdDuplicate,
                       CmdInsertEffect, CmdInsertTransition, CmdInsertTransitionKey, CmdComment,
                       CmdBannerText})},
        {"image with a successor elsewhere", OnImage(true, false),
         withDocument({CmdExportImage, CmdExportAll, CmdCut, CmdCopy, CmdDelete, CmdDuplicate,
                       CmdInsertEffect, CmdComment, CmdBannerText})},
        {"last image, clipboard", With(OnImage(false), [](AppState& s) { s.clipboardImage = true; }),
         withDocument({CmdExportImage, CmdExportAll, CmdCut, CmdCopy, CmdDelete, CmdDuplicate, CmdPaste,
                       CmdPasteKey, CmdInsertEffect, CmdComment, CmdBannerText})},
        {"comment", On(SelectionKind::Comment), withDocument({CmdDelete, CmdExportAll, CmdComment})},
        {"global comment", On(SelectionKind::GlobalComment),
         withDocument({CmdDelete, CmdExportAll, CmdComment})},
        {"effect group, clipboard",
         With(On(SelectionKind::EffectGroup), [](AppState& s) { s.clipboardImage = true; }),
         withDocument({CmdDelete, CmdExportAll})},
        {"banner group", On(SelectionKind::BannerGroup), withDocument({CmdDelete, CmdExportAll})},
        {"playing", With(OnImage(), [](AppState& s) { s.playing = true; }),
         withDocument({CmdExportImage, CmdExportAll, CmdCut, CmdCopy, CmdDelete, CmdDuplicate,
                       CmdStopAnimation, CmdInsertEffect, CmdInsertTransition,
                       CmdInsertTransitionKey, CmdComment, CmdBannerText})},
        {"something to undo and redo",
         With(OnRoot(), [](AppState& s) { s.undoName = "Delete"; s.redoName = "Paste"; }),
         withDocument({CmdUndo, CmdRedo, CmdComment, CmdBannerText})},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.state);
        for (const Command& command : Commands()) {
            if (!command.available) continue;
            EXPECT_EQ(MenuEnabled(command.id, row.value), row.enabled.count(command.id) == 1)
                << "command " << command.id;
        }
    }
}

// Export All and Comment follow the selection kind, not only the document.
TEST(CommandTable, ExportAllAndCommentFollowTheSelectionKind) {
    struct Row {
        int command;
        AppState on;
        AppState off;
    };
    const std::vector<Row> rows{
        {CmdExportAll, On(SelectionKind::Comment), OnRoot()},
        {CmdComment, On(SelectionKind::GlobalComment), On(SelectionKind::EffectGroup)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.command);
        const Command* command = FindCommand(row.command);
        ASSERT_NE(command, nullptr);
        EXPECT_TRUE(MenuEnabled(row.command, row.on));
        EXPECT_FALSE(MenuEnabled(row.command, row.off));
    }
}

TEST(CommandTable, ToolbarButtonsToTheFirstAndLastImageAreThereFromTheStart) {
    EXPECT_TRUE(ToolbarEnabled(CmdGotoFirst, Empty()));
    EXPECT_TRUE(ToolbarEnabled(CmdGotoLast, Empty()));
    EXPECT_FALSE(MenuEnabled(CmdGotoFirst, Empty()));
    EXPECT_FALSE(ToolbarEnabled(CmdSaveAs, Empty()));
    EXPECT_TRUE(ToolbarEnabled(CmdSaveAs, OnRoot()));
}

TEST(CommandTable, ChecksAndTextsFollowTheState) {
    AppState s = OnImage();
    EXPECT_FALSE(Checked(CmdStartAnimation, s));
    EXPECT_FALSE(Checked(CmdParameters, s));
    s.playing = true;
    s.parametersOpen = true;
    EXPECT_TRUE(Checked(CmdStartAnimation, s));
    EXPECT_TRUE(Checked(CmdParameters, s));

    // The Undo and Redo texts are tried through the window, with the edits' names.
    EXPECT_EQ(MenuText(CmdResize, s), "&Resize All");
    s.frames = 1;
    EXPECT_EQ(MenuText(CmdResize, s), "&Resize");
    EXPECT_EQ(MenuText(CmdResize, Empty()), "&Resize ...");
    EXPECT_EQ(MenuText(CmdCopy, s), "") << "fixed texts come from the menu";
}

// Every command a menu, key or button issues is in the table, once.
TEST(CommandTable, EveryIssuedCommandHasOneRow) {
    std::set<int> issued;
    for (const Menu& menu : MainMenu())
        for (const MenuItem& item : menu.items)
            if (item.command != 0) issued.insert(item.command);
    for (const MenuItem& item : AcceleratorOnly()) issued.insert(item.command);
    for (const ToolbarButton& button : Toolbar())
        if (button.command != 0) issued.insert(button.command);
    for (const MenuItem& item : TreeContextMenu())
        if (item.command != 0) issued.insert(item.command);
    std::multiset<int> rows;
    for (const Command& command : Commands()) rows.insert(command.id);
    for (int id : issued) EXPECT_EQ(rows.count(id), 1u) << "command " << id;
    for (int id : rows) EXPECT_EQ(rows.count(id), 1u) << "command " << id << " twice";
}

}  // namespace
}  // namespace anitrope
