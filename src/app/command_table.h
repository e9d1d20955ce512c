#pragma once

#include <cstddef>
#include <span>
#include <string>

#include "app/selection_kind.h"

namespace anitrope {

class Editor;

// Everything the commands' rules look at: a snapshot of the editor, taken after every change.
struct AppState {
    bool document = false;         // frames are open
    SelectionKind kind = SelectionKind::None;
    bool currentFrame = false;     // a frame was selected (the current Gif)
    bool successor = false;        // the current frame has a frame after it
    bool sameRectSuccessor = false;  // ... with the same position and size (a transition fits)
    bool clipboardImage = false;
    bool playing = false;
    bool parametersOpen = false;
    std::size_t frames = 0;
    std::string undoName;          // empty: nothing to undo
    std::string redoName;
};

using CommandRule = bool (*)(const AppState&);

// One command of the editor: its number, when its menu item and its toolbar button (if it has
// one) are enabled, and what it does. A command whose work comes later is grayed whatever its
// rule says.
struct Command {
    int id;
    CommandRule menu;
    CommandRule toolbar;  // null: the same as the menu's
    void (*run)(Editor& editor, const std::string& argument);
    bool available = true;
};

// Every command, in menu order.
std::span<const Command> Commands();
const Command* FindCommand(int id);

// The rules of a command for `state`; false for an unknown command.
bool MenuEnabled(int id, const AppState& state);
bool ToolbarEnabled(int id, const AppState& state);
// A check mark on the menu item (Parameters while open) or the toolbar button's second image
// (Start Animation while playing).
bool Checked(int id, const AppState& state);
// The menu text where it follows the state ("&Undo Delete\tCtrl+Z", "&Resize All"); empty
// where the text is fixed.
std::string MenuText(int id, const AppState& state);

}  // namespace anitrope
