#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace anitrope {

// The comment texts of a frame or of the whole animation, in the order they were read or
// added. A text may hold any bytes a file carried, NUL included.
//
// Each text keeps the number its tree item shows ("Comment [%d]"): texts are numbered from 1
// as they come, and removing one leaves the others' numbers alone.
class CommentList {
public:
    void Append(std::string text);
    void Clear();
    bool Empty() const { return texts_.empty(); }
    std::size_t Size() const { return texts_.size(); }
    const std::string& At(std::size_t i) const { return texts_.at(i); }
    int Number(std::size_t i) const { return numbers_.at(i); }
    int NextNumber() const { return nextNumber_; }

    // Inserts before position `at` (at most Size()) with the given number; removes the text
    // at `at` (below Size()), handing back its number.
    void Insert(std::size_t at, std::string text, int number);
    std::string Erase(std::size_t at, int* number = nullptr);

    // Moves every text of `other` to the end of this list, leaving `other` empty.
    void TakeAll(CommentList& other);

    // The bytes the texts hold.
    std::size_t Bytes() const;

    auto begin() const { return texts_.begin(); }
    auto end() const { return texts_.end(); }

private:
    std::vector<std::string> texts_;
    std::vector<int> numbers_;
    int nextNumber_ = 1;  // one past the highest number given
};

}  // namespace anitrope
