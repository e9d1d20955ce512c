#pragma once

namespace anitrope {

struct Animation;
class Compositor;
struct Gif;

// Brackets a change of records that alters display pictures, in the order the compositor
// asks for: composition suspended before the first write, so no job composes from half-changed
// records; the pictures that show the change dropped; composition resumed (or left suspended
// when it already was). Without a compositor it does nothing.
class PictureChange {
  public:
    explicit PictureChange(Compositor* compositor);
    ~PictureChange();
    PictureChange(const PictureChange&) = delete;
    PictureChange& operator=(const PictureChange&) = delete;

    // The frame changed: its picture and those of the following frames that show it.
    void FrameChanged(Gif& gif);
    // A document-wide value changed (global palette, background, disposal override), which
    // any frame may show however far down the list: every picture.
    void EveryFrameChanged(Animation& animation);

  private:
    Compositor* compositor_;
    bool wasSuspended_ = false;
};

}  // namespace anitrope
