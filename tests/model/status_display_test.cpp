#include "model/status_display.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace anitrope {
namespace {

struct RecordingView : StatusView {
    std::vector<std::string> texts;
    std::vector<int> percents;
    std::vector<bool> posted;
    void ShowStatusText(const std::string& text) override { texts.push_back(text); }
    void ShowProgress(int percent, bool wasPosted) override {
        percents.push_back(percent);
        posted.push_back(wasPosted);
    }
};

class StatusDisplayTest : public ::testing::Test {
protected:
    void SetUp() override { display.Subscribe(&view); }
    StatusDisplay display;
    RecordingView view;
};

TEST(StatusPercentage, RoundsHalfUpAndZeroForNoTotal) {
    EXPECT_EQ(StatusDisplay::Percentage(1, 3), 33);
    EXPECT_EQ(StatusDisplay::Percentage(2, 3), 67);
    EXPECT_EQ(StatusDisplay::Percentage(1, 8), 13);  // 12.5 rounds up
    EXPECT_EQ(StatusDisplay::Percentage(5, 0), 0);
}

TEST_F(StatusDisplayTest, FiveReductionsCountUpThenReturnToIdleWithEmptyBar) {
    display.ReportStatus(StatusWorkAnnounced, StatusReduction, 5);
    for (int i = 0; i < 5; ++i) display.ReportStatus(StatusFrameReduced);
    const std::vector<std::string> expected = {"Idle",
                                               "Thread ColorReducing Img 1/5",
                                               "Thread ColorReducing Img 2/5",
                                               "Thread ColorReducing Img 3/5",
                                               "Thread ColorReducing Img 4/5",
                                               "Idle"};
    EXPECT_EQ(view.texts, expected);
    EXPECT_EQ(view.percents, (std::vector<int>{20, 40, 60, 80, 0}));
    EXPECT_EQ(view.posted, (std::vector<bool>(5, true)));
    EXPECT_EQ(display.Counters(StatusReduction).total, 0);
    EXPECT_EQ(display.Counters(StatusReduction).done, 0);
}

TEST_F(StatusDisplayTest, SingleReductionShowsNothingNewWhenDone) {
    display.ReportStatus(StatusWorkAnnounced, StatusReduction, 1);
    view.texts.clear();
    display.ReportStatus(StatusFrameReduced);
    EXPECT_TRUE(view.texts.empty());
    EXPECT_TRUE(view.percents.empty());
}

TEST_F(StatusDisplayTest, CalculationOfThreeSetsBarSynchronously) {
    display.ReportStatus(StatusWorkAnnounced, StatusCalculation, 3);
    for (int i = 0; i < 3; ++i) display.ReportStatus(StatusFrameCalculated);
    EXPECT_EQ(view.percents, (std::vector<int>{33, 67, 0}));
    EXPECT_EQ(view.posted, (std::vector<bool>{false, false, false}));
    EXPECT_EQ(view.texts.back(), "Idle");
    EXPECT_EQ(view.texts[1], "Calculating Img 1/3");
}

TEST_F(StatusDisplayTest, FrameDoneWithoutAnnouncementIsIdle) {
    display.ReportStatus(StatusFrameSaved);
    EXPECT_EQ(view.texts, (std::vector<std::string>{"Idle"}));
    EXPECT_EQ(display.Counters(StatusSaving).done, 0);
}

TEST_F(StatusDisplayTest, DroppingOnePendingOfThreeShowsOneOfTwo) {
    display.ReportStatus(StatusWorkAnnounced, StatusReduction, 3);
    display.ReportStatus(StatusPendingDropped);
    EXPECT_EQ(view.texts.back(), "Thread ColorReducing Img 1/2");
    EXPECT_EQ(view.percents.back(), 50);
}

TEST_F(StatusDisplayTest, DroppingTheLastPendingFramesEndsIdleAndCountsAfresh) {
    display.ReportStatus(StatusWorkAnnounced, StatusReduction, 2);
    display.ReportStatus(StatusFrameReduced);  // 1 of 2
    display.ReportStatus(StatusPendingDropped);  // the other one goes away
    EXPECT_EQ(view.texts.back(), "Idle");
    EXPECT_EQ(view.percents.back(), 0);
    display.ReportStatus(StatusWorkAnnounced, StatusReduction, 4);
    display.ReportStatus(StatusFrameReduced);
    EXPECT_EQ(view.texts.back(), "Thread ColorReducing Img 1/4");
}

TEST_F(StatusDisplayTest, DroppingWithNothingPendingNeverGoesNegative) {
    display.ReportStatus(StatusPendingDropped);
    EXPECT_EQ(display.Counters(StatusReduction).total, 0);
}

TEST_F(StatusDisplayTest, RefreshPrefersCalculationOverReduction) {
    display.ReportStatus(StatusWorkAnnounced, StatusReduction, 4);
    display.ReportStatus(StatusFrameReduced);
    display.ReportStatus(StatusRefresh);
    EXPECT_EQ(view.texts.back(), "Thread ColorReducing Img 1/4");
    display.ReportStatus(StatusWorkAnnounced, StatusCalculation, 2);
    display.ReportStatus(StatusRefresh);
    EXPECT_EQ(view.texts.back(), "Calculating Img 0/2");
    display.ReportStatus(StatusReset);
    EXPECT_EQ(view.texts.back(), "Idle");
    EXPECT_EQ(view.percents.back(), 0);
    EXPECT_EQ(display.Counters(StatusCalculation).total, 0);
    EXPECT_EQ(display.Counters(StatusReduction).done, 0);
}

TEST_F(StatusDisplayTest, EffectLoopNotificationsLeaveTheTextAlone) {
    display.ReportStatus(StatusEffectLoopEnd);
    display.ReportStatus(StatusEffectEnd);
    EXPECT_TRUE(view.texts.empty());
}

TEST_F(StatusDisplayTest, QuietWhileWaitingButStillCountsAndReturnsPercent) {
    display.ReportStatus(StatusWorkAnnounced, StatusReduction, 4);
    view.texts.clear();
    display.BeginWait();
    auto report = display.ReportStatus(StatusFrameReduced);
    display.EndWait();
    EXPECT_EQ(report.handled, 1);
    EXPECT_EQ(report.percent, 25);
    EXPECT_TRUE(view.texts.empty());
    EXPECT_EQ(display.Counters(StatusReduction).done, 1);
    display.ReportStatus(StatusFrameReduced);
    EXPECT_EQ(view.texts.back(), "Thread ColorReducing Img 2/4");
}

TEST(StatusDisplayThreads, ConcurrentReportsLoseNoCount) {
    StatusDisplay display;
    constexpr int kThreads = 4, kEach = 500;
    display.ReportStatus(StatusWorkAnnounced, StatusReduction, kThreads * kEach + 1);
    std::vector<std::thread> workers;
    for (int t = 0; t < kThreads; ++t)
        workers.emplace_back([&] {
            for (int i = 0; i < kEach; ++i) display.ReportStatus(StatusFrameReduced);
        });
    for (auto& w : workers) w.join();
    EXPECT_EQ(display.Counters(StatusReduction).done, kThreads * kEach);
}

}  // namespace
}  // namespace anitrope
