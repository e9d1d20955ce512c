#include "model/animation.h"

#include <gtest/gtest.h>

#include "frame_fixtures.h"

namespace anitrope {
namespace {

using testing::AppendFrame;

TEST(ModelAnimation, CountsAndIndexesFrames) {
    Animation doc;
    EXPECT_EQ(doc.FrameCount(), 0u);
    EXPECT_EQ(doc.FrameAt(0), nullptr);
    EXPECT_EQ(doc.LastFrame(), nullptr);
    Gif* a = AppendFrame(doc, 1, 1);
    Gif* b = AppendFrame(doc, 1, 1);
    EXPECT_EQ(doc.FrameCount(), 2u);
    EXPECT_EQ(doc.FrameAt(0), a);
    EXPECT_EQ(doc.FrameAt(1), b);
    EXPECT_EQ(doc.FrameAt(2), nullptr);
    EXPECT_EQ(doc.LastFrame(), b);
}

TEST(ModelAnimation, ClearFreesFramesAndKeepsDocumentValues) {
    Animation doc;
    doc.loopCount = 3;
    doc.current = AppendFrame(doc, 1, 1);
    AppendFrame(doc, 1, 1);
    doc.Clear();
    EXPECT_EQ(doc.head, nullptr);
    EXPECT_EQ(doc.current, nullptr);
    EXPECT_EQ(doc.loopCount, 3);
}

TEST(ModelAnimation, FitScreenToFramesTakesTheFarthestEdges) {
    Animation doc;
    AppendFrame(doc, 10, 4, 5, 0);
    AppendFrame(doc, 3, 20, 0, 2);
    doc.FitScreenToFrames();
    EXPECT_EQ(doc.screenWidth, 15);
    EXPECT_EQ(doc.screenHeight, 22);
}

TEST(ModelAnimation, FitScreenToFramesSaturatesInsteadOfWrapping) {
    Animation doc;
    Gif* g = AppendFrame(doc, 0, 0, INT32_MAX, 0);
    g->width = 100;  // a corrupt record: right edge beyond int32
    doc.FitScreenToFrames();
    EXPECT_EQ(doc.screenWidth, INT32_MAX);
}

}  // namespace
}  // namespace anitrope
