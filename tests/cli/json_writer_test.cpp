#include "cli/json_writer.h"

#include <gtest/gtest.h>

namespace anitrope {
namespace {

TEST(JsonWriter, EmptyContainers) {
    EXPECT_EQ(JsonWriter().BeginObject().EndObject().Text(), "{}");
    EXPECT_EQ(JsonWriter().BeginArray().EndArray().Text(), "[]");
}

TEST(JsonWriter, CommasSeparateMembersAndElementsOnly) {
    JsonWriter json;
    json.BeginObject();
    json.Key("a").Number(1);
    json.Key("b").BeginArray().Bool(true).Bool(false).Null().EndArray();
    json.Key("c").BeginObject().EndObject();
    json.Key("d").String("x");
    json.EndObject();
    EXPECT_EQ(json.Text(), R"({"a":1,"b":[true,false,null],"c":{},"d":"x"})");
}

TEST(JsonWriter, NestedContainersKeepTheirOwnCommaState) {
    JsonWriter json;
    json.BeginArray();
    json.BeginObject().Key("x").BeginArray().EndArray().EndObject();
    json.BeginObject().Key("y").BeginArray().Number(1).Number(2).EndArray().EndObject();
    json.BeginArray().EndArray();
    json.Number(3);
    json.EndArray();
    EXPECT_EQ(json.Text(), R"([{"x":[]},{"y":[1,2]},[],3])");
}

TEST(JsonWriter, NumbersKeepTheirSignAndRange) {
    JsonWriter json;
    json.BeginArray().Number(-7).Number(0).Number(INT64_MIN).Number(4294967295).EndArray();
    EXPECT_EQ(json.Text(), "[-7,0,-9223372036854775808,4294967295]");
}

TEST(JsonWriter, KeysAreEscapedLikeStrings) {
    JsonWriter json;
    json.BeginObject().Key("a\"b\n").Number(1).EndObject();
    EXPECT_EQ(json.Text(), R"({"a\"b\u000a":1})");
}

}  // namespace
}  // namespace anitrope
