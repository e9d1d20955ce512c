#pragma once

namespace anitrope {

// Every command of the editor by its number; menus, keys, toolbar buttons and the tree's
// context menu all issue these.
enum CommandId : int {
    CmdOpen = 1002,
    CmdSaveAs = 1005,
    CmdNew = 1006,
    CmdExportImage = 1007,
    CmdExportAll = 1008,
    CmdExit = 1010,
    CmdCopy = 1013,
    CmdPaste = 1014,
    CmdPasteKey = 1015,
    CmdParameters = 1016,
    CmdDelete = 1018,
    CmdDuplicate = 1019,
    CmdCut = 1020,
    CmdInsertEffect = 1021,
    CmdInsertTransition = 1022,
    CmdInsertTransitionKey = 1023,
    CmdResize = 1024,
    CmdUnoptimize = 1025,
    CmdOptimize = 1026,
    CmdHelpContents = 1030,
    CmdHelpSearch = 1031,
    CmdHelpOnHelp = 1032,
    CmdAbout = 1034,
    CmdGotoFirst = 1040,
    CmdStartAnimation = 1041,
    CmdStopAnimation = 1042,
    CmdGotoLast = 1043,
    CmdOptions = 1044,
    CmdBannerText = 1045,
    CmdKeyBindings = 1048,
    CmdComment = 1049,
    CmdRecentFile1 = 1050,  // ... 1054
    CmdEffectButton = 1061,
    CmdOpenCommandLine = 1062,
    CmdOpenHandedOver = 1063,
    CmdUndo = 1070,
    CmdRedo = 1071,
};

inline constexpr int kRecentFileCommands = 5;

}  // namespace anitrope
