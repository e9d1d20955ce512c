#pragma once

// The desktop's side of an installation: menu entries in an "Anitrope" menu folder in place
// of Start-menu shortcuts, and the "Edit Animation" action for GIF files in the menu entry
// and in the file managers that take actions from files of their own (Dolphin, Nemo,
// Nautilus). Everything lies under the user's XDG data and configuration directories.

#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

namespace anitrope {

struct DesktopDirectories {
    std::string dataHome;    // $XDG_DATA_HOME, else ~/.local/share
    std::string configHome;  // $XDG_CONFIG_HOME, else ~/.config
};

// From the environment's values (empty = unset); nullopt when neither the XDG variables
// (absolute ones only, as the XDG rules say) nor HOME tell where the user's data go.
std::optional<DesktopDirectories> FindDesktopDirectories(const std::string& home,
                                                         const std::string& dataHome,
                                                         const std::string& configHome);
std::optional<DesktopDirectories> DesktopDirectoriesFromEnvironment();

struct GeneratedFile {
    std::string path;
    std::string text;
    mode_t mode = 0644;
};

// The menu folder and its entries: the editor, and with `manual` the manual (the editor
// started with --manual, which opens its help window).
std::vector<GeneratedFile> MenuFiles(const DesktopDirectories& dirs, const std::string& program,
                                     bool manual);
// The editor's entry again, now with the GIF type and the action, and the file managers'
// action files.
std::vector<GeneratedFile> EditAnimationFiles(const DesktopDirectories& dirs,
                                              const std::string& program);

// One argument of a desktop entry's Exec line, quoted and escaped for a string value.
std::string DesktopExecArgument(const std::string& argument);
// One argument of a POSIX shell command.
std::string ShellArgument(const std::string& argument);

}  // namespace anitrope
