#pragma once

#include "app/image_clipboard.h"

namespace anitrope {

// The application clipboard's image.
class QtImageClipboard final : public ImageClipboard {
public:
    bool HasImage() const override;
    std::optional<ClipboardImage> Image() const override;
    bool SetImage(const ClipboardImage& image) override;
};

}  // namespace anitrope
