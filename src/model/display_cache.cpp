#include "model/display_cache.h"

#include "model/gif.h"
#include "model/screen_image.h"

namespace anitrope {

DisplayCache::DisplayCache(std::size_t byteBound) : byteBound_(byteBound) {}

std::size_t DisplayCache::BytesOf(const ScreenImage& image) {
    return static_cast<std::size_t>(image.Width()) * static_cast<std::size_t>(image.Height()) *
           sizeof(uint32_t);
}

void DisplayCache::Record(Gif& gif, const std::shared_ptr<const ScreenImage>& image) {
    std::lock_guard lock(lock_);
    if (auto found = entries_.find(&gif); found != entries_.end()) Erase(found->second);
    const std::size_t bytes = image ? BytesOf(*image) : 0;
    lru_.push_front(Entry{&gif, image.get(), bytes});
    entries_[&gif] = lru_.begin();
    bytesHeld_ += bytes;
    EvictOverBound(&gif);
}

void DisplayCache::Touch(const Gif& gif) {
    std::lock_guard lock(lock_);
    if (auto found = entries_.find(&gif); found != entries_.end())
        lru_.splice(lru_.begin(), lru_, found->second);
}

void DisplayCache::Forget(const Gif& gif) {
    std::lock_guard lock(lock_);
    if (auto found = entries_.find(&gif); found != entries_.end()) Erase(found->second);
}

void DisplayCache::SetByteBound(std::size_t byteBound) {
    std::lock_guard lock(lock_);
    byteBound_ = byteBound;
    EvictOverBound(nullptr);
}

std::size_t DisplayCache::ByteBound() const {
    std::lock_guard lock(lock_);
    return byteBound_;
}

std::size_t DisplayCache::BytesHeld() const {
    std::lock_guard lock(lock_);
    return bytesHeld_;
}

std::size_t DisplayCache::EntryCount() const {
    std::lock_guard lock(lock_);
    return lru_.size();
}

void DisplayCache::Erase(Lru::iterator at) {
    bytesHeld_ -= at->bytes;
    entries_.erase(at->gif);
    lru_.erase(at);
}

void DisplayCache::EvictOverBound(const Gif* keep) {
    // Oldest first; `at` is the entry after the next candidate and survives erasing it.
    for (auto at = lru_.end(); bytesHeld_ > byteBound_ && at != lru_.begin();) {
        const auto victim = std::prev(at);
        if (victim->gif != keep && TryEvict(*victim)) {
            Erase(victim);
        } else {
            at = victim;
        }
    }
}

bool DisplayCache::TryEvict(const Entry& entry) {
    std::unique_lock frameLock(entry.gif->bitmapLock, std::try_to_lock);
    if (!frameLock.owns_lock()) return false;
    // Record and Forget run under the frame's lock, so with it held the entry describes the
    // frame's picture; the check only guards against a picture stored behind our back.
    if (entry.gif->displayBitmap.get() == entry.image) entry.gif->displayBitmap.reset();
    return true;
}

}  // namespace anitrope
