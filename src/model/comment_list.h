#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace anitrope {

// The comment texts of a frame or of the whole animation, in the order they were read or
// added. A text may hold any bytes a file carried, NUL included.
class CommentList {
public:
    void Append(std::string text) { texts_.push_back(std::move(text)); }
    void Clear() { texts_.clear(); }
    bool Empty() const { return texts_.empty(); }
    std::size_t Size() const { return texts_.size(); }
    const std::string& At(std::size_t i) const { return texts_.at(i); }

    // Moves every text of `other` to the end of this list, leaving `other` empty.
    void TakeAll(CommentList& other);

    auto begin() const { return texts_.begin(); }
    auto end() const { return texts_.end(); }

private:
    std::vector<std::string> texts_;
};

}  // namespace anitrope
