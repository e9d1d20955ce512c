#pragma once

// The installation itself, after the wizard: directories, the "Path" setting, every selected
// file expanded into the target, then (when no file error stopped it) "InstallationPath",
// the uninstall manifest, the menu entries and the "Edit Animation" action. The final dialog
// and starting the editor are the caller's.

#include <optional>
#include <string>

#include "installer/desktop_entries.h"
#include "installer/install_plan.h"
#include "installer/setup_dialogs.h"

namespace anitrope {

inline constexpr int kRegistryPanicExitCode = 1;

struct InstallOutcome {
    enum Result { Installed, Failed, Panic } result = Failed;
    std::string program;  // the installed editor, when Installed
};

// `desktop` is nullopt when the user's data directory cannot be told (no HOME, no XDG
// variables); the installation then ends in the "REGISTRY PANIC !" box after the files.
InstallOutcome Install(InstallPlan& plan, const std::optional<DesktopDirectories>& desktop,
                       SettingsWriter& settings, SetupDialogs& dialogs, ExtractProgress& progress);

}  // namespace anitrope
