#include "app/command_table.h"

#include <algorithm>
#include <array>

#include "app/command_ids.h"
#include "app/editor.h"

namespace anitrope {
namespace {

bool Always(const AppState&) { return true; }
bool WithDocument(const AppState& s) { return s.document; }
bool OnImage(const AppState& s) { return s.document && s.kind == SelectionKind::Image; }
bool OnItem(const AppState& s) { return s.document && s.kind != SelectionKind::None; }
bool OnImageWithFrame(const AppState& s) { return OnImage(s) && s.currentFrame; }
// A transition runs from the current frame to the next, which must lie on the same rectangle.
bool TransitionFits(const AppState& s) { return OnImage(s) && s.sameRectSuccessor; }
bool RootOrImage(const AppState& s) {
    return s.kind == SelectionKind::None || s.kind == SelectionKind::Image;
}
bool PasteFits(const AppState& s) { return s.clipboardImage && RootOrImage(s); }
bool Commentable(const AppState& s) {
    return s.document && s.kind != SelectionKind::EffectGroup && s.kind != SelectionKind::BannerGroup;
}
bool WhilePlaying(const AppState& s) { return s.playing; }
bool CanUndo(const AppState& s) { return !s.undoName.empty(); }
bool CanRedo(const AppState& s) { return !s.redoName.empty(); }

template <int Slot>
void Recent(Editor& editor, const std::string&) {
    editor.OpenRecent(Slot);
}

// clang-format off
const std::array kCommands{
    Command{CmdOpen, Always, nullptr, [](Editor& e, const std::string&) { e.Open(); }},
    Command{CmdSaveAs, WithDocument, nullptr, [](Editor& e, const std::string&) { e.SaveAs(0); }},
    Command{CmdNew, WithDocument, nullptr, [](Editor& e, const std::string&) { e.CloseAnimation(); }},
    Command{CmdExportImage, OnImage, nullptr, [](Editor& e, const std::string&) { e.ExportImage(); }},
    Command{CmdExportAll, OnItem, nullptr, [](Editor& e, const std::string&) { e.ExportAllImages(); }},
    Command{CmdExit, Always, nullptr, [](Editor& e, const std::string&) { e.RequestClose(); }},
    Command{CmdUndo, CanUndo, nullptr, [](Editor& e, const std::string&) { e.Undo(); }},
    Command{CmdRedo, CanRedo, nullptr, [](Editor& e, const std::string&) { e.Redo(); }},
    Command{CmdCut, OnImage, nullptr, [](Editor& e, const std::string&) { e.Cut(); }},
    Command{CmdCopy, OnImage, nullptr, [](Editor& e, const std::string&) { e.Copy(); }},
    Command{CmdPaste, PasteFits, nullptr, [](Editor& e, const std::string&) { e.Paste(); }},
    Command{CmdPasteKey, PasteFits, nullptr, [](Editor& e, const std::string&) { e.Paste(); }},
    Command{CmdDelete, OnItem, nullptr, [](Editor& e, const std::string&) { e.Delete(); }},
    Command{CmdDuplicate, OnImage, nullptr, [](Editor& e, const std::string&) { e.Duplicate(); }},
    Command{CmdResize, WithDocument, nullptr, [](Editor& e, const std::string&) { e.ResizeAll(); }},
    Command{CmdComment, Commentable, nullptr, [](Editor& e, const std::string&) { e.EditComment(); }},
    Command{CmdOptimize, WithDocument, nullptr, [](Editor& e, const std::string&) { e.OptimizeImages(); }},
    Command{CmdUnoptimize, WithDocument, nullptr, [](Editor& e, const std::string&) { e.UnoptimizeImages(); }},
    Command{CmdInsertEffect, OnImageWithFrame, nullptr, [](Editor& e, const std::string&) { e.InsertEffect(); }},
    Command{CmdInsertTransition, TransitionFits, nullptr, [](Editor& e, const std::string&) { e.InsertTransition(); }},
    Command{CmdInsertTransitionKey, TransitionFits, nullptr, [](Editor& e, const std::string&) { e.InsertTransition(); }},
    Command{CmdBannerText, RootOrImage, nullptr, [](Editor& e, const std::string&) { e.InsertBanner(); }},
    // The buttons to the first and last image are there from the start.
    Command{CmdGotoFirst, WithDocument, Always, [](Editor& e, const std::string&) { e.GotoFirst(); }},
    Command{CmdStartAnimation, WithDocument, nullptr, [](Editor& e, const std::string&) { e.StartOrStopPlayback(); }},
    Command{CmdStopAnimation, WhilePlaying, nullptr, [](Editor& e, const std::string&) { e.StopPlayback(); }},
    Command{CmdGotoLast, WithDocument, Always, [](Editor& e, const std::string&) { e.GotoLast(); }},
    Command{CmdParameters, Always, nullptr, [](Editor& e, const std::string&) { e.ToggleParameters(); }},
    Command{CmdOptions, Always, nullptr, [](Editor& e, const std::string&) { e.ShowOptions(); }},
    Command{CmdHelpContents, Always, nullptr, [](Editor& e, const std::string&) { e.ShowHelp(CmdHelpContents); }},
    Command{CmdHelpSearch, Always, nullptr, [](Editor& e, const std::string&) { e.ShowHelp(CmdHelpSearch); }},
    Command{CmdHelpOnHelp, Always, nullptr, [](Editor& e, const std::string&) { e.ShowHelp(CmdHelpOnHelp); }},
    Command{CmdKeyBindings, Always, nullptr, [](Editor& e, const std::string&) { e.ShowHelp(CmdKeyBindings); }},
    Command{CmdAbout, Always, nullptr, [](Editor& e, const std::string&) { e.ShowAbout(); }},
    Command{CmdRecentFile1, Always, nullptr, Recent<0>},
    Command{CmdRecentFile1 + 1, Always, nullptr, Recent<1>},
    Command{CmdRecentFile1 + 2, Always, nullptr, Recent<2>},
    Command{CmdRecentFile1 + 3, Always, nullptr, Recent<3>},
    Command{CmdRecentFile1 + 4, Always, nullptr, Recent<4>},
    Command{CmdEffectButton, WithDocument, nullptr, [](Editor& e, const std::string&) { e.EffectOrTransition(); }},
    Command{CmdOpenCommandLine, Always, nullptr, [](Editor& e, const std::string& file) { e.OpenFile(file, OpenOrigin::CommandLine); }},
    Command{CmdOpenHandedOver, Always, nullptr, [](Editor& e, const std::string& file) { e.OpenFile(file, OpenOrigin::CommandLine); }},
};
// clang-format on

}  // namespace

std::span<const Command> Commands() { return kCommands; }

const Command* FindCommand(int id) {
    const auto found = std::find_if(kCommands.begin(), kCommands.end(),
                                    [id](const Command& command) { return command.id == id; });
    return found == kCommands.end() ? nullptr : &*found;
}

bool MenuEnabled(int id, const AppState& state) {
    const Command* command = FindCommand(id);
    return command && command->available && command->menu(state);
}

bool ToolbarEnabled(int id, const AppState& state) {
    const Command* command = FindCommand(id);
    if (!command || !command->available) return false;
    return command->toolbar ? command->toolbar(state) : command->menu(state);
}

bool Checked(int id, const AppState& state) {
    switch (id) {
        case CmdParameters: return state.parametersOpen;
        case CmdStartAnimation: return state.playing;
        default: return false;
    }
}

std::string MenuText(int id, const AppState& state) {
    switch (id) {
        case CmdUndo:
            return state.undoName.empty() ? "&Undo\tCtrl+Z" : "&Undo " + state.undoName + "\tCtrl+Z";
        case CmdRedo:
            return state.redoName.empty() ? "&Redo\tCtrl+Y" : "&Redo " + state.redoName + "\tCtrl+Y";
        case CmdResize:
            if (!state.document) return "&Resize ...";
            return state.frames > 1 ? "&Resize All" : "&Resize";
        default: return {};
    }
}

}  // namespace anitrope
