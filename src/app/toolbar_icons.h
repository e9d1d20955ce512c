#pragma once

#include <QIcon>

namespace anitrope {

// The toolbar's eleven images, drawn in one style: 0 open, 1 save, 2 copy, 3 effect, 4 help,
// 5 play, 6 stop, 7 first image, 8 last image, 9 transition, 10 banner text.
inline constexpr int kToolbarImageCount = 11;
QIcon ToolbarIcon(int image, qreal devicePixelRatio);

// The program's logo, for the About box and the window icon.
QPixmap LogoPixmap(int width, int height, qreal devicePixelRatio, bool named = true);

}  // namespace anitrope
