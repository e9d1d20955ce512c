// "Resize Image(s)" and the editor's Resize All.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <array>
#include <cstdlib>
#include <tuple>

#include "app/command_ids.h"
#include "app/resize_all_dialog.h"
#include "app_fixtures.h"
#include "model/frame_content.h"
#include "support/gif_builder.h"
#include "support/picture_files.h"

namespace anitrope::test {
namespace {

void Type(QLineEdit* edit, const char* text) {
    edit->selectAll();
    edit->insert(text);  // as typing does: textEdited follows
}

TEST(ResizeAllDialog, AspectRatioLinksTheEditsAndOkChecksTheSize) {
    ScriptedMessageBoxes boxes;
    ResizeRequest request{40, 30, true};
    ResizeAllDialog dialog(request, boxes);
    dialog.show();
    QLineEdit* width = dialog.WidthEdit();
    QLineEdit* height = dialog.HeightEdit();
    // {ratio kept, typed into, text, the other edit, what it shows}: 40:30, rounded.
    const std::vector<std::tuple<bool, QLineEdit*, const char*, QLineEdit*, const char*>> rows{
        {true, width, "10", height, "8"},
        {true, height, "6", width, "8"},
        {false, width, "100", height, "6"}};
    for (const auto& [keep, typed, text, other, shown] : rows) {
        dialog.AspectBox()->setChecked(keep);
        Type(typed, text);
        EXPECT_EQ(other->text().toStdString(), shown) << text;
    }
    for (const char* bad : {"0", "16385", "16384"}) {  // the last: 16384 x 16384 is too many pixels
        Type(width, bad);
        if (bad == std::string("16384")) Type(height, "16384");
        dialog.OkButton()->click();
        EXPECT_TRUE(dialog.isVisible()) << bad;
    }
    ASSERT_EQ(boxes.shown.size(), 3u);
    EXPECT_EQ(boxes.shown[0].title, "Parameter out of Range");
    Type(height, "6");
    dialog.OkButton()->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(std::tuple(request.width, request.height, request.keepTransparency),
              std::tuple(16384, 6, true));
}

TEST(ResizeAllDialog, TransparencyIsOfferedOnlyWithATransparentFrame) {
    ScriptedMessageBoxes boxes;
    ResizeRequest request{40, 30, false};
    ResizeAllDialog dialog(request, boxes);
    EXPECT_FALSE(dialog.TransparencyBox()->isEnabled());
    EXPECT_FALSE(dialog.TransparencyBox()->isChecked());
}

// Colours far apart; an 8x6 screen of 2x2 blocks, so that halving averages equal pixels only.
// Frames 1 and 3 are blocks of colours 0-3; frame 2 an optimized patch at (2,2), 4x2: its left
// half transparent (index 7), its right half colour 5.
const ColorTable kColors{{255, 0, 0}, {0, 255, 0},   {0, 0, 255},   {255, 255, 0},
                         {0, 0, 0},   {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};

std::vector<uint8_t> BlocksGif() {
    GifBuilder gif;
    gif.Header().Screen({.width = 8, .height = 6, .globalColors = kColors});
    const auto blocks = [](int shift) {
        std::vector<uint8_t> pixels;
        for (int i = 0; i < 48; ++i)
            pixels.push_back(static_cast<uint8_t>((i % 8 / 2 + i / 16 + shift) % 4));
        return pixels;
    };
    gif.Image({.width = 8, .height = 6}, blocks(0));
    gif.Control({.disposal = 1, .transparentIndex = 7});
    gif.Image({.left = 2, .top = 2, .width = 4, .height = 2},
              std::vector<uint8_t>{7, 7, 5, 5, 7, 7, 5, 5});
    gif.Image({.width = 8, .height = 6}, blocks(1)).Trailer();
    return gif.Bytes();
}

// Whether the frame's pixel shows colour `index` of kColors, or `rgb`; reduced again, colours
// may lose their lowest bit.
bool Shows(const Gif& g, int32_t x, int32_t y, uint32_t rgb) {
    const uint32_t shown = PaletteRgb(EffectivePalette(g)[g.indexed->Get(x, y)]);
    for (int shift : {0, 8, 16})
        if (std::abs(static_cast<int>(shown >> shift & 0xFF) -
                     static_cast<int>(rgb >> shift & 0xFF)) > 1)
            return false;
    return true;
}
uint32_t Rgb(std::size_t k) {
    return PaletteRgb({kColors[k].red, kColors[k].green, kColors[k].blue});
}

std::array<int64_t, 4> Place(const Gif& g) { return {g.left, g.top, g.width, g.height}; }

class ResizeAllTest : public EditorFixture {
  protected:
    void SetUp() override {
        WriteBytes(dir / "blocks.gif", BlocksGif());
        ASSERT_EQ(editor.OpenFile(dir / "blocks.gif", OpenOrigin::Menu), 0);
    }
    // "Resize Image(s)" answered with 4 x 3; the request it was shown is kept.
    void ResizeToHalf(bool keepTransparency) {
        editor.chooseResize = [this, keepTransparency](ResizeRequest& request) {
            shown = request;
            request.width = 4;
            request.height = 3;
            request.keepTransparency = keepTransparency;
            return true;
        };
        editor.Dispatch(CmdResize);
        editor.Doc().WaitForReductions();
    }
    Gif& Frame(std::size_t k) { return *editor.Data().FrameAt(k); }
    ResizeRequest shown;
};

TEST_F(ResizeAllTest, HalvesEveryFrameWithTheScreenAndUndoBringsBackTheOriginalExactly) {
    std::vector<FrameContent> before;
    for (const Gif* g = editor.Data().head; g; g = g->next) before.push_back(ContentOf(*g));
    ResizeToHalf(false);
    EXPECT_EQ(std::tuple(shown.screenWidth, shown.screenHeight, shown.anyTransparent),
              std::tuple(8, 6, true));
    EXPECT_EQ(editor.State().undoName, "Resize");
    EXPECT_EQ(std::pair(editor.Data().screenWidth, editor.Data().screenHeight), std::pair(4, 3));
    for (std::size_t k : {0u, 2u}) {  // each 2x2 block becomes one pixel of its colour
        ASSERT_EQ(Place(Frame(k)), (std::array<int64_t, 4>{0, 0, 4, 3}));
        for (int32_t i = 0; i < 12; ++i)
            EXPECT_TRUE(Shows(Frame(k), i % 4, i / 4, Rgb((i % 4 + i / 4 + k / 2) % 4)))
                << k << ": " << i;
    }
    // The patch follows the screen: left trunc(2 * 0.5 - 0.5), top round(2 * 0.5), size
    // round(4 * 0.5) x round(2 * 0.5); the box holding transparent pixels stays transparent.
    const Gif& patch = Frame(1);
    EXPECT_EQ(Place(patch), (std::array<int64_t, 4>{0, 1, 2, 1}));
    EXPECT_TRUE(patch.transparent && patch.indexed->Get(0, 0) == patch.transparentIndex);
    EXPECT_TRUE(Shows(patch, 1, 0, Rgb(5)));

    ASSERT_TRUE(editor.Undo());
    EXPECT_EQ(std::pair(editor.Data().screenWidth, editor.Data().screenHeight), std::pair(8, 6));
    for (std::size_t k = 0; k < 3; ++k)  // the very pixels, palette and place of before
        EXPECT_TRUE(ContentOf(Frame(k)) == before[k]) << k;
    EXPECT_FALSE(editor.Modified());
}

TEST_F(ResizeAllTest, MaintainTransparencyMakesWholePicturesFirst) {
    ResizeToHalf(true);
    for (std::size_t k = 0; k < 3; ++k)
        EXPECT_EQ(Place(Frame(k)), (std::array<int64_t, 4>{0, 0, 4, 3})) << k;
    // What showed through the patch's holes is the frame's own now: the first frame's blocks,
    // and the patch's colour on its right half.
    for (int32_t i = 0; i < 12; ++i) {
        const int32_t x = i % 4, y = i / 4;
        EXPECT_TRUE(Shows(Frame(1), x, y,
                          x == 2 && y == 1 ? Rgb(5) : Rgb(static_cast<std::size_t>(x + y) % 4)))
            << i;
    }
}

}  // namespace
}  // namespace anitrope::test
