#include "app/pane_layout.h"

#include <gtest/gtest.h>

namespace anitrope {
namespace {

TEST(PaneLayout, TreeButtonAndPreviewFollowTheClientSize) {
    const PaneLayout layout = LayOutPanes(800, 600, 30, 20, 2, 2, false, 0, 0);
    EXPECT_EQ(layout.tree, (PaneRect{10, 40, 260, 510}));
    EXPECT_EQ(layout.button, (PaneRect{10, 550, 260, 20}));
    EXPECT_EQ(layout.previewArea, (PaneRect{280, 40, 513, 530}));
    EXPECT_EQ(layout.preview, layout.previewArea) << "no frame: the whole area";
}

TEST(PaneLayout, ASmallerScreenIsCentredAtItsSizeAndBorder) {
    const PaneLayout layout = LayOutPanes(800, 600, 30, 20, 2, 2, true, 101, 50);
    EXPECT_EQ(layout.preview, (PaneRect{280 + (513 - 101) / 2, 40 + (530 - 50) / 2, 105, 54}));
    const PaneLayout wide = LayOutPanes(800, 600, 30, 20, 2, 2, true, 2000, 50);
    EXPECT_EQ(wide.preview.x, 280) << "wider than the area: stretched to it";
    EXPECT_EQ(wide.preview.width, 513);
    EXPECT_EQ(wide.preview.height, 54);
}

TEST(PaneLayout, ATinyWindowGivesNoNegativeSizes) {
    const PaneLayout layout = LayOutPanes(10, 10, 30, 20, 2, 2, true, 5, 5);
    EXPECT_GE(layout.tree.width, 0);
    EXPECT_GE(layout.tree.height, 0);
    EXPECT_GE(layout.previewArea.height, 0);
}

}  // namespace
}  // namespace anitrope
