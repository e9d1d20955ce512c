#include "model/frame_content.h"

#include <utility>

#include "model/gif.h"

namespace anitrope {

FrameContent ContentOf(const Gif& gif) {
    return FrameContent{gif.left,    gif.top,         gif.width,         gif.height,
                        gif.indexed, gif.trueColor,   gif.palette,       gif.usesLocalPalette,
                        gif.transparent, gif.transparentIndex, gif.hasTransparentPixels,
                        gif.indexedReady, gif.bitsPerPixel};
}

void SetContent(Gif& gif, FrameContent content) { SwapContent(gif, content); }

void SwapContent(Gif& gif, FrameContent& content) {
    std::swap(gif.left, content.left);
    std::swap(gif.top, content.top);
    std::swap(gif.width, content.width);
    std::swap(gif.height, content.height);
    std::swap(gif.indexed, content.indexed);
    std::swap(gif.trueColor, content.trueColor);
    std::swap(gif.palette, content.palette);
    std::swap(gif.usesLocalPalette, content.usesLocalPalette);
    std::swap(gif.transparent, content.transparent);
    std::swap(gif.transparentIndex, content.transparentIndex);
    std::swap(gif.hasTransparentPixels, content.hasTransparentPixels);
    std::swap(gif.indexedReady, content.indexedReady);
    std::swap(gif.bitsPerPixel, content.bitsPerPixel);
}

std::size_t ContentBytes(const FrameContent& content) {
    std::size_t bytes = 0;
    if (content.indexed)
        bytes += static_cast<std::size_t>(content.indexed->Stride()) *
                 static_cast<std::size_t>(content.indexed->Height());
    if (content.trueColor)
        bytes += sizeof(uint32_t) * static_cast<std::size_t>(content.trueColor->Width()) *
                 static_cast<std::size_t>(content.trueColor->Height());
    return bytes;
}

}  // namespace anitrope
