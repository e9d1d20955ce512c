#pragma once

#include <cstddef>
#include <cstdint>
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

// The frames' display pictures, each with the document version it was composed at, kept within
// a byte bound: the least recently used goes first, and is composed again when next asked for.
//
// Readers hold a picture through their own shared_ptr, so dropping one never frees a picture
// that is being read; the memory goes when the last reader lets go. Thread-safe.
class DisplayCache {
public:
    struct Entry {
        std::shared_ptr<const ScreenImage> picture;
        uint64_t composedAt = 0;
    };

    explicit DisplayCache(std::size_t byteBound = kDefaultDisplayCacheBytes);
    DisplayCache(const DisplayCache&) = delete;
    DisplayCache& operator=(const DisplayCache&) = delete;

    // The frame's picture (null when none is kept), which becomes the last to be dropped.
    Entry Find(const Gif& gif);
    // Keeps `picture` as the frame's, most recently used, then drops others until the bound
    // holds. The frame's own picture stays even when it alone exceeds the bound.
    void Store(const Gif& gif, std::shared_ptr<const ScreenImage> picture, uint64_t composedAt);
    // The frame's picture goes (or the frame is going).
    void Forget(const Gif& gif);
    void Clear();

    void SetByteBound(std::size_t byteBound);
    std::size_t ByteBound() const;
    std::size_t BytesHeld() const;
    std::size_t EntryCount() const;

    static std::size_t BytesOf(const ScreenImage& image);

private:
    struct Kept {
        const Gif* gif;
        Entry entry;
        std::size_t bytes;
    };
    using Lru = std::list<Kept>;  // most recent first

    void EvictOverBound(const Gif* keep);
    void Erase(Lru::iterator at);

    mutable std::mutex lock_;
    std::size_t byteBound_;
    std::size_t bytesHeld_ = 0;
    Lru lru_;
    std::unordered_map<const Gif*, Lru::iterator> entries_;
};

}  // namespace anitrope
