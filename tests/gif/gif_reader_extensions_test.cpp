// Extension blocks: graphic control, comments, application data (looping and otherwise),
// plain text and labels the reader does not know. Every one is walked sub-block by sub-block
// to its terminator, so each test also checks that the image after it still reads.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/animation_dump.h"
#include "support/gif_builder.h"
#include "support/gif_loading.h"

namespace anitrope::test {
namespace {

const uint8_t kPixels[] = {0, 1, 2, 3};

// Header and a 2x2 screen with a 4-colour global table.
GifBuilder Start() {
    GifBuilder gif;
    gif.Header().Screen({.width = 2, .height = 2, .globalColors = DistinctColors(4)});
    return gif;
}

GifBuilder& AddImage(GifBuilder& gif) { return gif.Image({.width = 2, .height = 2}, kPixels); }

GifLoad ReadChecked(const GifBuilder& gif, std::size_t frames) {
    GifLoad load = ReadIntoNewAnimation(gif.Bytes());
    EXPECT_EQ(load.status, GifReadStatus::Ok);
    EXPECT_EQ(load.animation ? load.FrameCount() : 0, frames);
    return load;
}

std::vector<std::string> CommentsOf(const CommentList& list) { return {list.begin(), list.end()}; }

TEST(GifReaderExtensions, GraphicControlSetsTimingAndTransparencyOfTheNextImage) {
    GifBuilder gif = Start();
    gif.Control({.disposal = 2, .delay = 0x1234, .transparentIndex = 3});
    AddImage(gif);
    gif.Control({.disposal = 1, .delay = 7});
    AddImage(gif).Trailer();
    GifLoad load = ReadChecked(gif, 2);
    EXPECT_EQ(DumpAnimation(*load.animation),
              "screen 2x2\nglobal palette 4\nbackground 0\nloop none\n"
              "frame 0: at 0,0 size 2x2 delay 4660 disposal 2 transparent 3 palette global\n"
              "frame 1: at 0,0 size 2x2 delay 7 disposal 1 transparent none palette global\n");
    EXPECT_TRUE(HasPixels(load.Frame(1), kPixels));
}

TEST(GifReaderExtensions, DisposalIsBitsTwoToFourWhateverTheOtherBits) {
    GifBuilder gif = Start();
    for (uint8_t disposal = 0; disposal < 8; ++disposal) {
        gif.Control({.disposal = disposal, .userInput = true, .reserved = 7});
        AddImage(gif);
    }
    gif.Trailer();
    GifLoad load = ReadChecked(gif, 8);
    for (uint32_t disposal = 0; disposal < 8 && disposal < load.FrameCount(); ++disposal) {
        EXPECT_EQ(load.Frame(disposal).disposal, disposal);
        EXPECT_EQ(load.Frame(disposal).transparent, 0) << "frame " << disposal;
    }
}

TEST(GifReaderExtensions, TransparencyFollowsBitZeroOnly) {
    GifBuilder gif = Start();
    gif.Extension(0xF9, {{0x00, 0, 0, 2}});  // an index without the flag
    AddImage(gif);
    gif.Extension(0xF9, {{0x01, 0, 0, 0}});  // the flag with index 0
    AddImage(gif).Trailer();
    GifLoad load = ReadChecked(gif, 2);
    EXPECT_EQ(load.Frame(0).transparent, 0);
    EXPECT_EQ(load.Frame(1).transparent, 1);
    EXPECT_EQ(load.Frame(1).transparentIndex, 0);
}

TEST(GifReaderExtensions, GraphicControlOfAnyBlockSizeIsSkippedWhole) {
    // Longer blocks still carry the fields in their first four bytes; shorter ones cannot.
    for (uint8_t blockSize : std::vector<uint8_t>{1, 3, 4, 5, 6, 100, 255}) {
        SCOPED_TRACE(testing::Message() << "block size " << int{blockSize});
        GifBuilder gif = Start();
        gif.Control({.disposal = 2, .delay = 50, .transparentIndex = 1, .blockSize = blockSize});
        AddImage(gif);
        gif.Control({.disposal = 3, .delay = 9});
        AddImage(gif).Trailer();
        GifLoad load = ReadChecked(gif, 2);
        if (load.FrameCount() != 2) continue;
        const bool parsed = blockSize >= 4;
        EXPECT_EQ(load.Frame(0).delay, parsed ? 50 : 0);
        EXPECT_EQ(load.Frame(0).disposal, parsed ? 2u : 0u);
        EXPECT_EQ(load.Frame(0).transparent, parsed ? 1 : 0);
        EXPECT_EQ(load.Frame(1).delay, 9);
        EXPECT_EQ(load.Frame(1).disposal, 3u);
        EXPECT_TRUE(HasPixels(load.Frame(1), kPixels));
    }
}

TEST(GifReaderExtensions, GraphicControlWithExtraSubBlocksIsSkippedWhole) {
    GifBuilder gif = Start();
    gif.Extension(0xF9, {{0x09, 30, 0, 2}, {1, 2, 3}, std::vector<uint8_t>(255, 0x2C)});
    AddImage(gif).Trailer();
    GifLoad load = ReadChecked(gif, 1);
    EXPECT_EQ(load.Frame(0).delay, 30);
    EXPECT_EQ(load.Frame(0).disposal, 2u);
    EXPECT_EQ(load.Frame(0).transparentIndex, 2);
    EXPECT_TRUE(HasPixels(load.Frame(0), kPixels));
}

TEST(GifReaderExtensions, ImageWithoutGraphicControlHasNoDelayDisposalOrTransparency) {
    // Nothing carries over from the frame before.
    GifBuilder gif = Start();
    gif.Control({.disposal = 3, .delay = 50, .transparentIndex = 2});
    AddImage(gif);
    AddImage(gif).Trailer();
    for (bool fromFile : {false, true}) {
        SCOPED_TRACE(fromFile ? "LoadGifDocument" : "ReadGifBytes");
        GifLoad load = fromFile ? LoadFromBytes(gif.Bytes()) : ReadIntoNewAnimation(gif.Bytes());
        ASSERT_EQ(load.status, GifReadStatus::Ok);
        ASSERT_EQ(load.FrameCount(), 2u);
        EXPECT_EQ(load.Frame(1).delay, 0);
        EXPECT_EQ(load.Frame(1).disposal, 0u);
        EXPECT_EQ(load.Frame(1).transparent, 0);
    }
}

TEST(GifReaderExtensions, CommentSubBlocksJoinIntoOneText) {
    GifBuilder gif = Start();
    gif.Comment({"Hello, ", "world", "!"});
    gif.Comment({"second"});
    AddImage(gif);
    std::string binary("a\0b", 3);
    const std::string full(255, 'x');
    gif.Comment({full, binary, full});
    AddImage(gif).Trailer();
    GifLoad load = ReadChecked(gif, 2);
    EXPECT_EQ(CommentsOf(load.Frame(0).comments),
              (std::vector<std::string>{"Hello, world!", "second"}));
    EXPECT_EQ(CommentsOf(load.Frame(1).comments), (std::vector<std::string>{full + binary + full}));
    EXPECT_TRUE(load.animation->globalComments.Empty());
}

TEST(GifReaderExtensions, CommentsAfterTheLastImageBecomeGlobalComments) {
    GifBuilder gif = Start();
    gif.Comment({"on the frame"});
    AddImage(gif);
    gif.Comment({"first ", "global"});
    gif.Control({.delay = 5});
    gif.Comment({"second global"});
    gif.Trailer();
    GifLoad load = ReadChecked(gif, 1);
    EXPECT_EQ(CommentsOf(load.Frame(0).comments), (std::vector<std::string>{"on the frame"}));
    EXPECT_EQ(CommentsOf(load.animation->globalComments),
              (std::vector<std::string>{"first global", "second global"}));
    EXPECT_EQ(load.animation->hasGlobalComments, 1);
    // Numbered as they came, for the tree's "Comment [n]".
    EXPECT_EQ(load.animation->globalComments.Number(0), 1);
    EXPECT_EQ(load.animation->globalComments.Number(1), 2);
}

TEST(GifReaderExtensions, NetscapeLoopCountIsLittleEndian) {
    for (uint16_t count : std::vector<uint16_t>{0, 1, 5, 0x1234, 65535}) {
        SCOPED_TRACE(testing::Message() << "loop count " << count);
        GifBuilder gif = Start();
        gif.NetscapeLoop(count);
        AddImage(gif).Trailer();
        GifLoad load = LoadFromBytes(gif.Bytes());
        ASSERT_EQ(load.status, GifReadStatus::Ok);
        EXPECT_TRUE(load.animation->hasLoopExtension);
        EXPECT_EQ(load.animation->loopCount, count);
        EXPECT_TRUE(HasPixels(load.Frame(0), kPixels));
    }
}

TEST(GifReaderExtensions, LoadedFileWithoutLoopExtensionPlaysOnce) {
    GifBuilder gif = Start();
    AddImage(gif).Trailer();
    GifLoad load = LoadFromBytes(gif.Bytes());
    ASSERT_EQ(load.status, GifReadStatus::Ok);
    EXPECT_FALSE(load.animation->hasLoopExtension);
}

TEST(GifReaderExtensions, LoopCountIsReadWhateverTheApplicationIdentifier) {
    for (const char* identifier : {"ANIMEXTS1.0", "SOMEAPP 1.0", "NETSCAPE2.0"}) {
        SCOPED_TRACE(identifier);
        GifBuilder gif = Start();
        // Sub-blocks after the loop block are skipped.
        gif.Application(identifier, {{1, 7, 0}, {9, 9, 9, 9}});
        AddImage(gif).Trailer();
        GifLoad load = ReadChecked(gif, 1);
        EXPECT_TRUE(load.animation->hasLoopExtension);
        EXPECT_EQ(load.animation->loopCount, 7);
        EXPECT_TRUE(HasPixels(load.Frame(0), kPixels));
    }
}

TEST(GifReaderExtensions, ApplicationDataOfOtherShapesIsNoLoop) {
    const std::vector<std::vector<std::vector<uint8_t>>> shapes = {
        {{2, 7, 0}},                                             // sub-block id 2 (buffering)
        {{1, 7, 0, 0, 0}},                                       // 5 bytes, not 3
        {{1, 7}},                                                // too short
        {std::vector<uint8_t>(255, '<'), {1, 7, 0}, {1, 8, 0}},  // loop-like data later on
    };
    for (std::size_t i = 0; i < shapes.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "shape " << i);
        GifBuilder gif = Start();
        gif.Application("XMP DataXMP", shapes[i]);
        AddImage(gif).Trailer();
        GifLoad load = ReadChecked(gif, 1);
        EXPECT_FALSE(load.animation->hasLoopExtension);
        EXPECT_TRUE(HasPixels(load.Frame(0), kPixels));
    }
}

TEST(GifReaderExtensions, XmpPacketWithMagicTrailerIsSkipped) {
    // XMP in GIF is raw text, not sub-blocks, closed by a 257-byte "magic trailer" that
    // brings any sub-block walk to the terminator wherever in the text it started.
    const std::string packet =
        "<?xpacket begin=\"\xEF\xBB\xBF\" id=\"W5M0MpCehiHzreSzNTczkc9d\"?>"
        "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\"><rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/"
        "22-rdf-syntax-ns#\"><rdf:Description rdf:about=\"\"/></rdf:RDF></x:xmpmeta>"
        "<?xpacket end=\"r\"?>";
    const std::string identifier = "XMP DataXMP";
    GifBuilder gif = Start();
    gif.Byte(0x21).Byte(0xFF).Byte(11);
    gif.Raw(std::vector<uint8_t>(identifier.begin(), identifier.end()));
    gif.Raw(std::vector<uint8_t>(packet.begin(), packet.end()));
    gif.Byte(1);
    for (int value = 255; value >= 0; --value) gif.Byte(static_cast<uint8_t>(value));
    gif.Byte(0);  // the terminator every walk reaches
    AddImage(gif).Trailer();
    GifLoad load = ReadChecked(gif, 1);
    EXPECT_FALSE(load.animation->hasLoopExtension);
    EXPECT_TRUE(load.Frame(0).comments.Empty());
    EXPECT_TRUE(HasPixels(load.Frame(0), kPixels));
}

TEST(GifReaderExtensions, PlainTextAndUnknownExtensionsAreSkipped) {
    GifBuilder gif = Start();
    gif.PlainText(std::string(300, 'T'));  // two text sub-blocks after the grid header
    gif.Extension(0x42, {std::vector<uint8_t>(255, 0x3B), {0x2C}});
    gif.Extension(0x00, {{0x21, 0xF9, 0x04}});
    AddImage(gif).Trailer();
    GifLoad load = ReadChecked(gif, 1);
    EXPECT_TRUE(load.Frame(0).comments.Empty());
    EXPECT_EQ(load.Frame(0).delay, 0);
    EXPECT_TRUE(HasPixels(load.Frame(0), kPixels));
}

}  // namespace
}  // namespace anitrope::test
