#include "model/display_cache.h"

#include <iterator>

#include "model/screen_image.h"

namespace anitrope {

DisplayCache::DisplayCache(std::size_t byteBound) : byteBound_(byteBound) {}

std::size_t DisplayCache::BytesOf(const ScreenImage& image) {
    return static_cast<std::size_t>(image.Width()) * static_cast<std::size_t>(image.Height()) *
           sizeof(uint32_t);
}

DisplayCache::Entry DisplayCache::Find(const Gif& gif) {
    std::lock_guard lock(lock_);
    const auto found = entries_.find(&gif);
    if (found == entries_.end()) return {};
    lru_.splice(lru_.begin(), lru_, found->second);
    return found->second->entry;
}

void DisplayCache::Store(const Gif& gif, std::shared_ptr<const ScreenImage> picture,
                         uint64_t composedAt) {
    std::lock_guard lock(lock_);
    if (auto found = entries_.find(&gif); found != entries_.end()) Erase(found->second);
    const std::size_t bytes = picture ? BytesOf(*picture) : 0;
    lru_.push_front(Kept{&gif, Entry{std::move(picture), composedAt}, bytes});
    entries_[&gif] = lru_.begin();
    bytesHeld_ += bytes;
    EvictOverBound(&gif);
}

void DisplayCache::Forget(const Gif& gif) {
    std::lock_guard lock(lock_);
    if (auto found = entries_.find(&gif); found != entries_.end()) Erase(found->second);
}

void DisplayCache::Clear() {
    std::lock_guard lock(lock_);
    lru_.clear();
    entries_.clear();
    bytesHeld_ = 0;
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
        if (victim->gif != keep) {
            Erase(victim);
        } else {
            at = victim;
        }
    }
}

}  // namespace anitrope
