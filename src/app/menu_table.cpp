#include "app/menu_table.h"

#include "app/command_ids.h"

namespace anitrope {

const std::vector<Menu>& MainMenu() {
    static const std::vector<Menu> menu{
        {"&File",
         {{CmdOpen, "&Open...\tCtrl+O", {"Ctrl+O", "F3"}},
          {CmdSaveAs, "Save &As ...\tCtrl+S", {"Ctrl+S", "F2", "F12"}},
          {CmdNew, "&New\tCtrl+N", {"Ctrl+N"}},
          {0, "", {}},
          {CmdExportImage, "&Export Image ...", {}},
          {CmdExportAll, "Ex&port All Images ...", {}},
          {0, "", {}},
          {CmdExit, "E&xit\tAlt+X", {"Alt+X"}}}},
        {"&Edit",
         {{CmdUndo, "&Undo\tCtrl+Z", {"Ctrl+Z"}},
          {CmdRedo, "&Redo\tCtrl+Y", {"Ctrl+Y", "Ctrl+Shift+Z"}},
          {0, "", {}},
          {CmdCut, "Cu&t\tCtrl+X", {"Ctrl+X"}},
          {CmdCopy, "&Copy\tCtrl+C", {"Ctrl+C", "Ctrl+Insert"}},
          {CmdPaste, "&Paste\tCtrl+V", {}},
          {0, "", {}},
          {CmdDelete, "De&lete\tDel", {"Del"}},
          {CmdDuplicate, "&Duplicate\tCtrl+D", {"Ctrl+D"}},
          {0, "", {}},
          {CmdResize, "&Resize ...", {}},
          {CmdComment, "&Comment ...", {}},
          {0, "", {}},
          {CmdOptimize, "&Optimize Images", {}},
          {CmdUnoptimize, "&UnOptimize Images", {}}}},
        {"&Insert",
         {{CmdInsertEffect, "Insert &Effect ...\tCtrl+E", {"Ctrl+E"}},
          {CmdInsertTransition, "Insert &Transition ...\tCtrl+T", {}},
          {CmdBannerText, "&Banner Text ...", {"Ctrl+B"}}}},
        {"&Animation",
         {{CmdGotoFirst, "Goto &First Image", {}},
          {CmdStartAnimation, "Start &Animation\tCtrl+P", {"Ctrl+P"}},
          {CmdStopAnimation, "&Stop Animation", {}},
          {CmdGotoLast, "Goto &Last Image", {}}}},
        {"&Options",
         {{CmdParameters, "&Parameters ...", {}}, {CmdOptions, "&Options ...", {}}}},
        {"&Help",
         {{CmdHelpContents, "&Contents\tF1", {"F1"}},
          {CmdHelpSearch, "&Search For Help On...", {}},
          {CmdHelpOnHelp, "&How To Use Help", {}},
          {CmdKeyBindings, "&Key Bindings", {}},
          {0, "", {}},
          {CmdAbout, "&About...", {}}}},
    };
    return menu;
}

const std::vector<MenuItem>& AcceleratorOnly() {
    static const std::vector<MenuItem> keys{{CmdPasteKey, "", {"Ctrl+V"}},
                                            {CmdInsertTransitionKey, "", {"Ctrl+T"}}};
    return keys;
}

const std::vector<ToolbarButton>& Toolbar() {
    static const std::vector<ToolbarButton> buttons{
        {0, 0},  {CmdOpen, 0},          {CmdSaveAs, 1}, {0, 0},        {CmdCopy, 2},
        {0, 0},  {CmdInsertEffect, 3},  {CmdInsertTransition, 9},      {0, 0},
        {CmdBannerText, 10},            {0, 0},         {0, 0},        {CmdHelpContents, 4},
        {0, 0},  {0, 0},                {CmdGotoFirst, 7},             {CmdStartAnimation, 5},
        {CmdGotoLast, 8},
    };
    return buttons;
}

const std::vector<MenuItem>& TreeContextMenu() {
    static const std::vector<MenuItem> menu{
        {CmdCut, "Cu&t\tCtrl+X", {}},           {CmdCopy, "&Copy\tCtrl+C", {}},
        {CmdPaste, "&Paste\tCtrl+V", {}},       {0, "", {}},
        {CmdDelete, "&Delete\tDel", {}},        {CmdDuplicate, "D&uplicate\tCtrl+D", {}},
        {0, "", {}},                            {CmdInsertEffect, "Insert &Effect\tCtrl+E", {}},
        {CmdInsertTransition, "Insert T&ransition\tCtrl+T", {}}, {CmdComment, "Comment", {}},
        {0, "", {}},                            {CmdOpen, "&Import Image\tCtrl+O", {}},
        {CmdExportImage, "E&xport Image...", {}},
    };
    return menu;
}

}  // namespace anitrope
