#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace anitrope {

// A picture on the clipboard: 0x00RRGGBB pixels, rows top first.
struct ClipboardImage {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint32_t> pixels;
};

// The system clipboard's pictures. The editor uses Qt's; tests keep one in memory.
class ImageClipboard {
public:
    virtual ~ImageClipboard() = default;
    virtual bool HasImage() const = 0;
    virtual std::optional<ClipboardImage> Image() const = 0;
    virtual bool SetImage(const ClipboardImage& image) = 0;
};

}  // namespace anitrope
