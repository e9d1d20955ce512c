#pragma once

#include <string_view>

namespace anitrope {

// What a command does, in a line: shown in the status bar while its menu item is highlighted
// and as its toolbar button's tooltip (at most 64 characters). Empty for a number that is no
// command.
std::string_view CommandHelp(int command);

// The line a top-level menu shows while highlighted, by its title: the File, Edit and Help
// menus have one, the others none.
std::string_view MenuHelp(std::string_view menuTitle);

// What part 0 of the status bar shows when no menu is open.
inline constexpr std::string_view kProductName = "Anitrope";

}  // namespace anitrope
