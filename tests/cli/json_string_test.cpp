#include "cli/json_string.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace anitrope {
namespace {

using namespace std::string_literals;

TEST(JsonString, PlainTextIsOnlyQuoted) {
    EXPECT_EQ(JsonString(""), R"("")");
    EXPECT_EQ(JsonString("Made for Anitrope ~!@#$%^&*()/"), R"("Made for Anitrope ~!@#$%^&*()/")");
}

TEST(JsonString, QuoteAndBackslashGetABackslash) {
    EXPECT_EQ(JsonString(R"(say "hi" \o/)"), R"("say \"hi\" \\o/")");
}

TEST(JsonString, EveryControlCharacterBecomesAUnicodeEscape) {
    EXPECT_EQ(JsonString("a\nb\tc\rd"), R"("a\u000ab\u0009c\u000dd")");
    EXPECT_EQ(JsonString("\0\x01\x1f"s), R"("\u0000\u0001\u001f")");
    // DEL is no control character to JSON and passes through.
    EXPECT_EQ(JsonString("\x7f"), "\"\x7f\"");
}

TEST(JsonString, WellFormedUtf8PassesThrough) {
    for (std::string text : {"\xc3\xa9"s, "\xe2\x82\xac"s, "\xf0\x9f\x8e\x9e"s, "\xef\xbf\xbf"s,
                             "\xf4\x8f\xbf\xbf"s, "\xed\x9f\xbf"s, "\xc2\x80"s}) {
        EXPECT_EQ(JsonString(text), '"' + text + '"') << text;
    }
}

TEST(JsonString, BytesOutsideWellFormedUtf8AreEscapedOneByOne) {
    EXPECT_EQ(JsonString("\x80"), R"("\u0080")");                      // lone continuation
    EXPECT_EQ(JsonString("\xff\xfe"), R"("\u00ff\u00fe")");            // never in UTF-8
    EXPECT_EQ(JsonString("\xc0\xaf"), R"("\u00c0\u00af")");            // overlong '/'
    EXPECT_EQ(JsonString("\xe0\x80\xaf"), R"("\u00e0\u0080\u00af")");  // overlong, 3 bytes
    EXPECT_EQ(JsonString("\xf0\x80\x80\xaf"), R"("\u00f0\u0080\u0080\u00af")");
    EXPECT_EQ(JsonString("\xed\xa0\x80"), R"("\u00ed\u00a0\u0080")");            // UTF-16 surrogate
    EXPECT_EQ(JsonString("\xf4\x90\x80\x80"), R"("\u00f4\u0090\u0080\u0080")");  // > U+10FFFF
    EXPECT_EQ(JsonString("\xf5\x80\x80\x80"), R"("\u00f5\u0080\u0080\u0080")");
}

TEST(JsonString, CutSequenceEscapesItsBytesAndKeepsWhatFollows) {
    EXPECT_EQ(JsonString("\xe2\x82"), R"("\u00e2\u0082")");  // text ends inside
    EXPECT_EQ(JsonString("\xc3"
                         "A"),
              R"("\u00c3A")");  // ASCII interrupts
    EXPECT_EQ(JsonString("\xe2\x82\"x"), R"("\u00e2\u0082\"x")");
    EXPECT_EQ(JsonString("\xe2\xe2\x82\xac"), "\"\\u00e2\xe2\x82\xac\"");  // next lead starts anew
}

TEST(JsonString, SequenceEndsWhereTheViewEndsWhateverFollowsInMemory) {
    const std::string euro = "\xe2\x82\xac";
    EXPECT_EQ(JsonString(std::string_view(euro).substr(0, 2)), R"("\u00e2\u0082")");
    EXPECT_EQ(JsonString(std::string_view(euro).substr(0, 1)), R"("\u00e2")");
}

// Undoes the escaping: \u00XX gives byte XX back, everything else is taken as it stands.
std::string Unescape(std::string_view json) {
    std::string bytes;
    for (std::size_t i = 1; i + 1 < json.size(); ++i) {
        if (json[i] != '\\') {
            bytes += json[i];
        } else if (json[i + 1] == 'u') {
            bytes += static_cast<char>(std::stoi(std::string(json.substr(i + 4, 2)), nullptr, 16));
            i += 5;
        } else {
            bytes += json[++i];
        }
    }
    return bytes;
}

// glibc's converter, an opinion on UTF-8 independent of ours.
bool IsValidUtf8(const std::string& text) {
    iconv_t cd = iconv_open("UTF-8", "UTF-8");
    std::string copy = text;
    std::string output(text.size() * 4 + 4, '\0');
    char* in = copy.data();
    char* out = output.data();
    std::size_t inLeft = copy.size(), outLeft = output.size();
    const bool ok = iconv(cd, &in, &inLeft, &out, &outLeft) != static_cast<std::size_t>(-1);
    iconv_close(cd);
    return ok;
}

bool HasRawControlCharacter(const std::string& text) {
    for (char c : text) {
        if (static_cast<uint8_t>(c) < 0x20) return true;
    }
    return false;
}

void ExpectSafeAndLossless(const std::string& input) {
    const std::string json = JsonString(input);
    ASSERT_TRUE(IsValidUtf8(json)) << testing::PrintToString(input);
    ASSERT_FALSE(HasRawControlCharacter(json)) << testing::PrintToString(input);
    ASSERT_EQ(Unescape(json), input) << testing::PrintToString(input);
}

TEST(JsonString, EveryTwoByteInputGivesValidLosslessJson) {
    for (int a = 0; a < 256; ++a) {
        for (int b = 0; b < 256; ++b) {
            ExpectSafeAndLossless({static_cast<char>(a), static_cast<char>(b)});
        }
    }
}

TEST(JsonString, ThreeAndFourByteInputsAtTheUtf8BoundariesGiveValidLosslessJson) {
    // The leads whose second byte has narrower bounds, and their plain neighbours.
    for (int lead : {0xdf, 0xe0, 0xe1, 0xec, 0xed, 0xee, 0xef, 0xf0, 0xf1, 0xf3, 0xf4, 0xf5}) {
        for (int second = 0x70; second < 0xd0; ++second) {
            for (int third : {0x41, 0x7f, 0x80, 0xbf, 0xc0}) {
                const std::string three = {static_cast<char>(lead), static_cast<char>(second),
                                           static_cast<char>(third)};
                ExpectSafeAndLossless(three);
                ExpectSafeAndLossless(three + "\x80");
                ExpectSafeAndLossless(three +
                                      "\xbf"
                                      "z");
            }
        }
    }
}

}  // namespace
}  // namespace anitrope
