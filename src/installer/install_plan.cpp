#include "installer/install_plan.h"

#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <iterator>

#include "installer/file_io.h"
#include "installer/szdd.h"

namespace anitrope {

// Entries 5 to 27 are the web-page example (its style sheet, its page and the 21 frames it
// shows); 28 to 89 the example animations, their page, and the single frames of one of them.
// The names must match what tools/make-dist.sh writes.
const std::array<const char*, kFileTableSize>& FileTable() {
    static constexpr const char* kBase[] = {"anitrope._", "anitrope.qc_", "uninstall._",
                                            "contents.htm_", "anitrope-cli._"};
    static constexpr const char* kJava[] = {
        "webpage.cs_", "webpage.htm_", "frame01.gi_", "frame02.gi_", "frame03.gi_", "frame04.gi_",
        "frame05.gi_", "frame06.gi_",  "frame07.gi_", "frame08.gi_", "frame09.gi_", "frame10.gi_",
        "frame11.gi_", "frame12.gi_",  "frame13.gi_", "frame14.gi_", "frame15.gi_", "frame16.gi_",
        "frame17.gi_", "frame18.gi_",  "frame19.gi_", "frame20.gi_", "frame21.gi_"};
    static constexpr const char* kExamples[] = {
        "examples.htm_", "bounce.gi_",   "banner.gi_",   "fade.gi_",     "blind.gi_",
        "spiral.gi_",    "wave.gi_",     "pixelize.gi_", "radar.gi_",    "zoom.gi_",
        "flag.gi_",      "checkers.gi_", "bounce01.gi_", "bounce02.gi_", "bounce03.gi_",
        "bounce04.gi_",  "bounce05.gi_", "bounce06.gi_", "bounce07.gi_", "bounce08.gi_",
        "bounce09.gi_",  "bounce10.gi_", "bounce11.gi_", "bounce12.gi_"};
    static_assert(std::size(kBase) == kFirstJavaEntry);
    static_assert(std::size(kJava) == kFirstExampleEntry - kFirstJavaEntry);
    static_assert(std::size(kExamples) <= kFileTableSize - kFirstExampleEntry);
    static const std::array<const char*, kFileTableSize> table = [] {
        std::array<const char*, kFileTableSize> names;
        names.fill("");
        auto next = std::copy(std::begin(kBase), std::end(kBase), names.begin());
        next = std::copy(std::begin(kJava), std::end(kJava), next);
        std::copy(std::begin(kExamples), std::end(kExamples), next);
        return names;
    }();
    return table;
}

Component ComponentOf(int entry) {
    if (entry == kHelpEntry || entry == kContentsEntry) return Component::Help;
    if (entry >= kFirstJavaEntry && entry < kFirstExampleEntry) return Component::Java;
    if (entry >= kFirstExampleEntry) return Component::Examples;
    return Component::Base;
}

bool IsProgramEntry(int entry) {
    return entry == kProgramEntry || entry == kUninstallEntry || entry == 4;
}

std::string SubdirectoryOf(Component component) {
    if (component == Component::Java) return kJavaFolder;
    if (component == Component::Examples) return kExamplesFolder;
    return "";
}

bool InstallPlan::Includes(Component component) const {
    switch (component) {
        case Component::Help:
            return help;
        case Component::Java:
            return java;
        case Component::Examples:
            return examples;
        case Component::Base:
            break;
    }
    return true;
}

uint64_t InstallPlan::RequiredBytes() const {
    return baseSize + (help ? helpSize : 0) + (examples ? examplesSize : 0) + (java ? javaSize : 0);
}

std::string DefaultTargetDirectory(const std::string& home) {
    return home + (home.ends_with('/') ? "" : "/") + ".local/opt/Anitrope";
}

void TakeSizesFrom(InstallPlan& plan) {
    uint64_t sums[4] = {0, 0, 0, 0};
    for (int entry = 0; entry < kFileTableSize; ++entry) {
        const std::string name = FileTable()[entry];
        if (name.empty()) continue;
        const auto bytes = ReadWholeFile(plan.sourceDirectory + "/" + name, 1u << 30);
        if (!bytes) continue;
        if (const auto header = ReadSzddHeader(*bytes))
            sums[static_cast<int>(ComponentOf(entry))] += header->length;
    }
    plan.baseSize = std::max(plan.baseSize, sums[static_cast<int>(Component::Base)]);
    plan.helpSize = std::max(plan.helpSize, sums[static_cast<int>(Component::Help)]);
    plan.javaSize = std::max(plan.javaSize, sums[static_cast<int>(Component::Java)]);
    plan.examplesSize = std::max(plan.examplesSize, sums[static_cast<int>(Component::Examples)]);
}

std::string WithInstallFolder(const std::string& folder) {
    return folder + (folder.ends_with('/') ? "" : "/") + "Anitrope";
}

std::optional<FreeSpace> QueryFreeSpace(const std::string& path) {
    if (path.empty()) return std::nullopt;
    std::string existing = path;
    if (!path.starts_with('/')) {  // told of, then refused as a path
        char here[4096];
        if (!::getcwd(here, sizeof here)) return std::nullopt;
        existing = std::string(here) + "/" + path;
    }
    struct stat info {};
    while (::stat(existing.c_str(), &info) != 0) {
        const std::string parent = DirectoryOf(existing);
        if (parent.empty() || parent == existing) return std::nullopt;
        existing = parent;
    }
    struct statvfs volume {};
    if (::statvfs(existing.c_str(), &volume) != 0) return std::nullopt;
    FreeSpace space;
    space.bytes = static_cast<uint64_t>(volume.f_bavail) * volume.f_frsize;
    // The mount point: the last directory upwards that is still on the same device.
    std::string mount = existing;
    const dev_t device = info.st_dev;
    while (mount != "/" && !mount.empty()) {
        const std::string parent = DirectoryOf(mount);
        struct stat above {};
        if (parent.empty() || ::stat(parent.c_str(), &above) != 0 || above.st_dev != device) break;
        mount = parent;
    }
    space.mountPoint = mount;
    return space;
}

TargetProblem CheckTarget(const std::string& target, const std::optional<FreeSpace>& space,
                          uint64_t requiredBytes) {
    if (!space) return TargetProblem::NotValid;
    if (space->bytes < requiredBytes) return TargetProblem::NotEnoughSpace;
    // Control characters would break the lines of desktop entries and of the manifest.
    const bool plain = std::none_of(target.begin(), target.end(), [](char c) {
        return std::iscntrl(static_cast<unsigned char>(c));
    });
    if (!target.starts_with('/') || !plain) return TargetProblem::BadPath;
    return TargetProblem::None;
}

std::string LengthenShortExtension(const std::string& path) {
    if (path.size() < 3) return path;
    std::string tail = path.substr(path.size() - 3);
    std::transform(tail.begin(), tail.end(), tail.begin(), [](char c) {
        return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    });
    const std::string stem = path.substr(0, path.size() - 3);
    if (tail == ".ht") return stem + ".html";
    if (tail == ".cl") return stem + ".class";
    return path;
}

std::string TargetPathFor(const InstallPlan& plan, int entry, const std::string& fileName) {
    if (fileName.empty() || fileName == "." || fileName == ".." ||
        fileName.find('/') != std::string::npos ||
        std::any_of(fileName.begin(), fileName.end(),
                    [](char c) { return std::iscntrl(static_cast<unsigned char>(c)); }))
        return "";
    const std::string folder = SubdirectoryOf(ComponentOf(entry));
    return LengthenShortExtension(plan.targetDirectory + "/" +
                                  (folder.empty() ? "" : folder + "/") + fileName);
}

}  // namespace anitrope
