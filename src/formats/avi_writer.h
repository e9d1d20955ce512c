#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace anitrope {

struct Animation;
struct Gif;
class FrameReducer;

// AVI files larger than this are refused: the plain index of an AVI cannot address more.
inline constexpr uint64_t kMaxAviBytes = uint64_t{1} << 30;

enum class AviWriteStatus { Ok, NoFrames, EmptyScreen, TooLarge, NoMemory, WriteFailed };

// The frames from `first` on as an AVI video stream of uncompressed 8-bit top-down frames at
// 15 frames per second, each with its palette: a RIFF file of our own writing (hdrl with avih
// and one strl of strh "vids"/"iv32" and strf, movi with one "00db" chunk per frame and "00pc"
// where the palette changes, idx1). An AVI has one frame size: frames that do not cover the
// screen are written as the editor shows them, composed at the screen's size (and reduced to
// 256 colours through `reducer` where composing gives more). Written atomically: a failure
// leaves any earlier file as it was.
AviWriteStatus WriteAviFile(const Animation& animation, const Gif* first, const std::string& path,
                            FrameReducer* reducer = nullptr);
// The same file's bytes.
AviWriteStatus EncodeAvi(const Animation& animation, const Gif* first, std::vector<uint8_t>& out,
                         FrameReducer* reducer = nullptr);

}  // namespace anitrope
