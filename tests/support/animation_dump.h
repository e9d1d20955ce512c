#pragma once

#include <string>

namespace anitrope {
struct Animation;
}

namespace anitrope::test {

// A line-per-fact text of what a read produced, so tests can state whole expectations at
// once and a failure shows every difference:
//
//   screen 10x10
//   global palette 4
//   background 2
//   loop 5                      ("loop none" without a looping extension)
//   global comment "text"
//   frame 0: at 0,0 size 10x10 delay 5 disposal 1 transparent 3 palette local 16 interlaced
//     comment "text"
//
// "transparent none", "palette global" and a missing "interlaced" mark the other cases.
// Comment bytes outside printable ASCII appear as \xNN.
std::string DumpAnimation(const Animation& animation);

// DumpAnimation, and besides everything else an edit may change: the global delay and
// disposal with their switches, every frame's name, tree label, groups, ready state, and a
// hash of its palette, indexed pixels and true colour. Two documents that dump the same hold
// the same values.
std::string DumpDocument(const Animation& animation);

}  // namespace anitrope::test
