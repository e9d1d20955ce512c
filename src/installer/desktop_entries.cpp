#include "installer/desktop_entries.h"

#include <cstdlib>

#include "installer/file_io.h"

namespace anitrope {
namespace {

constexpr const char* kEditorEntry = "anitrope-editor.desktop";
constexpr const char* kManualEntry = "anitrope-manual.desktop";
constexpr const char* kMenuDirectory = "anitrope-anitrope.directory";

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// The escapes of a desktop entry's string value.
std::string StringValue(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\\')
            out += "\\\\";
        else
            out += c;
    }
    return out;
}

// The GIF type and the "Edit Animation" action, shared by the menu entry and Dolphin's menu.
std::string EditAnimationAction(const std::string& program) {
    return "MimeType=image/gif;\n"
           "Actions=EditAnimation;\n"
           "\n"
           "[Desktop Action EditAnimation]\n"
           "Name=Edit Animation\n"
           "Exec=" +
           DesktopExecArgument(program) + " --desktop %f\n";
}

std::string EditorEntry(const std::string& program, bool withAction) {
    const std::string exec = DesktopExecArgument(program);
    std::string text =
        "[Desktop Entry]\n"
        "Type=Application\n"
        "Version=1.0\n"
        "Name=Anitrope\n"
        "Comment=Edit animated GIF files\n"
        "GenericName=Animated GIF Editor\n"
        "Exec=" +
        exec + (withAction ? " --desktop %f" : "") +
        "\n"
        "Path=" +
        StringValue(DirectoryOf(program)) +
        "\n"
        "Terminal=false\n"
        "Categories=X-Anitrope;\n";
    if (withAction) text += EditAnimationAction(program);
    return text;
}

}  // namespace

std::optional<DesktopDirectories> FindDesktopDirectories(const std::string& home,
                                                         const std::string& dataHome,
                                                         const std::string& configHome) {
    const bool homeKnown = home.starts_with('/');
    DesktopDirectories dirs;
    if (dataHome.starts_with('/'))
        dirs.dataHome = dataHome;
    else if (homeKnown)
        dirs.dataHome = home + "/.local/share";
    else
        return std::nullopt;
    if (configHome.starts_with('/'))
        dirs.configHome = configHome;
    else if (homeKnown)
        dirs.configHome = home + "/.config";
    else
        return std::nullopt;
    return dirs;
}

std::optional<DesktopDirectories> DesktopDirectoriesFromEnvironment() {
    return FindDesktopDirectories(Env("HOME"), Env("XDG_DATA_HOME"), Env("XDG_CONFIG_HOME"));
}

std::string DesktopExecArgument(const std::string& argument) {
    std::string quoted = "\"";
    for (char c : argument) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
        if (c == '%') quoted += '%';
        quoted += c;
    }
    return StringValue(quoted + "\"");
}

std::string ShellArgument(const std::string& argument) {
    std::string quoted = "'";
    for (char c : argument) {
        if (c == '\'')
            quoted += "'\\''";
        else
            quoted += c;
    }
    return quoted + "'";
}

std::vector<GeneratedFile> MenuFiles(const DesktopDirectories& dirs, const std::string& program,
                                     bool manual) {
    const std::string applications = dirs.dataHome + "/applications/";
    std::vector<GeneratedFile> files;
    files.push_back({dirs.dataHome + "/desktop-directories/" + kMenuDirectory,
                     "[Desktop Entry]\nType=Directory\nVersion=1.0\nName=Anitrope\n"});
    std::string include = std::string("      <Filename>") + kEditorEntry + "</Filename>\n";
    files.push_back({applications + kEditorEntry, EditorEntry(program, false)});
    if (manual) {
        include += std::string("      <Filename>") + kManualEntry + "</Filename>\n";
        files.push_back({applications + kManualEntry,
                         "[Desktop Entry]\n"
                         "Type=Application\n"
                         "Version=1.0\n"
                         "Name=Anitrope Manual\n"
                         "Comment=Read how to use Anitrope\n"
                         "Exec=" +
                             DesktopExecArgument(program) +
                             " --manual\n"
                             "Terminal=false\n"
                             "Categories=X-Anitrope;\n"});
    }
    files.push_back({dirs.configHome + "/menus/applications-merged/anitrope-anitrope.menu",
                     "<!DOCTYPE Menu PUBLIC \"-//freedesktop//DTD Menu 1.0//EN\"\n"
                     " \"http://www.freedesktop.org/standards/menu-spec/1.0/menu.dtd\">\n"
                     "<Menu>\n"
                     "  <Name>Applications</Name>\n"
                     "  <Menu>\n"
                     "    <Name>Anitrope</Name>\n"
                     "    <Directory>" +
                         std::string(kMenuDirectory) +
                         "</Directory>\n"
                         "    <Include>\n" +
                         include +
                         "    </Include>\n"
                         "  </Menu>\n"
                         "</Menu>\n"});
    return files;
}

std::vector<GeneratedFile> EditAnimationFiles(const DesktopDirectories& dirs,
                                              const std::string& program) {
    std::vector<GeneratedFile> files;
    files.push_back({dirs.dataHome + "/applications/" + kEditorEntry, EditorEntry(program, true)});
    // Dolphin runs service menus only when they are executable.
    files.push_back({dirs.dataHome + "/kio/servicemenus/anitrope-edit.desktop",
                     "[Desktop Entry]\n"
                     "Type=Service\n"
                     "X-KDE-ServiceTypes=KonqPopupMenu/Plugin\n" +
                         EditAnimationAction(program),
                     0755});
    files.push_back({dirs.dataHome + "/nemo/actions/anitrope-edit.nemo_action",
                     "[Nemo Action]\n"
                     "Name=Edit Animation\n"
                     "Comment=Edit Animation\n"
                     "Exec=" +
                         ShellArgument(program) +
                         " --desktop %F\n"
                         "Selection=s\n"
                         "Extensions=gif;\n"
                         "Mimetypes=image/gif;\n"});
    files.push_back({dirs.dataHome + "/nautilus/scripts/Edit Animation",
                     "#!/bin/sh\nexec " + ShellArgument(program) + " --desktop \"$1\"\n", 0755});
    return files;
}

}  // namespace anitrope
