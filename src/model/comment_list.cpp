#include "model/comment_list.h"

namespace anitrope {

void CommentList::TakeAll(CommentList& other) {
    for (auto& text : other.texts_) texts_.push_back(std::move(text));
    other.texts_.clear();
}

}  // namespace anitrope
