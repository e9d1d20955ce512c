// Start-up: settings, the single-instance hand-over, the window, the file from the command
// line; the settings are written back when the window closes.
//
//   anitrope [FILE]            opens FILE in a new editor
//   anitrope --desktop FILE    as the desktop starts us for a double-clicked file: handed to
//                              the running editor unless "MultiInst" is 1
//
// ANITROPE_SETTINGS names another settings file, ANITROPE_INSTANCE another hand-over channel,
// and ANITROPE_TRACE=1 prints "listening" and "opened PATH" lines (for tests and scripts).

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/command_ids.h"
#include "app/main_window.h"
#include "app/confirmation_dialog.h"
#include "app/qt_color_chooser.h"
#include "app/qt_font_chooser.h"
#include "app/qt_file_chooser.h"
#include "app/qt_help_viewer.h"
#include "app/qt_image_clipboard.h"
#include "app/qt_message_boxes.h"
#include "app/qt_settings_store.h"
#include "app/settings.h"
#include "app/single_instance.h"

namespace {

using namespace anitrope;

constexpr int kHandOverWaitMs = 10000;

struct CommandLine {
    std::string file;
    bool fromDesktop = false;
    bool manual = false;  // open the manual's contents once the window is up
};

CommandLine ParseCommandLine(const QStringList& args) {
    CommandLine line;
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == "--desktop") {
            line.fromDesktop = true;
        } else if (args[i] == "--manual") {
            line.manual = true;
        } else if (line.file.empty()) {
            line.file = args[i].toStdString();
        }
    }
    return line;
}

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

void Trace(const std::string& line) {
    if (Env("ANITROPE_TRACE") != "1") return;
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

// Hands the file to the running editor; false when it does not answer.
bool HandOver(SingleInstance& instance, KeyValueStore& store, const std::string& file) {
    const std::optional<uint32_t> number = instance.AskNumber(kHandOverWaitMs);
    if (!number) return false;
    store.WriteText(HandOverValueName(*number), file);
    return store.Flush() && instance.PostHandOver();
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const CommandLine line = ParseCommandLine(QApplication::arguments());
    QtSettingsStore store(Env("ANITROPE_SETTINGS"));
    QtMessageBoxes boxes;
    const QSize screen = QGuiApplication::primaryScreen()
                             ? QGuiApplication::primaryScreen()->size()
                             : QSize(1024, 768);
    std::optional<Settings> settings = LoadSettings(store, screen.width(), screen.height());
    if (!settings) {
        boxes.Show({"", kRegistryPanicTitle, MessageIcon::Error, kOkButton});
        return kRegistryPanicExitCode;
    }

    const std::string channel = Env("ANITROPE_INSTANCE");
    SingleInstance instance(channel.empty() ? SingleInstance::DefaultName()
                                            : QString::fromStdString(channel));
    const bool another = instance.AnotherRuns();
    if (line.fromDesktop && !line.file.empty() && another && settings->multiInst == 0 &&
        HandOver(instance, store, line.file))
        return 0;
    if (!another && instance.Listen()) Trace("listening");

    QtFileChooser files;
    QtImageClipboard clipboard;
    QtColorChooser colors;
    QtFontChooser fonts;
    QtConfirmations confirmations;
    MainWindow window(*settings, boxes, files, clipboard, colors, fonts, confirmations);
    QtHelpViewer help(FindManual(QCoreApplication::applicationDirPath().toStdString()),
                      DefaultHelpCollection(), &window);
    window.Core().SetHelp(&help);
    files.SetHelp(&help);
    colors.SetParent(&window);
    fonts.SetParent(&window);
    confirmations.SetParent(&window);
    boxes.SetParent(&window);
    files.SetParent(&window);
    window.Core().onOpened = [](const std::string& path) { Trace("opened " + path); };
    uint32_t consumed = 0;  // the counter of command 1063
    instance.onHandOver = [&] {
        const std::string name = HandOverValueName(consumed++);
        store.Flush();  // takes in what the other instance wrote
        const std::optional<std::string> file = store.ReadText(name);
        if (!file) return;
        store.Remove(name);
        store.Flush();
        window.raise();
        window.activateWindow();
        window.Core().Dispatch(CmdOpenHandedOver, *file);
    };

    const WindowPlacement& placement = settings->winRect;
    if (!placement.IsEmpty())
        window.setGeometry(placement.left, placement.top, placement.right - placement.left,
                           placement.bottom - placement.top);
    if (placement.showCommand == 3) window.showMaximized(); else window.show();
    if (Env("ANITROPE_TRACE") != "1") window.ShowSplash();
    if (settings->toolWindows) window.ToggleParameters();
    if (!line.file.empty()) window.Core().Dispatch(CmdOpenCommandLine, line.file);
    if (line.manual) window.Core().Dispatch(CmdHelpContents);

    const int code = application.exec();
    if (!SaveSettings(*settings, store)) {
        boxes.Show({"", kRegistryPanicTitle, MessageIcon::Error, kOkButton});
        return kRegistryPanicExitCode;
    }
    return code;
}
