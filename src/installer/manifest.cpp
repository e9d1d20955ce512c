#include "installer/manifest.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <sstream>

#include "installer/file_io.h"

namespace anitrope {
namespace {

void AddOnce(std::vector<std::string>& list, const std::string& path) {
    if (std::find(list.begin(), list.end(), path) == list.end()) list.push_back(path);
}

bool IsDirectory(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

void Manifest::AddFile(const std::string& path) { AddOnce(files_, path); }
void Manifest::AddDirectory(const std::string& path) { AddOnce(directories_, path); }

void Manifest::Merge(const std::string& text) {
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.size() < 3 || line[1] != ' ' || line[2] != '/') continue;
        if (line[0] == 'F')
            AddFile(line.substr(2));
        else if (line[0] == 'D')
            AddDirectory(line.substr(2));
    }
}

std::string Manifest::Text() const {
    std::string text;
    for (const std::string& path : directories_) text += "D " + path + "\n";
    for (const std::string& path : files_) text += "F " + path + "\n";
    return text;
}

UninstallResult Uninstall(const Manifest& manifest) {
    UninstallResult result;
    for (const std::string& path : manifest.Files()) {
        if (::unlink(path.c_str()) == 0 || errno == ENOENT)
            ++result.removedFiles;
        else
            result.failed.push_back(path);
    }
    std::vector<std::string> directories = manifest.Directories();
    std::sort(directories.begin(), directories.end(),
              [](const std::string& a, const std::string& b) { return a.size() > b.size(); });
    for (const std::string& path : directories) {
        if (::rmdir(path.c_str()) == 0 || errno == ENOENT)
            ++result.removedDirectories;
        else
            result.kept.push_back(path);
    }
    return result;
}

bool MakeDirectories(const std::string& path, Manifest* manifest) {
    if (path.empty()) return false;
    if (IsDirectory(path)) return true;
    const std::string parent = DirectoryOf(path);
    if (!parent.empty() && parent != path && !MakeDirectories(parent, manifest)) return false;
    if (::mkdir(path.c_str(), 0755) == 0) {
        if (manifest) manifest->AddDirectory(path);
        return true;
    }
    return IsDirectory(path);
}

}  // namespace anitrope
