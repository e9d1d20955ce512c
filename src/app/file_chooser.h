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

// The save dialog's extra controls for an animation: "Save &Opimized", "&Display Optimization
// Results" (only while saving optimized) and the "Gif Compression" level slider (1-5).
struct SaveAnimationChoices {
    bool saveOptimized = false;
    bool displayResults = false;
    int level = 3;
};

struct FileDialogRequest {
    std::string title;
    std::vector<FileFilter> filters;
    int selectedFilter = 0;
    std::string directory;     // empty: the toolkit's choice
    std::string proposedName;  // empty: none
    std::optional<SaveAnimationChoices> animationChoices;  // shown below a save dialog
    // The "Jpeg Compression" quality (0-100) below an export dialog whose second type is JPEG.
    std::optional<int> jpegQuality;
};

struct FileChoice {
    std::string path;
    int filter = 0;  // the filter selected when the user accepted
    std::optional<SaveAnimationChoices> animationChoices;  // as the user left them
    std::optional<int> jpegQuality;                        // as the user left it
};

// File dialogs. Nothing is returned when the user cancels. The editor uses Qt's; tests answer
// from a script.
class FileChooser {
public:
    virtual ~FileChooser() = default;
    // The chosen file must exist.
    virtual std::optional<FileChoice> ChooseToOpen(const FileDialogRequest& request) = 0;
    // Asks before replacing an existing file.
    virtual std::optional<FileChoice> ChooseToSave(const FileDialogRequest& request) = 0;
};

}  // namespace anitrope
