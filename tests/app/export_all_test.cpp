// Export All Images: the dialog's checks, the numbered files, a frame that cannot be written.

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/command_ids.h"
#include "app/export_all_dialog.h"
#include "app_fixtures.h"

namespace anitrope::test {
namespace {

namespace fs = std::filesystem;

// What a user types into the dialog before pressing OK.
struct Typed {
    std::string name;
    bool advanced = false;
    std::string indicator = "*";
    bool jpeg = false;
};

class ExportAllTest : public EditorFixture {
  protected:
    void OpenFrames(int frames) {
        WriteTestGif(dir / "in.gif", frames, 4, 3);
        ASSERT_EQ(editor.OpenFile(dir / "in.gif", OpenOrigin::Menu), 0);
        fs::create_directory(out);
        editor.chooseExportAll = [this](ExportAllRequest& request) {
            asked.push_back(request);
            ExportAllDialog dialog(request, boxes, files);
            dialog.NameEdit()->setText(QString::fromStdString(typed.name));
            (typed.advanced ? dialog.AdvancedButton() : dialog.NormalButton())->setChecked(true);
            dialog.IndicatorEdit()->setText(QString::fromStdString(typed.indicator));
            (typed.jpeg ? dialog.JpegButton() : dialog.GifButton())->setChecked(true);
            dialog.QualitySlider()->setValue(40);
            dialog.OkButton()->click();
            return dialog.result() == QDialog::Accepted;
        };
    }
    std::vector<std::string> Written() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::recursive_directory_iterator(out))
            if (entry.is_regular_file()) names.push_back(fs::relative(entry.path(), out).string());
        std::sort(names.begin(), names.end());
        return names;
    }
    static std::string Head(const std::string& path, std::size_t bytes) {
        std::ifstream in(path, std::ios::binary);
        std::string head(bytes, '\0');
        in.read(head.data(), static_cast<std::streamsize>(bytes));
        return head;
    }

    std::string out = dir / "out";
    Typed typed;
    std::vector<ExportAllRequest> asked;
};

TEST_F(ExportAllTest, NineFramesGetTwoDigitsBeforeTheExtension) {
    struct Case {
        std::string name;
        std::vector<std::string> answers;  // to "Shall '.GIF' be added ?'"
        bool jpeg;
        std::string first, last, magic;
    };
    const std::vector<Case> cases{
        {"x.gif", {}, false, "x00.gif", "x08.gif", "GIF89a"},
        {"x", {"&Yes"}, false, "x00.GIF", "x08.GIF", "GIF89a"},
        {"p.jpg", {"&No"}, true, "p00.jpg", "p08.jpg", "\xFF\xD8"},
    };
    OpenFrames(9);
    for (const Case& c : cases) {
        fs::remove_all(out);
        fs::create_directory(out);
        boxes.shown.clear();
        for (const std::string& answer : c.answers) boxes.Answer(answer);
        typed = {out + "/" + c.name, false, "*", c.jpeg};
        editor.Dispatch(CmdExportAll);
        const std::vector<std::string> written = Written();
        ASSERT_EQ(written.size(), 9u) << c.name;
        EXPECT_EQ(written.front(), c.first);
        EXPECT_EQ(written.back(), c.last);
        EXPECT_EQ(Head(out + "/" + c.last, c.magic.size()), c.magic) << c.name;
        ASSERT_EQ(boxes.shown.size(), c.answers.size() + 1) << c.name;
        if (!c.answers.empty()) {
            EXPECT_EQ(boxes.shown[0].text, "Shall '.GIF' be added ?'");
        }
        EXPECT_EQ(boxes.shown.back().text, "Export of all images successful");
        EXPECT_EQ(settings.pathSave, out + "/" + c.first.substr(0, 1) + c.first.substr(3));
        EXPECT_EQ(settings.exportAsJpg, c.jpeg ? 1u : 0u);
    }
    EXPECT_EQ(settings.jpegCompression, 40u);
    EXPECT_EQ(asked.back().digits, 2);
}

TEST_F(ExportAllTest, UnusableNamesKeepTheDialogOpenAndWriteNothing) {
    struct Case {
        Typed typed;
        std::vector<std::string> answers;
        std::string text, title;  // of the last box; none for an empty name
    };
    const std::string indicatorTitle = "Problems with Indicator";
    const std::vector<Case> cases{
        {{"f*.gif", true},
         {},
         "Found indicator 1 times, but only 2 occurrences allowed",
         indicatorTitle},
        {{"f.gif", true}, {}, "Can't find Indicator in FileName", indicatorTitle},
        // The extension is asked about first.
        {{"f*", true},
         {"&Yes"},
         "Found indicator 1 times, but only 2 occurrences allowed",
         indicatorTitle},
        {{"f"}, {"Cancel"}, "Shall '.GIF' be added ?'", "Filename doesn't include extension"},
        {{""}, {}, "", ""},
    };
    OpenFrames(12);
    const std::string pathSave = settings.pathSave;
    for (const Case& c : cases) {
        boxes.shown.clear();
        for (const std::string& answer : c.answers) boxes.Answer(answer);
        typed = c.typed;
        if (!typed.name.empty()) typed.name = out + "/" + typed.name;
        editor.Dispatch(CmdExportAll);
        EXPECT_TRUE(Written().empty()) << c.typed.name;
        if (c.text.empty()) {
            EXPECT_TRUE(boxes.shown.empty());
            continue;
        }
        ASSERT_FALSE(boxes.shown.empty()) << c.typed.name;
        EXPECT_EQ(boxes.shown.back().text, c.text) << c.typed.name;
        EXPECT_EQ(boxes.shown.back().title, c.title) << c.typed.name;
    }
    EXPECT_EQ(settings.pathSave, pathSave);
}

TEST_F(ExportAllTest, FailingFrameAsksToContinueAndNoKeepsWhatWasWritten) {
    // Three frames, one digit: the number names a folder, and only folder 0 is there.
    struct Case {
        std::vector<std::string> answers;
        std::size_t questions;
        bool success;
    };
    OpenFrames(3);
    fs::create_directory(out + "/0");
    for (const Case& c : {Case{{"&No"}, 1, false}, Case{{"&Yes", "&Yes"}, 2, true}}) {
        boxes.shown.clear();
        for (const std::string& answer : c.answers) boxes.Answer(answer);
        typed = {out + "/*/f.gif", true};
        editor.Dispatch(CmdExportAll);
        EXPECT_EQ(Written(), std::vector<std::string>{"0/f.gif"});
        ASSERT_EQ(boxes.shown.size(), c.questions + (c.success ? 1 : 0));
        EXPECT_EQ(boxes.shown[0].text, "Continue Anyway ?");
        EXPECT_EQ(boxes.shown[0].title, "Error exporting as Gif" + editor.Data().FrameAt(1)->name);
        EXPECT_EQ(boxes.shown.back().text == "Export of all images successful", c.success);
    }
    EXPECT_TRUE(asked.back().advanced) << "the naming is remembered for the run";
}

TEST(ExportAllDialog, ControlsFollowTheNamingAndFormat) {
    ScriptedMessageBoxes boxes;
    ScriptedFileChooser files;
    ExportAllRequest request;
    request.digits = 2;
    request.name = "old.gif";
    ExportAllDialog dialog(request, boxes, files);
    EXPECT_EQ(dialog.IndicatorText()->text(), "No Indicator needed");
    EXPECT_FALSE(dialog.IndicatorEdit()->isEnabled());
    EXPECT_FALSE(dialog.QualitySlider()->isEnabled());
    dialog.AdvancedButton()->setChecked(true);
    EXPECT_EQ(dialog.IndicatorText()->text(), "Need 2 Indicators in Name");
    EXPECT_TRUE(dialog.IndicatorEdit()->isEnabled());
    dialog.JpegButton()->setChecked(true);
    EXPECT_TRUE(dialog.QualitySlider()->isEnabled());
    dialog.QualitySlider()->setValue(33);
    EXPECT_EQ(dialog.QualityNumber()->text(), "33");

    files.Choose("/tmp/new.gif");
    dialog.BrowseButton()->click();
    ASSERT_EQ(files.asked.size(), 1u);
    EXPECT_EQ(files.asked[0].title, "Select Filename to Export All Images");
    EXPECT_EQ(files.asked[0].proposedName, "old.gif");
    EXPECT_EQ(dialog.NameEdit()->text(), "/tmp/new.gif");
    dialog.CancelButton()->click();
    EXPECT_EQ(request.name, "old.gif") << "Cancel keeps the request";

    request.digits = 1;
    ExportAllDialog single(request, boxes, files);
    single.AdvancedButton()->setChecked(true);
    EXPECT_EQ(single.IndicatorText()->text(), "Need 1 Indicator in Name");
}

}  // namespace
}  // namespace anitrope::test
