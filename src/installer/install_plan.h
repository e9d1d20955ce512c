#pragma once

// What the setup wizard collects and the installation carries out: the source and target
// directories, the three optional components and their sizes, and the fixed table of the
// distribution's files.

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace anitrope {

enum class Component { Base, Help, Java, Examples };

inline constexpr int kFileTableSize = 90;
inline constexpr int kProgramEntry = 0;  // the editor: the menu entry and the GIF action start it
inline constexpr int kHelpEntry = 1;     // the help file, opened by the manual's menu entry
inline constexpr int kUninstallEntry = 2;
inline constexpr int kContentsEntry = 3;  // the help contents page
inline constexpr int kFirstJavaEntry = 5;
inline constexpr int kFirstExampleEntry = 28;

// Compressed names, '_' in place of the last letter; an empty name is a slot we do not fill.
const std::array<const char*, kFileTableSize>& FileTable();
Component ComponentOf(int entry);
// The programs among the entries, written executable.
bool IsProgramEntry(int entry);
// The sub-directory of the target that a component's files go to ("" for the target itself).
std::string SubdirectoryOf(Component component);

inline constexpr const char* kJavaFolder = "JAVA";
inline constexpr const char* kExamplesFolder = "Examples";

struct InstallPlan {
    std::string sourceDirectory;  // where the compressed files are read
    std::string targetDirectory;
    bool help = true;
    bool examples = true;
    bool java = true;
    // Bytes each part needs once expanded; the distribution may tell larger figures
    // (TakeSizesFrom).
    uint64_t baseSize = 683008;
    uint64_t helpSize = 105472;
    uint64_t examplesSize = 2159616;
    uint64_t javaSize = 72704;

    bool Includes(Component component) const;
    uint64_t RequiredBytes() const;
};

// ~/.local/opt/Anitrope under `home`.
std::string DefaultTargetDirectory(const std::string& home);

// Raises each size of `plan` to the expanded lengths its files' headers give, when the
// source directory holds them, so that the space check sees what will really be written.
void TakeSizesFrom(InstallPlan& plan);

// A folder chosen with Browse becomes FOLDER/Anitrope.
std::string WithInstallFolder(const std::string& folder);

struct FreeSpace {
    std::string mountPoint;  // the file system that would hold the path
    uint64_t bytes = 0;      // available to us
};
// The free space of the file system holding `path`, or of its nearest existing parent;
// nullopt when even that cannot be asked.
std::optional<FreeSpace> QueryFreeSpace(const std::string& path);

enum class TargetProblem { None, NotValid, NotEnoughSpace, BadPath };
// Why the wizard may not go on with `target`, in the order the user is told.
TargetProblem CheckTarget(const std::string& target, const std::optional<FreeSpace>& space,
                          uint64_t requiredBytes);

// Where entry `entry` lands once expanded to `fileName`: in the component's sub-directory,
// with a short ".ht" or ".cl" ending made whole. Empty when `fileName` is not a plain name.
std::string TargetPathFor(const InstallPlan& plan, int entry, const std::string& fileName);
std::string LengthenShortExtension(const std::string& path);

}  // namespace anitrope
