#pragma once

#include <span>
#include <vector>

namespace anitrope {

// One menu item: its command, its text ("\t" then the keys shown), and every key that issues
// it. Command 0 is a separator.
struct MenuItem {
    int command;
    const char* text;
    std::vector<const char*> keys;
};

struct Menu {
    const char* title;
    std::vector<MenuItem> items;
};

// The main menu, popup by popup; the recent files follow the File menu's last item.
const std::vector<Menu>& MainMenu();

// Keys with no menu item of their own: Ctrl+V (1015) and Ctrl+T (1023).
const std::vector<MenuItem>& AcceleratorOnly();

// The toolbar, left to right: a command with its image, or 0 for a separator.
struct ToolbarButton {
    int command;
    int image;
};
const std::vector<ToolbarButton>& Toolbar();

// The tree's context menu, in order (0 for a separator).
const std::vector<MenuItem>& TreeContextMenu();

}  // namespace anitrope
