#pragma once

#include <cstddef>
#include <memory>

namespace anitrope {

struct Animation;
struct Gif;

// Chains of new frames built from one or two existing ones, as transitions and ping-pong
// sequences need. A chain is linked only within itself; the caller links it into the document
// or hands it to DiscardFrames.

// `count` new frames, each a copy of `a` (of `b` when `a` is null) without true colour, linked
// to one another. Null when count is 0, when neither source is given or the source has no
// area, when a given source is not 8 bits per pixel, or when a copy fails.
Gif* MakeFrameList(Animation& animation, const Gif* a, const Gif* b, std::size_t count);

// Gives `a` and `b` true-colour pixels (see MakeTrueColor) and the first `count` frames of the
// chain empty true-colour bitmaps to paint into. Returns 1.
int PrepareFrames(Gif* a, Gif* b, Gif* chain, std::size_t count, bool pending);

// The chain holds the first (total + 1) / 2 frames of a sequence of `total`; appends the rest
// as copies (true colour included) of the chain walked backwards, so A B C becomes A B C B A
// and A B becomes A B B A. Returns 0 when a copy fails, keeping the frames appended so far;
// else 1.
int AppendPingPong(Gif* chain, std::size_t total);

// Discards `chain` and every frame after it. Returns null, for the caller's pointer.
Gif* DiscardFrames(Gif* chain);

// A chain of new frames (linked through next) that its holder owns: discarded unless released
// into a document.
struct ChainDeleter {
    void operator()(Gif* chain) const { DiscardFrames(chain); }
};
using FrameChain = std::unique_ptr<Gif, ChainDeleter>;

}  // namespace anitrope
