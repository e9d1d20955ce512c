// anitrope-setup: installs Anitrope from the compressed files in the current directory.
//   anitrope-setup           the wizard over a full-screen backdrop
//   anitrope-setup --list    the compressed names it reads, one a line (for the packaging)
// ANITROPE_SETTINGS names the settings file to write, as for the editor.

#include <unistd.h>

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "installer/install_plan.h"
#include "installer/qt_setup_dialogs.h"
#include "installer/setup_window.h"

int main(int argc, char** argv) {
    using namespace anitrope;
    if (argc == 2 && std::strcmp(argv[1], "--list") == 0) {
        for (const char* name : FileTable())
            if (*name) std::printf("%s\n", name);
        return 0;
    }
    InstallPlan plan;
    char here[4096];
    plan.sourceDirectory = ::getcwd(here, sizeof here) ? here : ".";
    const char* home = std::getenv("HOME");
    plan.targetDirectory = DefaultTargetDirectory(home ? home : "");
    TakeSizesFrom(plan);

    QApplication application(argc, argv);
    QtSetupDialogs dialogs;
    QtSettingsWriter settings;
    QtExtractProgress progress(nullptr);
    SetupWindow window(plan, dialogs, progress, settings);
    dialogs.SetParent(&window);
    progress.SetParent(&window);
    window.showFullScreen();
    application.exec();
    return window.ExitCode();
}
