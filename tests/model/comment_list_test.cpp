#include "model/comment_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace anitrope {
namespace {

std::vector<int> Numbers(const CommentList& list) {
    std::vector<int> numbers;
    for (std::size_t i = 0; i < list.Size(); ++i) numbers.push_back(list.Number(i));
    return numbers;
}

// The tree shows "Comment [n]": a text keeps its number whatever happens to the others, and
// one taken out and put back (undo) gets its own number again.
TEST(CommentList, TextsKeepTheirNumbersThroughRemovalAndReinsertion) {
    CommentList list;
    for (const char* text : {"a", "b", "c"}) list.Append(text);
    EXPECT_EQ(Numbers(list), (std::vector<int>{1, 2, 3}));
    int number = 0;
    EXPECT_EQ(list.Erase(1, &number), "b");
    EXPECT_EQ(number, 2);
    EXPECT_EQ(Numbers(list), (std::vector<int>{1, 3}));
    list.Append("d");  // never reuses a number given before
    EXPECT_EQ(Numbers(list), (std::vector<int>{1, 3, 4}));
    list.Insert(1, "b", number);
    EXPECT_EQ(Numbers(list), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(list.At(1), "b");
    list.Insert(0, "z", 9);
    EXPECT_EQ(list.NextNumber(), 10);
    EXPECT_EQ(list.Bytes(), 5u);

    CommentList other;
    other.Append(std::string("x\0y", 3));
    list.TakeAll(other);  // numbered on as they arrive
    EXPECT_EQ(list.Number(5), 10);
    EXPECT_EQ(list.At(5), std::string("x\0y", 3));
    EXPECT_TRUE(other.Empty());
    EXPECT_EQ(other.NextNumber(), 1);
    list.Clear();
    EXPECT_TRUE(list.Empty());
    EXPECT_EQ(list.NextNumber(), 1);
}

}  // namespace
}  // namespace anitrope
