#include "installer/installation.h"

#include "installer/file_io.h"
#include "installer/manifest.h"
#include "installer/setup_messages.h"
#include "installer/szdd.h"

namespace anitrope {
namespace {

namespace text = setup_text;

void DropTrailingSlash(std::string& path) {
    if (path.size() > 1 && path.ends_with('/')) path.pop_back();
}

// Writes `files`, each into a directory made as needed; everything written goes into the
// manifest. False when any of them could not be written.
bool WriteAll(const std::vector<GeneratedFile>& files, Manifest& manifest) {
    bool ok = true;
    for (const GeneratedFile& file : files) {
        if (MakeDirectories(DirectoryOf(file.path), &manifest) &&
            WriteTextAtomically(file.path, file.text, file.mode))
            manifest.AddFile(file.path);
        else
            ok = false;
    }
    return ok;
}

bool SaveManifest(const std::string& path, Manifest& manifest) {
    manifest.AddFile(path);
    return WriteTextAtomically(path, manifest.Text(), 0644);
}

// One file-table entry expanded into the target; false when the user answered anything but
// Yes to a question about it. `installedPath` receives the expanded file's path.
bool InstallEntry(const InstallPlan& plan, int entry, SetupDialogs& dialogs,
                  ExtractProgress& progress, Manifest& manifest, std::string& installedPath) {
    const std::string name = FileTable()[entry];
    const std::string source = plan.sourceDirectory + "/" + name;
    const auto packed = ReadWholeFile(source, std::size_t{kSzddMaxExpandedSize} * 2);
    const std::optional<SzddHeader> header = packed ? ReadSzddHeader(*packed) : std::nullopt;
    if (!header) return dialogs.AskYes(source, text::kCannotOpen);

    const std::string target =
        TargetPathFor(plan, entry, FileNameOf(ExpandedName(name, header->missingChar)));
    if (target.empty()) return dialogs.AskYes(name, text::kCannotInstall);

    progress.Step(entry, FileNameOf(target), target);
    const SzddContents contents = ExpandSzdd(*packed);
    if (contents.status != SzddStatus::Ok ||
        !WriteFileAtomically(target, contents.data, IsProgramEntry(entry) ? 0755 : 0644))
        return dialogs.AskYes(target, text::kCannotDecompress);
    manifest.AddFile(target);
    installedPath = target;
    return true;
}

}  // namespace

InstallOutcome Install(InstallPlan& plan, const std::optional<DesktopDirectories>& desktop,
                       SettingsWriter& settings, SetupDialogs& dialogs, ExtractProgress& progress) {
    DropTrailingSlash(plan.targetDirectory);
    DropTrailingSlash(plan.sourceDirectory);
    const std::string& target = plan.targetDirectory;
    const std::string manifestPath = target + "/" + kManifestName;

    Manifest manifest;
    if (const auto earlier = ReadWholeFile(manifestPath, 16u << 20))
        manifest.Merge(std::string(earlier->begin(), earlier->end()));
    MakeDirectories(target, &manifest);  // failures show up as file errors below
    if (plan.java) MakeDirectories(target + "/" + kJavaFolder, &manifest);
    if (plan.examples) MakeDirectories(target + "/" + kExamplesFolder, &manifest);

    progress.Open(kFileTableSize);
    if (plan.examples) settings.WriteText("Path", target + "/" + kExamplesFolder + "/");

    bool success = true;
    std::string installed[kFileTableSize];
    for (int entry = 0; entry < kFileTableSize && success; ++entry) {
        if (!plan.Includes(ComponentOf(entry)) || FileTable()[entry][0] == '\0') continue;
        success = InstallEntry(plan, entry, dialogs, progress, manifest, installed[entry]);
    }
    progress.Close();

    InstallOutcome outcome;
    if (!success) {
        dialogs.Tell(text::kCheckArchive, text::kFailed, MessageIcon::Error);
        return outcome;
    }

    const std::string& program = installed[kProgramEntry];
    settings.WriteText("InstallationPath", target);
    if (!SaveManifest(manifestPath, manifest))
        dialogs.Tell(text::kNoUninstallText, text::kNoUninstallTitle, MessageIcon::Warning);

    if (!desktop || !MakeDirectories(desktop->dataHome, &manifest) ||
        !MakeDirectories(desktop->configHome, &manifest)) {
        dialogs.Tell("", text::kRegistryPanic, MessageIcon::Error);
        SaveManifest(manifestPath, manifest);
        outcome.result = InstallOutcome::Panic;
        return outcome;
    }
    // The manual's entry starts the editor on its help window, which reads the help file.
    const bool manual = plan.help && !installed[kHelpEntry].empty();
    if (program.empty() || !WriteAll(MenuFiles(*desktop, program, manual), manifest))
        dialogs.Tell(text::kLinksManually, text::kNoStartMenu, MessageIcon::Warning);
    if (program.empty() || !WriteAll(EditAnimationFiles(*desktop, program), manifest))
        dialogs.Tell(text::kLinksManually, text::kNoStartMenu, MessageIcon::Warning);
    if (!SaveManifest(manifestPath, manifest))
        dialogs.Tell(text::kNoUninstallText, text::kNoUninstallTitle, MessageIcon::Warning);

    outcome.result = InstallOutcome::Installed;
    outcome.program = program;
    return outcome;
}

}  // namespace anitrope
