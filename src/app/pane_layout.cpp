#include "app/pane_layout.h"

#include <algorithm>

namespace anitrope {

PaneLayout LayOutPanes(int32_t width, int32_t height, int32_t toolbarHeight, int32_t statusHeight,
                       int32_t borderX, int32_t borderY, bool hasCurrentFrame, int32_t screenWidth,
                       int32_t screenHeight) {
    PaneLayout layout;
    const int32_t top = toolbarHeight + 10;
    layout.tree = {10, top, std::max(0, (width - 20) / 3),
                   std::max(0, height - (toolbarHeight + statusHeight + 40))};
    layout.button = {layout.tree.x, layout.tree.y + layout.tree.height, layout.tree.width, 20};
    layout.previewArea = {layout.tree.x + layout.tree.width + 10, top,
                          std::max(0, (2 * width - 60) / 3),
                          std::max(0, height - toolbarHeight - statusHeight - 20)};
    layout.preview = layout.previewArea;
    if (hasCurrentFrame) {
        if (screenWidth < layout.previewArea.width) {
            layout.preview.width = screenWidth + 2 * borderX;
            layout.preview.x += (layout.previewArea.width - screenWidth) / 2;
        }
        if (screenHeight < layout.previewArea.height) {
            layout.preview.height = screenHeight + 2 * borderY;
            layout.preview.y += (layout.previewArea.height - screenHeight) / 2;
        }
    }
    return layout;
}

}  // namespace anitrope
