#include "installer/installation.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QSettings>
#include <QTemporaryDir>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "installer/file_io.h"
#include "installer/qt_setup_dialogs.h"
#include "installer/scripted_setup.h"
#include "installer/setup_messages.h"
#include "installer/szdd.h"

namespace anitrope {
namespace {

namespace fs = std::filesystem;
using test::RecordingProgress;
using test::RecordingSettings;
using test::ScriptedSetupDialogs;

std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void WritePacked(const std::string& path, const std::vector<uint8_t>& data, char missing) {
    ASSERT_TRUE(WriteFileAtomically(path, *PackSzdd(data, missing), 0644)) << path;
}

// Every file under `root`, relative to it.
std::set<std::string> Tree(const std::string& root) {
    std::set<std::string> paths;
    if (!fs::exists(root)) return paths;
    for (const auto& item : fs::recursive_directory_iterator(root))
        paths.insert(fs::relative(item.path(), root).string());
    return paths;
}

bool Executable(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && (info.st_mode & S_IXUSR);
}

// A distribution folder with every file of the table (the real uninstall program among them)
// and a fresh home with the XDG variables and the settings file pointing into it.
class Installation : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(temp_.isValid());
        root = temp_.path().toStdString();
        dist = root + "/dist";
        home = root + "/home";
        fs::create_directories(dist);
        fs::create_directories(home);
        settingsFile = home + "/anitrope.conf";
        setenv("HOME", home.c_str(), 1);
        setenv("XDG_DATA_HOME", (home + "/data").c_str(), 1);
        setenv("XDG_CONFIG_HOME", (home + "/config").c_str(), 1);
        setenv("ANITROPE_SETTINGS", settingsFile.c_str(), 1);
        for (int entry = 0; entry < kFileTableSize; ++entry) {
            const std::string name = FileTable()[entry];
            if (name.empty()) continue;
            std::vector<uint8_t> data;
            if (entry == kUninstallEntry) {
                data = *ReadWholeFile(UNINSTALL_BINARY, 1u << 30);
            } else {
                const std::string text = "contents of " + name + "\n";
                data.assign(text.begin(), text.end());
            }
            WritePacked(dist + "/" + name, data, MissingOf(entry));
        }
        plan.sourceDirectory = dist + "/";
        plan.targetDirectory = home + "/.local/opt/Anitrope/";
    }

    static char MissingOf(int entry) {
        const std::string name = FileTable()[entry];
        if (name.ends_with("._")) return 0;
        if (name.ends_with(".gi_")) return 'f';
        if (name.ends_with(".qc_")) return 'h';
        if (name.ends_with(".htm_")) return 'l';
        return 's';  // .cs_
    }

    InstallOutcome Run(SettingsWriter& settings) {
        return Install(plan, DesktopDirectoriesFromEnvironment(), settings, dialogs, progress);
    }

    std::string Target() const { return home + "/.local/opt/Anitrope"; }

    QTemporaryDir temp_;
    std::string root, dist, home, settingsFile;
    InstallPlan plan;
    ScriptedSetupDialogs dialogs;
    RecordingProgress progress;
};

TEST_F(Installation, InstallsEverythingAndTheUninstallerRemovesIt) {
    QtSettingsWriter settings;
    const InstallOutcome outcome = Run(settings);
    ASSERT_EQ(outcome.result, InstallOutcome::Installed) << dialogs.Titles().size();
    EXPECT_TRUE(dialogs.shown.empty());
    const std::string target = Target();
    EXPECT_EQ(outcome.program, target + "/anitrope");
    EXPECT_TRUE(Executable(target + "/anitrope"));
    EXPECT_TRUE(Executable(target + "/uninstall"));
    EXPECT_FALSE(Executable(target + "/contents.html"));
    EXPECT_EQ(Read(target + "/anitrope.qch"), "contents of anitrope.qc_\n");
    EXPECT_EQ(Read(target + "/JAVA/frame21.gif"), "contents of frame21.gi_\n");
    EXPECT_EQ(Read(target + "/Examples/examples.html"), "contents of examples.htm_\n");

    QSettings stored(QString::fromStdString(settingsFile), QSettings::IniFormat);
    EXPECT_EQ(stored.value("Path").toString().toStdString(), target + "/Examples/");
    EXPECT_EQ(stored.value("InstallationPath").toString().toStdString(), target);

    EXPECT_EQ(progress.maximum, kFileTableSize);
    EXPECT_FALSE(progress.open);
    EXPECT_EQ(progress.values.size(), 52u);  // every entry with a name
    EXPECT_TRUE(std::is_sorted(progress.values.begin(), progress.values.end()));

    const std::string editorEntry = Read(home + "/data/applications/anitrope-editor.desktop");
    const std::string exec = "Exec=\"" + target + "/anitrope\" --desktop %f\n";
    EXPECT_NE(editorEntry.find("MimeType=image/gif;\n"), std::string::npos) << editorEntry;
    EXPECT_NE(editorEntry.find("[Desktop Action EditAnimation]\nName=Edit Animation\n" + exec),
              std::string::npos)
        << editorEntry;
    EXPECT_NE(Read(home + "/data/applications/anitrope-manual.desktop")
                  .find("Exec=\"" + target + "/anitrope\" --manual\n"),
              std::string::npos);
    const std::string menu =
        Read(home + "/config/menus/applications-merged/anitrope-anitrope.menu");
    EXPECT_NE(menu.find("<Filename>anitrope-manual.desktop</Filename>"), std::string::npos) << menu;
    EXPECT_TRUE(fs::exists(home + "/data/desktop-directories/anitrope-anitrope.directory"));
    EXPECT_TRUE(Executable(home + "/data/kio/servicemenus/anitrope-edit.desktop"));
    EXPECT_TRUE(Executable(home + "/data/nautilus/scripts/Edit Animation"));
    EXPECT_NE(Read(home + "/data/nemo/actions/anitrope-edit.nemo_action")
                  .find("Exec='" + target + "/anitrope' --desktop %F"),
              std::string::npos);

    // Files of the user's in the examples folder are kept, and so is their folder.
    ASSERT_TRUE(WriteTextAtomically(target + "/Examples/mine.gif", "mine", 0644));
    ASSERT_EQ(std::system((target + "/uninstall > /dev/null").c_str()), 0);
    EXPECT_EQ(Tree(home),
              (std::set<std::string>{"anitrope.conf", ".local", ".local/opt", ".local/opt/Anitrope",
                                     ".local/opt/Anitrope/Examples",
                                     ".local/opt/Anitrope/Examples/mine.gif"}));
}

TEST_F(Installation, TwiceIntoOneTargetAndOneUninstallLeavesNothing) {
    RecordingSettings settings;
    ASSERT_EQ(Run(settings).result, InstallOutcome::Installed);
    plan.help = false;
    plan.targetDirectory = Target();
    ASSERT_EQ(Run(settings).result, InstallOutcome::Installed);
    // The help of the first run is still listed, so it goes too.
    ASSERT_EQ(std::system((Target() + "/uninstall > /dev/null").c_str()), 0);
    EXPECT_EQ(Tree(home), (std::set<std::string>{}));
}

TEST_F(Installation, WithoutComponentsOnlyTheAlwaysInstalledEntriesAreCopied) {
    plan.help = plan.examples = plan.java = false;
    RecordingSettings settings;
    ASSERT_EQ(Run(settings).result, InstallOutcome::Installed);
    EXPECT_EQ(progress.values, (std::vector<int>{0, 2, 4}));
    EXPECT_EQ(Tree(Target()), (std::set<std::string>{"anitrope", "uninstall", "anitrope-cli",
                                                     "uninstall.manifest"}));
    EXPECT_EQ(settings.values,
              (std::map<std::string, std::string>{{"InstallationPath", Target()}}));
    EXPECT_FALSE(fs::exists(home + "/data/applications/anitrope-manual.desktop"));
}

TEST_F(Installation, FileErrorsAskWhetherToContinue) {
    const int entry = kFirstJavaEntry + 4;  // frame03
    const std::string name = FileTable()[entry];
    const std::string source = dist + "/" + name;
    const std::string target = Target() + "/JAVA/frame03.gif";
    const struct {
        const char* what;
        std::function<void()> damage;
        std::string text;
        std::string title;
    } cases[] = {
        {"missing", [&] { fs::remove(source); }, source, setup_text::kCannotOpen},
        {"not SZDD", [&] { WriteTextAtomically(source, "plain text, long enough", 0644); }, source,
         setup_text::kCannotOpen},
        {"name expands to a folder",
         [&] {
             WritePacked(source, {1, 2, 3}, '/');
         },
         name, setup_text::kCannotInstall},
        {"truncated", [&] { fs::resize_file(source, fs::file_size(source) - 4); }, target,
         setup_text::kCannotDecompress},
    };
    for (const auto& c : cases) {
        for (const char* answer : {"&No", "&Yes"}) {
            SCOPED_TRACE(std::string(c.what) + " " + answer);
            fs::remove_all(home);
            fs::create_directories(home);
            WritePacked(source, std::vector<uint8_t>(200, 'k'), 'f');
            c.damage();
            dialogs = ScriptedSetupDialogs();
            dialogs.Answer(answer);
            plan.targetDirectory = Target();
            RecordingSettings settings;
            const InstallOutcome outcome = Run(settings);
            ASSERT_FALSE(dialogs.shown.empty());
            EXPECT_EQ(dialogs.shown[0].text, c.text);
            EXPECT_EQ(dialogs.shown[0].title, c.title);
            EXPECT_FALSE(fs::exists(target));
            EXPECT_TRUE(fs::exists(Target() + "/JAVA/frame02.gif"));  // copied before
            if (std::string(answer) == "&No") {
                EXPECT_EQ(outcome.result, InstallOutcome::Failed);
                EXPECT_EQ(dialogs.Titles(),
                          (std::vector<std::string>{c.title, setup_text::kFailed}));
                EXPECT_EQ(dialogs.shown[1].text, setup_text::kCheckArchive);
                EXPECT_EQ(settings.values,
                          (std::map<std::string, std::string>{{"Path", Target() + "/Examples/"}}));
                EXPECT_FALSE(fs::exists(Target() + "/JAVA/frame04.gif"));
                EXPECT_FALSE(fs::exists(home + "/data"));
            } else {
                EXPECT_EQ(outcome.result, InstallOutcome::Installed);
                EXPECT_TRUE(fs::exists(Target() + "/JAVA/frame04.gif"));
                EXPECT_EQ(settings.values.count("InstallationPath"), 1u);
            }
        }
    }
}

TEST_F(Installation, WithoutAUserDataDirectoryItPanicsAfterTheFiles) {
    RecordingSettings settings;
    const InstallOutcome outcome = Install(plan, std::nullopt, settings, dialogs, progress);
    EXPECT_EQ(outcome.result, InstallOutcome::Panic);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].title, setup_text::kRegistryPanic);
    EXPECT_EQ(dialogs.shown[0].text, "");
    EXPECT_TRUE(fs::exists(Target() + "/uninstall.manifest"));
    EXPECT_EQ(settings.values.count("InstallationPath"), 1u);
    EXPECT_FALSE(FindDesktopDirectories("", "", "").has_value());
    EXPECT_FALSE(FindDesktopDirectories("relative", "", "").has_value());
    EXPECT_EQ(FindDesktopDirectories("", "/d", "/c")->dataHome, "/d");
}

TEST_F(Installation, SizesGrowToWhatTheDistributionHolds) {
    const InstallPlan before = plan;
    TakeSizesFrom(plan);
    // The base holds the real uninstall program; the other parts' files are a few bytes
    // each, so their sizes stay.
    EXPECT_GE(plan.baseSize, fs::file_size(UNINSTALL_BINARY) + 2 * 20);
    EXPECT_EQ(plan.helpSize, before.helpSize);
    EXPECT_EQ(plan.examplesSize, before.examplesSize);
    EXPECT_EQ(plan.javaSize, before.javaSize);
}

TEST(DesktopEntries, ExecArgumentsAreQuotedForTheLauncher) {
    EXPECT_EQ(DesktopExecArgument("/a b/anitrope"), "\"/a b/anitrope\"");
    // Inside quotes `"`, `$`, `` ` `` and `\` take a backslash, which the string value doubles.
    EXPECT_EQ(DesktopExecArgument("/x\"$`\\/100%"), "\"/x\\\\\"\\\\$\\\\`\\\\\\\\/100%%\"");
    EXPECT_EQ(ShellArgument("/it's"), "'/it'\\''s'");
}

}  // namespace
}  // namespace anitrope
