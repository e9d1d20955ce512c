#pragma once

// The uninstall manifest: every file the installation wrote and every directory it created,
// inside the target and outside it (menu entries, file-manager actions). The uninstall
// program removes exactly these: the files, then the directories that are empty by then.
// The settings are the user's and stay.
//
// One entry a line: "F PATH" or "D PATH", PATH absolute.

#include <string>
#include <vector>

namespace anitrope {

inline constexpr const char* kManifestName = "uninstall.manifest";

class Manifest {
  public:
    void AddFile(const std::string& path);
    void AddDirectory(const std::string& path);
    // Takes in a manifest of an earlier installation into the same target, so that installing
    // twice still lets one uninstall remove both. Unreadable lines are skipped.
    void Merge(const std::string& text);

    std::string Text() const;
    const std::vector<std::string>& Files() const { return files_; }
    const std::vector<std::string>& Directories() const { return directories_; }

  private:
    std::vector<std::string> files_;
    std::vector<std::string> directories_;
};

struct UninstallResult {
    int removedFiles = 0;
    int removedDirectories = 0;
    std::vector<std::string> failed;  // files that are there but could not be removed
    std::vector<std::string> kept;    // directories that hold files of the user's
};

// Removes the manifest's files (never following links), then its directories deepest first
// when they are empty. Files already gone count as removed.
UninstallResult Uninstall(const Manifest& manifest);

// Creates `path` and every missing directory above it; each one created is added to
// `manifest` (when given). False when `path` is not a directory afterwards.
bool MakeDirectories(const std::string& path, Manifest* manifest);

}  // namespace anitrope
