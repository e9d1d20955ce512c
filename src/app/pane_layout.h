#pragma once

#include <cstdint>

namespace anitrope {

struct PaneRect {
    int32_t x = 0, y = 0, width = 0, height = 0;
    friend bool operator==(const PaneRect&, const PaneRect&) = default;
};

struct PaneLayout {
    PaneRect tree, button, previewArea, preview;
};

// Where the tree, its "Effect/Transition" button and the preview go in a client area of
// width x height below the toolbar (toolbarHeight) and above the status bar (statusHeight).
// The preview fills its area unless the animation's screen is smaller, when it is centred at
// the screen's size plus its border (borderX, borderY on each side).
PaneLayout LayOutPanes(int32_t width, int32_t height, int32_t toolbarHeight, int32_t statusHeight,
                       int32_t borderX, int32_t borderY, bool hasCurrentFrame, int32_t screenWidth,
                       int32_t screenHeight);

}  // namespace anitrope
