// Video into the editor through the "Load AVI" dialog, and animations saved as AVI.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/command_ids.h"
#include "app/load_avi_dialog.h"
#include "app/video_load_progress.h"
#include "app_fixtures.h"
#include "formats/avi_writer.h"
#include "formats/video_stream.h"
#include "model/animation.h"
#include "model/gif.h"
#include "platform/atomic_file.h"

namespace anitrope::test {
namespace {

// An AVI of `frames` frames of width x height, frame k filled with palette index 0 of colour
// (10k, 100, 200).
std::string WriteTestAvi(const std::string& path, int frames, int32_t width, int32_t height) {
    Animation doc;
    doc.screenWidth = width;
    doc.screenHeight = height;
    Gif* last = nullptr;
    for (int k = 0; k < frames; ++k) {
        Gif* gif = CreateGif(doc, last, nullptr);
        (last ? last->next : doc.head) = gif;
        gif->width = static_cast<uint32_t>(width);
        gif->height = static_cast<uint32_t>(height);
        gif->palette[0] = {10 * k, 100, 200};
        gif->indexed = std::make_unique<IndexedBitmap>(gif, width, height);
        last = gif;
    }
    EXPECT_EQ(WriteAviFile(doc, doc.head, path), AviWriteStatus::Ok);
    return path;
}

int RedOf(const Gif& gif) { return EffectivePalette(gif)[gif.indexed->Get(0, 0)].red; }

class AviImport : public EditorFixture {
protected:
    AviImport() {
        editor.chooseVideoRange = [this](const VideoInfo& info, VideoRange& range) {
            shownLength = info.length;
            remembered = range;
            if (!answer) return false;
            range = *answer;
            return true;
        };
    }
    std::optional<VideoRange> answer = VideoRange{0, 0, true, false};
    VideoRange remembered;
    int64_t shownLength = -1;
};

TEST_F(AviImport, ARunForwardsOrBackwardsLabelledByItsIndices) {
    const std::string path = WriteTestAvi(dir / "ten.avi", 10, 16, 12);
    answer = VideoRange{3, 2, false, true};
    ASSERT_EQ(editor.OpenFile(path, OpenOrigin::Menu), 0);
    EXPECT_EQ(shownLength, 10);
    EXPECT_EQ(Labels(), (std::vector<std::string>{"Gif :ten.avi [2]", "Gif :ten.avi [1]",
                                                  "Gif :ten.avi [0]"}));
    EXPECT_EQ(editor.Data().screenWidth, 16);
    EXPECT_EQ(editor.Data().screenHeight, 12);
    EXPECT_EQ(RedOf(*editor.Data().head), 20) << "frame 2 first, its palette exact";
    EXPECT_EQ(RedOf(*editor.Data().LastFrame()), 0);

    // The choices are remembered; all frames forwards go after the selected one.
    answer = VideoRange{0, 0, true, false};
    editor.Select(OutlineItem::Frame(editor.Data().head));
    ASSERT_EQ(editor.OpenFile(path, OpenOrigin::Menu), 0);
    EXPECT_TRUE(remembered.reverse);
    EXPECT_EQ(editor.Data().FrameCount(), 13u);
    EXPECT_EQ(Labels().at(1), "Gif :ten.avi [0]");
    EXPECT_EQ(Labels().at(10), "Gif :ten.avi [9]");
    EXPECT_TRUE(editor.Doc().CanUndo()) << "one edit into an open document";
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(AviImport, AnotherSizeAsksAndScalesCancelAndFailuresChangeNothing) {
    WriteTestGif(dir / "small.gif", 1, 10, 8);
    ASSERT_EQ(editor.OpenFile(dir / "small.gif", OpenOrigin::Menu), 0);
    const std::string path = WriteTestAvi(dir / "big.avi", 4, 16, 12);

    boxes.Answer("&Cancel Loading");
    EXPECT_EQ(editor.OpenFile(path, OpenOrigin::Menu), -1);
    answer.reset();  // the dialog's Cancel
    EXPECT_EQ(editor.OpenFile(path, OpenOrigin::Menu), -1);
    WriteFileAtomically(dir / "broken.avi", std::vector<uint8_t>{'R', 'I', 'F', 'F', 9, 0, 0, 0});
    EXPECT_EQ(editor.OpenFile(dir / "broken.avi", OpenOrigin::Menu), -1);
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[1].text, "Could not open AVI.");
    EXPECT_EQ(editor.Data().FrameCount(), 1u);

    // The window's Cancel after two frames keeps them.
    struct CancelAfterTwo : VideoLoadProgress {
        bool Step(int64_t, int64_t ordinal, int64_t) override { return ordinal <= 2; }
    };
    editor.makeVideoProgress = [] { return std::make_unique<CancelAfterTwo>(); };
    answer = VideoRange{0, 0, true, false};
    boxes.Answer("&Ok, Resize");
    ASSERT_EQ(editor.OpenFile(path, OpenOrigin::Menu), 0);
    ASSERT_EQ(editor.Data().FrameCount(), 3u);
    for (const Gif* gif = editor.Data().head; gif; gif = gif->next) {
        EXPECT_EQ(gif->width, 10u);
        EXPECT_EQ(gif->height, 8u);
    }
}

TEST_F(AviImport, SavingAsAviWritesAVideoThatReadsBack) {
    WriteTestGif(dir / "three.gif", 3, 12, 10);
    ASSERT_EQ(editor.OpenFile(dir / "three.gif", OpenOrigin::Menu), 0);
    files.Choose(dir / "out.AVI");
    ASSERT_TRUE(editor.SaveAs(0));
    std::string error;
    const auto stream = OpenVideoFile(dir / "out.AVI", &error);
    ASSERT_TRUE(stream) << error;
    EXPECT_EQ(stream->Info().length, 3);
    EXPECT_EQ(stream->Info().width, 12);
    EXPECT_DOUBLE_EQ(stream->Info().framesPerSecond, 15.0);

    files.Choose(dir / "missing/out.avi");
    EXPECT_FALSE(editor.SaveAs(0));
    ASSERT_FALSE(boxes.shown.empty());
    EXPECT_EQ(boxes.shown[0].text, "Could not save AVI.");
}

TEST(LoadAviDialog, ChecksTheRangeAndKeepsItsChoices) {
    ScriptedMessageBoxes boxes;
    VideoInfo info;
    info.length = 10;
    VideoRange range{0, 0, true, true};
    LoadAviDialog dialog(info, range, boxes);
    dialog.show();
    EXPECT_EQ(dialog.Text()->text().toStdString(),
              "This AVI contains 10 Frames where the first frame has index 0 and the last frame "
              "has index 9.");
    EXPECT_FALSE(dialog.CountEdit()->isEnabled()) << "all frames: nothing to type";
    dialog.AllBox()->setChecked(false);
    EXPECT_TRUE(dialog.CountEdit()->isEnabled());
    dialog.CountEdit()->setText("3");
    dialog.FirstEdit()->setText("1");
    dialog.OkButton()->click();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text,
              "The first frame index is too small or the number of frames is too high.");
    EXPECT_TRUE(dialog.isVisible());
    dialog.FirstEdit()->setText("2");
    dialog.OkButton()->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(range.count, 3);
    EXPECT_EQ(range.first, 2);
    EXPECT_TRUE(range.reverse);
    EXPECT_FALSE(range.all);
}

}  // namespace
}  // namespace anitrope::test
