#include "gif/gif_writer.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <vector>

#include "gif/byte_sink.h"
#include "gif/gif_reader.h"
#include "gif/lzw_encoder.h"
#include "model/animation.h"
#include "model/gif.h"
#include "model/status_display.h"
#include "support/temp_file.h"

namespace anitrope {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

Gif* AddFrame(Animation& doc, int w, int h) {
    Gif* last = doc.LastFrame();
    Gif* g = CreateGif(doc, last, nullptr);
    if (last) last->next = g; else doc.head = g;
    g->width = static_cast<uint32_t>(w);
    g->height = static_cast<uint32_t>(h);
    g->indexed = std::make_unique<IndexedBitmap>(g, w, h);
    for (int i = 0; i < 256; ++i) g->palette[i] = {i, 255 - i, i / 2};
    return g;
}

Bytes ReadAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

using test::TempDir;


// Reads codes back the way a decoder sizes them, to check the encoder's width schedule.
struct CodeTrace {
    std::vector<int> codes;
    std::vector<int> widths;
};
CodeTrace TraceCodes(const Bytes& data, int minimum) {
    Bytes packed;
    for (std::size_t i = 0; i < data.size() && data[i] != 0;) {
        packed.insert(packed.end(), data.begin() + long(i) + 1, data.begin() + long(i) + 1 + data[i]);
        i += 1u + data[i];
    }
    CodeTrace trace;
    const int clear = 1 << minimum;
    int width = minimum + 1, nextFree = clear + 2;
    bool first = true;
    uint64_t bits = 0;
    int count = 0;
    std::size_t pos = 0;
    for (;;) {
        while (count < width && pos < packed.size()) {
            bits |= uint64_t{packed[pos++]} << count;
            count += 8;
        }
        if (count < width) break;
        const int code = static_cast<int>(bits & ((1u << width) - 1));
        bits >>= width;
        count -= width;
        trace.codes.push_back(code);
        trace.widths.push_back(width);
        if (code == clear) {
            width = minimum + 1;
            nextFree = clear + 2;
            first = true;
            continue;
        }
        if (code == clear + 1) break;
        if (!first && nextFree < 4096 && ++nextFree == (1 << width) && width < 12) ++width;
        first = false;
    }
    return trace;
}

TEST(GifWriterLayout, HeaderWithGlobalPaletteWritesUnusedSlotsWhite) {
    Animation doc;
    doc.screenWidth = 300;
    doc.screenHeight = 2;
    doc.backgroundIndex = 7;
    doc.globalPalettePresent = 1;
    doc.globalPalette[0] = {1, 2, 3};
    Gif* g = AddFrame(doc, 1, 1);
    ByteSink out;
    WriteGifHeader(doc, *g, out);
    const Bytes& b = out.Data();
    ASSERT_EQ(b.size(), 13u + 768u);
    EXPECT_EQ(Bytes(b.begin(), b.begin() + 13),
              (Bytes{'G', 'I', 'F', '8', '9', 'a', 0x2C, 0x01, 0x02, 0x00, 0x87, 7, 0}));
    EXPECT_EQ(Bytes(b.begin() + 13, b.begin() + 19), (Bytes{1, 2, 3, 255, 255, 255}));
}

TEST(GifWriterLayout, LoopingAndGraphicControlBytes) {
    Animation doc;
    doc.loopCount = 0x1234;
    ByteSink loop;
    WriteLoopingExtension(doc, loop);
    Bytes expected = {0x21, 0xFF, 0x0B};
    for (char c : std::string("NETSCAPE2.0")) expected.push_back(static_cast<uint8_t>(c));
    expected.insert(expected.end(), {0x03, 0x01, 0x34, 0x12, 0x00});
    EXPECT_EQ(loop.Data(), expected);

    Gif* g = AddFrame(doc, 1, 1);
    g->transparent = 1;
    g->transparentIndex = 9;
    g->disposal = 2;
    g->delay = 300;
    ByteSink gce;
    WriteGraphicControl(doc, *g, gce);
    EXPECT_EQ(gce.Data(), (Bytes{0x21, 0xF9, 0x04, 0x09, 0x2C, 0x01, 0x09, 0x00}));

    doc.useAnimationDelay = 1;
    doc.animationDelay = 5;
    doc.useAnimationDisposal = 1;
    doc.animationDisposal = 1;
    ByteSink global;
    WriteGraphicControl(doc, *g, global);
    EXPECT_EQ(global.Data(), (Bytes{0x21, 0xF9, 0x04, 0x05, 0x05, 0x00, 0x09, 0x00}));
}

TEST(GifWriterComments, SplitAt255AndEmptyTextStaysOneBlock) {
    auto blocks = [](std::size_t length) {
        ByteSink out;
        WriteComment(std::string(length, 'x'), out);
        return out.Data();
    };
    Bytes exact = blocks(255);
    ASSERT_EQ(exact.size(), 255u + 4u);
    EXPECT_EQ(exact[2], 255);
    EXPECT_EQ(exact.back(), 0);

    Bytes longer = blocks(256);
    ASSERT_EQ(longer.size(), (255u + 4u) + (1u + 4u));
    EXPECT_EQ(longer[259], 0x21);
    EXPECT_EQ(longer[261], 1);

    EXPECT_EQ(blocks(0), (Bytes{0x21, 0xFE, 0x00}));
}

TEST(GifWriterLzw, OnePixelIsClearPixelEnd) {
    Animation doc;
    Gif* g = AddFrame(doc, 1, 1);
    g->indexed->Set(0, 0, 5);
    LzwEncoder encoder;
    ByteSink out;
    encoder.Encode(*g->indexed, 1, 1, 8, out);
    // 256 | 5 << 9 | 257 << 18, least significant bit first.
    EXPECT_EQ(out.Data(), (Bytes{4, 0x00, 0x0B, 0x04, 0x04}));
}

TEST(GifWriterLzw, FullTableEmitsClearAtWidth12ThenRestartsNarrow) {
    Animation doc;
    Gif* g = AddFrame(doc, 200, 200);
    std::mt19937 rng(7);
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 200; ++x) g->indexed->Set(x, y, static_cast<uint8_t>(rng()));
    LzwEncoder encoder;
    ByteSink out;
    encoder.Encode(*g->indexed, 200, 200, 8, out);
    CodeTrace trace = TraceCodes(out.Data(), 8);
    ASSERT_GT(trace.codes.size(), 4000u);
    EXPECT_EQ(trace.codes.front(), 256);
    std::size_t clearAt = 0;
    for (std::size_t i = 1; i < trace.codes.size() && !clearAt; ++i)
        if (trace.codes[i] == 256) clearAt = i;
    ASSERT_NE(clearAt, 0u) << "no clear code after the table filled";
    EXPECT_EQ(trace.widths[clearAt], 12);
    EXPECT_EQ(trace.widths[clearAt + 1], 9);
    int maxCode = 0;
    for (int c : trace.codes) maxCode = std::max(maxCode, c);
    EXPECT_LE(maxCode, 4095);
    for (int w : trace.widths) EXPECT_LE(w, 12);
    // Every sub-block but the last is full.
    const Bytes& d = out.Data();
    std::size_t i = 0, blocks = 0;
    while (d[i] == 255) {
        i += 256;
        ++blocks;
    }
    EXPECT_GT(blocks, 10u);
    EXPECT_EQ(i + 1 + d[i], d.size());
}

TEST(GifWriterLzw, WidthGrowsAfter512Assigned) {
    Animation doc;
    Gif* g = AddFrame(doc, 600, 1);
    for (int x = 0; x < 600; ++x) g->indexed->Set(x, 0, static_cast<uint8_t>(x * 7 % 256));
    LzwEncoder encoder;
    ByteSink out;
    encoder.Encode(*g->indexed, 600, 1, 8, out);
    CodeTrace trace = TraceCodes(out.Data(), 8);
    bool saw10 = false;
    for (std::size_t i = 0; i < trace.widths.size(); ++i) saw10 |= trace.widths[i] == 10;
    EXPECT_TRUE(saw10);
    // The traced decoder agrees on every width or the stream would not parse to the end.
    EXPECT_EQ(trace.codes.back(), 257);
}

class GifWriterFiles : public ::testing::Test {
protected:
    TempDir dir;
};

TEST_F(GifWriterFiles, SingleFrameAnimationHasLoopAndGraphicControlAndReadsBack) {
    Animation doc;
    doc.screenWidth = doc.screenHeight = 3;
    Gif* g = AddFrame(doc, 3, 3);
    for (int i = 0; i < 9; ++i) g->indexed->Set(i % 3, i / 3, static_cast<uint8_t>(i * 30));
    g->delay = 42;
    g->comments.Append("frame note");
    doc.globalComments.Append("global note");
    const fs::path file = dir / "one.gif";
    ASSERT_EQ(SaveAnimation(doc, doc.head, file), GifWriteStatus::Ok);

    Bytes bytes = ReadAll(file);
    const Bytes netscape = {'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E'};
    EXPECT_NE(std::search(bytes.begin(), bytes.end(), netscape.begin(), netscape.end()),
              bytes.end());
    const Bytes gce = {0x21, 0xF9, 0x04};
    EXPECT_NE(std::search(bytes.begin(), bytes.end(), gce.begin(), gce.end()), bytes.end());
    EXPECT_EQ(bytes.back(), 0x3B);

    Animation back;
    ASSERT_EQ(LoadGifDocument(back, file), GifReadStatus::Ok);
    ASSERT_EQ(back.FrameCount(), 1u);
    EXPECT_EQ(back.head->delay, 42);
    EXPECT_TRUE(back.hasLoopExtension);
    ASSERT_EQ(back.head->comments.Size(), 1u);
    EXPECT_EQ(back.head->comments.At(0), "frame note");
    ASSERT_EQ(back.globalComments.Size(), 1u);
    EXPECT_EQ(back.globalComments.At(0), "global note");
    for (int i = 0; i < 9; ++i) EXPECT_EQ(back.head->indexed->Get(i % 3, i / 3), i * 30);
}

TEST_F(GifWriterFiles, SavingCountsFramesOnTheStatusDisplay) {
    struct Texts : StatusView {
        std::vector<std::string> shown;
        void ShowStatusText(const std::string& text) override { shown.push_back(text); }
        void ShowProgress(int, bool) override {}
    } view;
    StatusDisplay status;
    status.Subscribe(&view);
    Animation doc;
    doc.screenWidth = doc.screenHeight = 1;
    for (int i = 0; i < 3; ++i) AddFrame(doc, 1, 1);
    ASSERT_EQ(SaveAnimation(doc, doc.head, dir / "counted.gif", &status), GifWriteStatus::Ok);
    EXPECT_EQ(view.shown, (std::vector<std::string>{"Idle", "Saving Img 1/3", "Saving Img 2/3",
                                                    "Idle"}));
    EXPECT_EQ(status.Counters(StatusSaving).total, 0);
}

TEST_F(GifWriterFiles, FramesWithoutFittingPixelsWriteZeros) {
    Animation doc;
    doc.screenWidth = doc.screenHeight = 4;
    Gif* none = AddFrame(doc, 3, 2);
    none->indexed.reset();
    Gif* small = AddFrame(doc, 4, 4);
    small->indexed = std::make_unique<IndexedBitmap>(small, 1, 1);  // smaller than the frame
    small->indexed->Set(0, 0, 9);
    ASSERT_EQ(SaveAnimation(doc, doc.head, dir / "zeros.gif"), GifWriteStatus::Ok);
    Animation back;
    ASSERT_EQ(LoadGifDocument(back, dir / "zeros.gif"), GifReadStatus::Ok);
    ASSERT_EQ(back.FrameCount(), 2u);
    for (Gif* g = back.head; g; g = g->next)
        for (uint32_t y = 0; y < g->height; ++y)
            for (uint32_t x = 0; x < g->width; ++x) EXPECT_EQ(g->indexed->Get(int(x), int(y)), 0);
}

TEST_F(GifWriterFiles, FileReadWithoutLoopExtensionStaysPlayOnce) {
    Animation doc;
    doc.screenWidth = doc.screenHeight = 1;
    doc.hasLoopExtension = false;
    AddFrame(doc, 1, 1);
    ASSERT_EQ(SaveAnimation(doc, doc.head, dir / "once.gif"), GifWriteStatus::Ok);
    Animation back;
    ASSERT_EQ(LoadGifDocument(back, dir / "once.gif"), GifReadStatus::Ok);
    EXPECT_FALSE(back.hasLoopExtension);
}

TEST_F(GifWriterFiles, GlobalPaletteFrameWritesNoLocalTable) {
    Animation doc;
    doc.screenWidth = doc.screenHeight = 2;
    doc.globalPalettePresent = 1;
    for (int i = 0; i < 256; ++i) doc.globalPalette[i] = {i, i, i};
    Gif* g = AddFrame(doc, 2, 2);
    g->usesLocalPalette = 0;
    ASSERT_EQ(SaveSingleGif(doc, *g, dir / "single.gif"), GifWriteStatus::Ok);
    Bytes bytes = ReadAll(dir / "single.gif");
    // header 13 + global table 768, then straight to the image descriptor.
    ASSERT_GT(bytes.size(), 13u + 768u + 10u);
    EXPECT_EQ(bytes[781], 0x2C);
    EXPECT_EQ(bytes[781 + 9] & 0x80, 0);
    Animation back;
    ASSERT_EQ(LoadGifDocument(back, dir / "single.gif"), GifReadStatus::Ok);
    EXPECT_EQ(back.head->usesLocalPalette, 0);
}

TEST_F(GifWriterFiles, FailedSaveLeavesThePreviousFileAndNoTemporary) {
    Animation doc;
    doc.screenWidth = doc.screenHeight = 1;
    AddFrame(doc, 1, 1);
    // A directory in the way: the final rename must fail, whoever runs the test.
    const fs::path blocked = dir / "blocked.gif";
    fs::create_directory(blocked);
    fs::path marker = blocked / "keep";
    std::ofstream(marker) << "old";
    EXPECT_EQ(SaveAnimation(doc, doc.head, blocked), GifWriteStatus::CannotWrite);
    EXPECT_TRUE(fs::is_directory(blocked));
    EXPECT_TRUE(fs::exists(marker));
    EXPECT_EQ(SaveAnimation(doc, doc.head, fs::path(dir / "missing") / "x.gif"),
              GifWriteStatus::CannotWrite);
    std::size_t entries = 0;
    for (auto& e : fs::directory_iterator(dir.Path())) entries += e.path().filename() != "";
    EXPECT_EQ(entries, 1u) << "a temporary file was left behind";
}

TEST_F(GifWriterFiles, AFrameAwaitingItsReductionIsRefusedAndTheOldFileStays) {
    Animation doc;
    doc.screenWidth = doc.screenHeight = 2;
    AddFrame(doc, 2, 2);
    Gif* pending = AddFrame(doc, 2, 2);
    pending->trueColor = std::make_shared<TrueColorBitmap>(2, 2);
    SetIndexedReady(*pending, 0);
    const fs::path file = dir / "old.gif";
    std::ofstream(file) << "old";
    EXPECT_EQ(SaveAnimation(doc, doc.head, file), GifWriteStatus::FramePending);
    EXPECT_EQ(SaveSingleGif(doc, *pending, file), GifWriteStatus::FramePending);
    EXPECT_EQ(ReadAll(file), (Bytes{'o', 'l', 'd'}));
    std::size_t entries = 0;
    for (auto& e : fs::directory_iterator(dir.Path())) entries += e.path().filename() != "";
    EXPECT_EQ(entries, 1u) << "a temporary file was left behind";
    // The frames before it are theirs to write.
    EXPECT_EQ(SaveSingleGif(doc, *doc.head, file), GifWriteStatus::Ok);
}

TEST_F(GifWriterFiles, SavingOverTheSourceFileWorks) {
    Animation doc;
    doc.screenWidth = doc.screenHeight = 2;
    Gif* g = AddFrame(doc, 2, 2);
    g->indexed->Set(1, 1, 9);
    const fs::path file = dir / "same.gif";
    ASSERT_EQ(SaveAnimation(doc, doc.head, file), GifWriteStatus::Ok);
    Animation loaded;
    ASSERT_EQ(LoadGifDocument(loaded, file), GifReadStatus::Ok);
    loaded.head->indexed->Set(0, 0, 4);
    ASSERT_EQ(SaveAnimation(loaded, loaded.head, file), GifWriteStatus::Ok);
    Animation again;
    ASSERT_EQ(LoadGifDocument(again, file), GifReadStatus::Ok);
    EXPECT_EQ(again.head->indexed->Get(0, 0), 4);
    EXPECT_EQ(again.head->indexed->Get(1, 1), 9);
}

TEST_F(GifWriterFiles, KeepsTheModeOfTheFileItReplaces) {
    Animation doc;
    doc.screenWidth = doc.screenHeight = 1;
    AddFrame(doc, 1, 1);
    const fs::path file = dir / "mode.gif";
    std::ofstream(file) << "x";
    chmod(file.c_str(), 0640);
    ASSERT_EQ(SaveAnimation(doc, doc.head, file), GifWriteStatus::Ok);
    struct stat info {};
    ASSERT_EQ(stat(file.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
}

TEST(GifWriterRoundTrip, SuiteFilesReadWriteReadIdentically) {
    TempDir dir;
    const fs::path suite = fs::path(ANITROPE_TESTDATA_DIR) / "gif-test-suite" / "gifs";
    int files = 0;
    for (const auto& entry : fs::directory_iterator(suite)) {
        if (entry.path().extension() != ".gif") continue;
        ++files;
        SCOPED_TRACE(entry.path().filename().string());
        Animation a;
        ASSERT_EQ(LoadGifDocument(a, entry.path()), GifReadStatus::Ok);
        ASSERT_EQ(SaveAnimation(a, a.head, dir / "rt.gif"), GifWriteStatus::Ok);
        Animation b;
        ASSERT_EQ(LoadGifDocument(b, dir / "rt.gif"), GifReadStatus::Ok);
        EXPECT_EQ(a.loopCount, b.loopCount);
        EXPECT_EQ(a.hasLoopExtension, b.hasLoopExtension);
        // Tables are written with 256 slots; the colours the file had must come back.
        const int used = UsedPaletteSlots(a.globalPalette);
        for (int i = 0; i < used; ++i) EXPECT_EQ(a.globalPalette[i], b.globalPalette[i]);
        ASSERT_EQ(a.FrameCount(), b.FrameCount());
        for (Gif *f = a.head, *h = b.head; f; f = f->next, h = h->next) {
            EXPECT_EQ(f->left, h->left);
            EXPECT_EQ(f->top, h->top);
            ASSERT_EQ(f->width, h->width);
            ASSERT_EQ(f->height, h->height);
            EXPECT_EQ(f->delay, h->delay);
            EXPECT_EQ(f->disposal, h->disposal);
            EXPECT_EQ(f->transparent, h->transparent);
            EXPECT_EQ(f->transparentIndex, h->transparentIndex);
            EXPECT_EQ(f->usesLocalPalette, h->usesLocalPalette);
            for (uint32_t y = 0; y < f->height; ++y)
                for (uint32_t x = 0; x < f->width; ++x)
                    ASSERT_EQ(f->indexed->Get(int(x), int(y)), h->indexed->Get(int(x), int(y)))
                        << "pixel " << x << "," << y;
        }
    }
    EXPECT_GE(files, 10);
}

}  // namespace
}  // namespace anitrope
