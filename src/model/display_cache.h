#pragma once

#include <cstddef>
#include <list>
#include <memory>
#include <mutex>
#include <unordered_map>

namespace anitrope {

struct Gif;
class ScreenImage;

// Display pictures take screen width x height x 4 bytes each: 300 frames of 800 x 600 would
// take 576 MB.
inline constexpr std::size_t kDefaultDisplayCacheBytes = std::size_t{512} << 20;

// Keeps the frames' display pictures (Gif::displayBitmap) within a byte bound, dropping the
// least recently used first; a dropped picture is composed again when next asked for.
//
// Readers hold a picture through their own shared_ptr, so dropping a frame's picture never
// frees one that is being read: the memory goes when the last reader lets go. The bound
// counts the pictures frames hold.
//
// Locking: a frame's bitmapLock comes before the cache's own lock. Eviction, under the cache
// lock, only try-locks a victim's bitmapLock and passes over a frame whose lock is taken (its
// picture is being built, replaced or read); the bound is restored on a later eviction. So
// the thread that evicts (Record, SetByteBound) must hold no bitmapLock but that of the frame
// it records, which is never a victim.
//
// Frames recorded here must be forgotten before they are freed. Thread-safe.
class DisplayCache {
public:
    explicit DisplayCache(std::size_t byteBound = kDefaultDisplayCacheBytes);
    DisplayCache(const DisplayCache&) = delete;
    DisplayCache& operator=(const DisplayCache&) = delete;

    // Counts `image`, just stored as the frame's displayBitmap with its bitmapLock held, as
    // most recently used, then drops other pictures until the bound holds. The frame's own
    // picture stays even when it alone exceeds the bound.
    void Record(Gif& gif, const std::shared_ptr<const ScreenImage>& image);

    // The frame's picture was used: it becomes the last to be dropped. Unknown frames are
    // ignored.
    void Touch(const Gif& gif);

    // The frame's picture is gone (call with its bitmapLock held) or the frame is going.
    void Forget(const Gif& gif);

    void SetByteBound(std::size_t byteBound);
    std::size_t ByteBound() const;
    std::size_t BytesHeld() const;
    std::size_t EntryCount() const;

    static std::size_t BytesOf(const ScreenImage& image);

private:
    struct Entry {
        Gif* gif;
        const ScreenImage* image;  // identifies the picture counted
        std::size_t bytes;
    };
    using Lru = std::list<Entry>;  // most recent first

    void EvictOverBound(const Gif* keep);
    // Drops the entry's picture unless its frame is busy. True when the entry went.
    bool TryEvict(const Entry& entry);
    void Erase(Lru::iterator at);

    mutable std::mutex lock_;
    std::size_t byteBound_;
    std::size_t bytesHeld_ = 0;
    Lru lru_;
    std::unordered_map<const Gif*, Lru::iterator> entries_;
};

}  // namespace anitrope
