#pragma once

#include <optional>
#include <string>
#include <vector>

namespace anitrope {

// One "Name(pattern;pattern)" entry of a file dialog's type list.
struct FileFilter {
    std::string name;                   // "Gif Images(*.gif)"
    std::vector<std::string> patterns;  // "*.gif"
};

struct FileDialogSpec {
    std::string title;
    std::vector<FileFilter> filters;
    int selectedFilter = 0;
    std::string directory;     // empty: the toolkit's choice
    std::string proposedName;  // empty: none
};

struct FileChoice {
    std::string path;
    int filter = 0;  // the filter selected when the user accepted
};

// File dialogs. Nothing is returned when the user cancels. The editor uses Qt's; tests answer
// from a script.
class FileChooser {
public:
    virtual ~FileChooser() = default;
    // The chosen file must exist.
    virtual std::optional<FileChoice> ChooseToOpen(const FileDialogSpec& spec) = 0;
    // Asks before replacing an existing file.
    virtual std::optional<FileChoice> ChooseToSave(const FileDialogSpec& spec) = 0;
};

}  // namespace anitrope
