#include "formats/avi_writer.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "formats/video_stream.h"
#include "model/frame_fixtures.h"
#include "model/reduction_workers.h"
#include "support/temp_file.h"

namespace anitrope {
namespace {

using testing::AppendFrame;
using testing::FillIndexed;
using testing::SetSlot;

uint32_t Le32(const std::vector<uint8_t>& b, std::size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | uint32_t{b[at + 3]} << 24;
}
std::string Code(const std::vector<uint8_t>& b, std::size_t at) {
    return std::string(b.begin() + at, b.begin() + at + 4);
}

char Letter(uint32_t rgb) {
    const std::map<uint32_t, char> names = {{0xFF0000, 'R'}, {0x00FF00, 'G'}, {0xFFFFFF, 'W'},
                                            {0x0000FF, 'B'}, {0x808080, 'g'}, {0x000000, 'K'},
                                            {0xFFFF00, 'Y'}, {0x010203, 'r'}};
    const auto found = names.find(rgb);
    return found == names.end() ? '?' : found->second;
}

// What a player reads back: where each chunk's data lies, the idx1 entries ("code flags"), and
// per frame its rows with the palette in force (strf's, then each 00pc's).
struct ReadBack {
    std::map<std::string, std::size_t> at;
    std::vector<std::string> idx1;
    std::vector<std::size_t> changes;  // the frames a 00pc precedes
    std::vector<std::vector<uint8_t>> samples;
    std::vector<std::vector<uint32_t>> palettes;  // 0x00RRGGBB
    uint32_t width = 0, height = 0;

    std::vector<uint8_t> Indices(std::size_t k) const {
        std::vector<uint8_t> indices;
        for (uint32_t i = 0; i < width * height; ++i)
            indices.push_back(samples[k][i / width * (samples[k].size() / height) + i % width]);
        return indices;
    }
    std::vector<std::string> Pictures() const {
        std::vector<std::string> pictures(samples.size());
        for (std::size_t k = 0; k < samples.size(); ++k)
            for (uint8_t index : Indices(k)) pictures[k] += Letter(palettes[k][index]);
        return pictures;
    }
};

ReadBack Parse(const std::vector<uint8_t>& b) {
    ReadBack r;
    EXPECT_EQ(Code(b, 0) + Code(b, 8), "RIFFAVI ");
    EXPECT_EQ(Le32(b, 4), b.size() - 8);
    std::vector<uint32_t> palette(256);
    for (std::size_t pos = 12; pos + 8 <= b.size();) {
        const std::string code = Code(b, pos);
        const uint32_t size = Le32(b, pos + 4);
        if (code == "LIST") {  // into the list, known by its type
            r.at.emplace(Code(b, pos + 8), pos + 12);
            pos += 12;
            continue;
        }
        const std::size_t data = pos + 8;
        r.at.emplace(code, data);
        for (int i = 0; i < 256 && code == "strf"; ++i)  // blue, green, red, 0
            palette[i] = Le32(b, data + 40 + 4 * i);
        for (int i = 0; i < 256 && code == "00pc"; ++i) {  // red, green, blue, flags
            const uint32_t rgb0 = Le32(b, data + 4 + 4 * i);
            palette[i] = (rgb0 & 0xFF) << 16 | (rgb0 & 0xFF00) | rgb0 >> 16;
        }
        if (code == "00pc") r.changes.push_back(r.samples.size());
        if (code == "00db") {
            r.samples.emplace_back(&b[data], &b[data + size]);
            r.palettes.push_back(palette);
        }
        for (uint32_t e = 0; code == "idx1" && e < size; e += 16) {
            const std::size_t chunk = r.at["movi"] - 4 + Le32(b, data + e + 8);
            EXPECT_EQ(Code(b, chunk), Code(b, data + e)) << "idx1 points at its chunk";
            EXPECT_EQ(Le32(b, chunk + 4), Le32(b, data + e + 12));
            r.idx1.push_back(Code(b, data + e) + " " + std::to_string(Le32(b, data + e + 4)));
        }
        pos = data + size;
    }
    r.width = Le32(b, r.at["avih"] + 32);
    r.height = Le32(b, r.at["avih"] + 36);
    return r;
}

// 4 x 3 screen. A covers it in red and green; B, a white 2 x 1 at (1,1) with a palette
// without green, must be composed and gets the picture's own colours in order of first
// appearance (red, green, white); C, 2 x 1 at (0,2) whose green is transparent, draws red over
// A's green and lets A's green through, composed into the same colours; D covers the screen
// with the global palette, which gives A's colours again.
void FourFrames(Animation& a) {
    a.screenWidth = 4;
    a.screenHeight = 3;
    SetSlot(a.globalPalette, 0, 255, 0, 0);
    SetSlot(a.globalPalette, 1, 0, 255, 0);
    Gif* f = AppendFrame(a, 4, 3);
    SetSlot(f->palette, 0, 255, 0, 0);
    SetSlot(f->palette, 1, 0, 255, 0);
    FillIndexed(*f, {0, 0, 1, 1, 0, 0, 1, 1, 1, 1, 0, 0});
    f = AppendFrame(a, 2, 1, 1, 1);
    SetSlot(f->palette, 0, 255, 255, 255);
    SetSlot(f->palette, 1, 255, 0, 0);
    f = AppendFrame(a, 2, 1, 0, 2);
    f->palette = a.head->palette;
    f->transparent = 1;
    f->transparentIndex = 1;
    FillIndexed(*f, {0, 1});
    f = AppendFrame(a, 4, 3);
    f->usesLocalPalette = 0;
    f->palette = a.head->palette;  // slots the frame's own palette leaves unused draw black
    FillIndexed(*f, {0, 1, 0, 1, 1, 0, 1, 0, 0, 0, 0, 0});
}
const std::vector<std::string> kFourPictures = {"RRGGRRGGGGRR", "RRGGRWWGGGRR", "RRGGRWWGRGRR",
                                                "RGRGGRGRRRRR"};

// A transparent 1 x 1 frame in the middle of a 3 x 1 screen: the background (blue) around it,
// the grey of "nothing beneath" under its transparent pixel.
void LoneTransparentPixel(Animation& a) {
    a.screenWidth = 3;
    a.screenHeight = 1;
    SetSlot(a.globalPalette, 0, 0, 0, 255);
    AppendFrame(a, 1, 1, 1, 0)->transparent = 1;
}

// 272 colours in one frame awaiting reduction: dark ones left, light ones right.
void ManyColours(Animation& a) {
    a.screenWidth = 17;
    a.screenHeight = 16;
    Gif* f = AppendFrame(a, 17, 16);
    SetSlot(f->palette, 0, 0, 0, 0);
    SetSlot(f->palette, 1, 255, 255, 0);
    AllocTrueColor(*f);
    for (uint32_t i = 0; i < 272; ++i) {
        const uint32_t x = i % 17, y = i / 17;
        f->trueColor->Set(x, y, x < 8 ? x << 16 | y << 8 : (255 - x) << 16 | (255 - y) << 8);
    }
}

// Gives every frame it reduces one colour, 01 02 03, and says what size it was given.
struct OneColourReducer : FrameReducer {
    void ReduceNow(std::span<Gif* const> frames) override {
        for (Gif* gif : frames) {
            const int32_t w = gif->trueColor->Width(), h = gif->trueColor->Height();
            given += std::to_string(w) + "x" + std::to_string(h) + " ";
            ReductionResult result;
            SetSlot(result.palette, 0, 1, 2, 3);
            result.indexed = std::make_shared<IndexedBitmap>(gif, w, h);
            ApplyReduction(*gif, std::move(result), false);
        }
    }
    std::string given;
};

std::vector<uint8_t> Encoded(void (*build)(Animation&), FrameReducer* reducer = nullptr) {
    Animation a;
    build(a);
    std::vector<uint8_t> bytes;
    EXPECT_EQ(EncodeAvi(a, a.head, bytes, reducer), AviWriteStatus::Ok);
    return bytes;
}

TEST(AviWriter, FramesReadBackAsTheEditorShowsThem) {
    OneColourReducer reducer;
    std::string nearest;  // without a reducer: the frame's black and yellow
    for (int y = 0; y < 16; ++y) nearest += "KKKKKKKKYYYYYYYYY";
    const struct {
        void (*build)(Animation&);
        FrameReducer* reducer;
        std::vector<std::string> pictures;
        std::vector<std::size_t> changes;
    } cases[] = {
        {FourFrames, nullptr, kFourPictures, {1, 3}},
        {LoneTransparentPixel, nullptr, {"BgB"}, {}},
        {ManyColours, nullptr, {nearest}, {}},
        {ManyColours, &reducer, {std::string(272, 'r')}, {}},
    };
    for (const auto& c : cases) {
        const ReadBack r = Parse(Encoded(c.build, c.reducer));
        EXPECT_EQ(r.Pictures(), c.pictures);
        EXPECT_EQ(r.changes, c.changes);
    }
    EXPECT_EQ(reducer.given, "17x16 ");
    // 3 wide, so one byte of padding; blue and grey are the first colours seen.
    EXPECT_EQ(Parse(Encoded(LoneTransparentPixel)).samples[0], (std::vector<uint8_t>{0, 1, 0, 0}));
}

TEST(AviWriter, HeadersCarryTheFixedFieldsTheScreenAndTheRealFrameCount) {
    const std::vector<uint8_t> bytes = Encoded(FourFrames);
    ReadBack r = Parse(bytes);
    EXPECT_EQ(Code(bytes, r.at["strh"]) + Code(bytes, r.at["strh"] + 4), "vidsiv32");
    const struct {
        const char* chunk;
        std::size_t offset;
        uint32_t value;
    } fields[] = {
        // avih: microseconds per frame, AVIF_HASINDEX, frames, streams, width, height.
        {"avih", 0, 66667},
        {"avih", 12, 0x10},
        {"avih", 16, 4},
        {"avih", 24, 1},
        {"avih", 32, 4},
        {"avih", 36, 3},
        // strh: scale, rate, length, quality, frame rectangle as four 16-bit values.
        {"strh", 20, 1},
        {"strh", 24, 15},
        {"strh", 32, 4},
        {"strh", 40, 10000},
        {"strh", 48, 0},
        {"strh", 52, 4 | 3 << 16},
        // strf: 40 + 1024 bytes; 40, 4 x -3, 1 plane of 8 bits, uncompressed, red as 00 00 FF 00.
        {"strf", 0, 40},
        {"strf", 4, 4},
        {"strf", 8, uint32_t(-3)},
        {"strf", 12, 1 | 8 << 16},
        {"strf", 16, 0},
        {"strf", 40, 0xFF0000},
        // The change ahead of frame 1: first 0, count 0 (all 256), no flags; white in slot 2.
        {"00pc", 0, 0},
        {"00pc", 12, 0xFFFFFF},
    };
    EXPECT_EQ(Le32(bytes, r.at["strf"] - 4), 1064u);
    for (const auto& f : fields)
        EXPECT_EQ(Le32(bytes, r.at[f.chunk] + f.offset), f.value) << f.chunk << " + " << f.offset;
    EXPECT_EQ(r.idx1, (std::vector<std::string>{"00db 16", "00pc 256", "00db 16", "00db 16",
                                                "00pc 256", "00db 16"}));
}

TEST(AviWriter, RefusesWhatItCannotWrite) {
    // 17 frames of 8192 x 8192 are 17 x 64 MiB, more than 1 GiB; no pixels are needed to see it.
    const struct {
        int32_t width, height, frames;
        AviWriteStatus status;
    } cases[] = {{4, 3, 0, AviWriteStatus::NoFrames},
                 {0, 3, 1, AviWriteStatus::EmptyScreen},
                 {4, -1, 1, AviWriteStatus::EmptyScreen},
                 {20000, 1, 1, AviWriteStatus::TooLarge},
                 {8192, 8192, 17, AviWriteStatus::TooLarge}};
    for (const auto& c : cases) {
        Animation a;
        a.screenWidth = c.width;
        a.screenHeight = c.height;
        for (int i = 0; i < c.frames; ++i) AppendFrame(a, 0, 0);
        std::vector<uint8_t> bytes{1};
        EXPECT_EQ(EncodeAvi(a, a.head, bytes), c.status) << c.width << "x" << c.height;
        EXPECT_TRUE(bytes.empty());
    }
}

std::string Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

TEST(AviWriter, FailedWritesLeaveTheOldFile) {
    Animation a;
    FourFrames(a);
    const test::TempDir dir;
    const std::string path = dir / "x.avi";
    EXPECT_EQ(WriteAviFile(a, a.head, dir / "missing/x.avi"), AviWriteStatus::WriteFailed);
    std::ofstream(path) << "old";
    a.screenWidth = 0;
    EXPECT_EQ(WriteAviFile(a, a.head, path), AviWriteStatus::EmptyScreen);
    EXPECT_EQ(Contents(path), "old");
    a.screenWidth = 4;
    chmod(dir.Path().c_str(), 0555);
    // The superuser writes into read-only directories: nothing to see then.
    if (!std::ofstream(dir / "probe")) {
        EXPECT_EQ(WriteAviFile(a, a.head, path), AviWriteStatus::WriteFailed);
        EXPECT_EQ(Contents(path), "old");
    }
    chmod(dir.Path().c_str(), 0755);
    EXPECT_EQ(WriteAviFile(a, a.head, path), AviWriteStatus::Ok);
    EXPECT_EQ(Contents(path).substr(0, 4), "RIFF");
}

// Our reader gives back exactly what was written, in any reading order: a frame reached by a
// seek has the palette in force there.
TEST(AviWriter, ReadsBackThroughOurVideoReader) {
    const std::vector<uint8_t> bytes = Encoded(FourFrames);
    const ReadBack r = Parse(bytes);
    std::string error;
    const auto video = OpenVideoBytes(bytes, &error);
    ASSERT_TRUE(video) << error;
    ASSERT_EQ(video->Info().length, 4);
    for (std::size_t k : {3, 0, 2, 1, 3}) {
        const std::optional<VideoPicture> read = video->FrameAt(video->Info().first + k);
        ASSERT_TRUE(read) << video->Error();
        std::vector<uint32_t> colours;
        for (const PaletteEntry& entry : read->palette) colours.push_back(PaletteRgb(entry));
        EXPECT_EQ(read->indices, r.Indices(k)) << "frame " << k;
        EXPECT_EQ(colours, r.palettes[k]) << "frame " << k;
    }
}

std::string OutputOf(const std::string& command) {
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    char buffer[4096];
    for (std::size_t n; pipe && (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        out.append(buffer, n);
    if (pipe) pclose(pipe);
    return out;
}

TEST(AviWriter, FfmpegDecodesTheFramesAndPalettesWeWrote) {
    if (std::system("command -v ffmpeg >/dev/null && command -v ffprobe >/dev/null") != 0)
        GTEST_SKIP() << "ffmpeg is not installed";
    Animation a;
    FourFrames(a);
    const test::TempDir dir;
    ASSERT_EQ(WriteAviFile(a, a.head, dir / "x.avi"), AviWriteStatus::Ok);
    const std::string rgb =
        OutputOf("ffmpeg -v error -i " + dir / "x.avi" + " -f rawvideo -pix_fmt rgb24 -");
    std::vector<std::string> pictures(rgb.size() / 36);
    for (std::size_t i = 0; i + 3 <= pictures.size() * 36; i += 3)
        pictures[i / 36] += Letter(uint32_t(uint8_t(rgb[i])) << 16 | uint8_t(rgb[i + 1]) << 8 |
                                   uint8_t(rgb[i + 2]));
    EXPECT_EQ(pictures, kFourPictures);
    EXPECT_EQ(OutputOf("ffprobe -v error -count_frames -show_entries "
                       "stream=nb_read_frames,r_frame_rate -of csv=p=0 " +
                       dir / "x.avi"),
              "15/1,4\n");
}

}  // namespace
}  // namespace anitrope
