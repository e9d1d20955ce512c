#include <gtest/gtest.h>

#include "app/command_ids.h"
#include "app/editor.h"
#include "app_fixtures.h"
#include "model/gif.h"
#include "scripted_dialogs.h"
#include "support/temp_file.h"

namespace anitrope::test {
namespace {

// The editor with its timer replaced by a record of how it was armed; steps are made by hand.
class PlaybackTest : public EditorFixture {
protected:
    PlaybackTest() {
        editor.onArmTimer = [this](int periodMs) { armed.push_back(periodMs); };
        editor.onStopTimer = [this] { ++stops; };
    }
    void Open(int frames, int comments = 0) {
        const std::string path = dir / "play.gif";
        WriteTestGif(path, frames, 6, 4, 0, 0, comments);
        ASSERT_EQ(editor.OpenFile(path, OpenOrigin::Menu), 0);
    }
    Gif* Frame(std::size_t k) { return editor.Data().FrameAt(k); }

    std::vector<int> armed;
    int stops = 0;
};

TEST_F(PlaybackTest, StartingWithoutAnAnimationWarns) {
    editor.Dispatch(CmdStartAnimation);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].title, "Warning");
    EXPECT_EQ(boxes.shown[0].text, "Please load a Gif file prior to applying an Effect/Transition\n"
                                   "or starting an animation.");
    EXPECT_FALSE(editor.Playing());
    EXPECT_TRUE(armed.empty());
}

TEST_F(PlaybackTest, StepsThroughTheImagesAtEachFramesDelayAndWraps) {
    Open(3, 1);  // comment items between the images are passed over
    {
        Transaction edit(editor.Doc(), "Delay Change");
        edit.Set(*Frame(0), &Gif::delay, 7);
        edit.Set(*Frame(1), &Gif::delay, 0);
        edit.Set(*Frame(2), &Gif::delay, 25);
    }
    editor.Dispatch(CmdStartAnimation);
    EXPECT_TRUE(editor.Playing());
    EXPECT_TRUE(editor.MenuEnabled(CmdStopAnimation));
    EXPECT_TRUE(Checked(CmdStartAnimation, editor.State())) << "the stop image shows";
    std::vector<Gif*> shown;
    for (int i = 0; i < 4; ++i) {
        editor.PlaybackStep();
        shown.push_back(editor.CurrentGif());
    }
    EXPECT_EQ(shown, (std::vector<Gif*>{Frame(1), Frame(2), Frame(0), Frame(1)}));
    EXPECT_EQ(armed, (std::vector<int>{70, 0, 250, 70, 0})) << "a delay of 0 arms 0 ms";
}

TEST_F(PlaybackTest, TheGlobalDelayWinsWhenItIsInUse) {
    Open(2);
    {
        Transaction edit(editor.Doc(), "Use Global Delay");
        edit.Set(&Animation::useAnimationDelay, 1);
        edit.Set(&Animation::animationDelay, 12);
    }
    editor.Dispatch(CmdStartAnimation);
    editor.PlaybackStep();
    EXPECT_EQ(armed, (std::vector<int>{120, 120}));
}

TEST_F(PlaybackTest, AOneImageAnimationKeepsShowingItsImage) {
    Open(1);
    editor.Dispatch(CmdStartAnimation);
    editor.PlaybackStep();
    editor.PlaybackStep();
    EXPECT_EQ(editor.CurrentGif(), Frame(0));
    EXPECT_EQ(armed.size(), 3u);
    EXPECT_TRUE(editor.Playing());
}

TEST_F(PlaybackTest, SelectingTheRootWhilePlayingContinuesWithTheFirstImage) {
    Open(3);
    editor.Dispatch(CmdGotoLast);
    editor.Dispatch(CmdStartAnimation);
    editor.Select(OutlineItem::Root());
    editor.PlaybackStep();
    EXPECT_EQ(editor.CurrentGif(), Frame(0));
}

TEST_F(PlaybackTest, StartAgainStopsAndCommandsThatChangeTheAnimationStopFirst) {
    Open(2);
    editor.Dispatch(CmdStartAnimation);
    editor.Dispatch(CmdStartAnimation);
    EXPECT_FALSE(editor.Playing());
    EXPECT_EQ(stops, 1);
    EXPECT_FALSE(editor.MenuEnabled(CmdStopAnimation));
    EXPECT_FALSE(Checked(CmdStartAnimation, editor.State()));

    editor.Dispatch(CmdStartAnimation);
    settings.confirmDelete = 0;
    editor.Dispatch(CmdDelete);
    EXPECT_FALSE(editor.Playing());
    EXPECT_EQ(stops, 2);
    editor.PlaybackStep();  // a late tick after stopping does nothing
    EXPECT_EQ(editor.Data().FrameCount(), 1u);
}

TEST_F(PlaybackTest, OptionsAndAboutStopPlaybackBeforeTheirDialogs) {
    Open(2);
    bool playingWhenShown = true;
    editor.onOptions = [&] { playingWhenShown = editor.Playing(); };
    editor.onAbout = [&] { playingWhenShown = editor.Playing(); };
    for (int command : {CmdOptions, CmdAbout}) {
        SCOPED_TRACE(command);
        editor.Dispatch(CmdStartAnimation);
        ASSERT_TRUE(editor.Playing());
        playingWhenShown = true;
        const int stopsBefore = stops;
        editor.Dispatch(command);
        EXPECT_FALSE(playingWhenShown);
        EXPECT_EQ(stops, stopsBefore + 1) << "the timer is stopped too";
    }
}

}  // namespace
}  // namespace anitrope::test
