#include "model/comment_list.h"

#include <algorithm>

namespace anitrope {

void CommentList::Append(std::string text) {
    numbers_.push_back(nextNumber_++);
    texts_.push_back(std::move(text));
}

void CommentList::Clear() {
    texts_.clear();
    numbers_.clear();
    nextNumber_ = 1;
}

void CommentList::Insert(std::size_t at, std::string text, int number) {
    texts_.insert(texts_.begin() + static_cast<std::ptrdiff_t>(at), std::move(text));
    numbers_.insert(numbers_.begin() + static_cast<std::ptrdiff_t>(at), number);
    nextNumber_ = std::max(nextNumber_, number + 1);
}

std::string CommentList::Erase(std::size_t at, int* number) {
    std::string text = std::move(texts_.at(at));
    if (number) *number = numbers_.at(at);
    texts_.erase(texts_.begin() + static_cast<std::ptrdiff_t>(at));
    numbers_.erase(numbers_.begin() + static_cast<std::ptrdiff_t>(at));
    return text;
}

void CommentList::TakeAll(CommentList& other) {
    for (auto& text : other.texts_) Append(std::move(text));
    other.Clear();
}

std::size_t CommentList::Bytes() const {
    std::size_t bytes = 0;
    for (const std::string& text : texts_) bytes += text.size();
    return bytes;
}

}  // namespace anitrope
