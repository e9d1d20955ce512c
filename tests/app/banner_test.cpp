// The banner dialog, the editor's banner command, and text through Qt's font engine.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>

#include "../banner/fake_text_drawer.h"
#include "app/banner_dialog.h"
#include "app/command_ids.h"
#include "app_fixtures.h"
#include "banner/banner_generator.h"
#include "banner/qt_text_drawer.h"
#include "model/animation.h"
#include "model/gif.h"

namespace anitrope::test {
namespace {

struct DialogWorld {
    explicit DialogWorld(std::optional<std::array<int32_t, 2>> screen = std::nullopt)
        : dialog({boxes, colors, fonts, drawer, screen}, settings, request) {
        request.warnIfEmpty = true;
        dialog.show();
    }
    void Type(BannerDialog::Edit edit, const char* text) {
        QLineEdit* line = dialog.NumberEdit(edit);
        line->selectAll();
        line->insert(text);  // as typing does: textEdited follows
    }

    ScriptedMessageBoxes boxes;
    ScriptedColorChooser colors;
    ScriptedFontChooser fonts;
    FakeTextDrawer drawer{6};
    BannerSettings settings;
    BannerRequest request;
    BannerDialog dialog;
};

TEST(BannerDialog, OkAsksAboutEmptyTextThenChecksRangesInOrder) {
    DialogWorld world;
    world.boxes.Answer("&No");
    world.dialog.OkButton()->click();
    ASSERT_EQ(world.boxes.shown.size(), 1u);
    EXPECT_EQ(world.boxes.shown[0].text, "There is no Banner Text.\nContinue anyway ?");
    EXPECT_EQ(world.boxes.shown[0].title, "Banner Text");
    EXPECT_TRUE(world.dialog.isVisible()) << "No keeps the dialog open";
    EXPECT_FALSE(world.request.accepted);

    // Two values out of range: only the first in the dialog's order is reported and corrected.
    world.Type(BannerDialog::ImageHeight, "0");
    world.Type(BannerDialog::ImageWidth, "3000");
    EXPECT_EQ(world.settings.imageWidth, 3000) << "edits go into the settings at once";
    world.boxes.Answer("&Yes");
    world.dialog.OkButton()->click();
    ASSERT_EQ(world.boxes.shown.size(), 3u);
    EXPECT_EQ(world.boxes.shown[2].text, "The 'Image Width' value must be in the range from 1 to 2048");
    EXPECT_EQ(world.boxes.shown[2].title, "Information");
    EXPECT_EQ(world.dialog.NumberEdit(BannerDialog::ImageWidth)->text(), "2048");
    EXPECT_EQ(world.settings.imageWidth, 2048);
    EXPECT_TRUE(world.dialog.isVisible());

    world.boxes.Answer("&Yes");
    world.dialog.OkButton()->click();
    EXPECT_EQ(world.dialog.NumberEdit(BannerDialog::ImageHeight)->text(), "1");

    // In range but more frames than memory allows: said while they can still be changed.
    world.Type(BannerDialog::ImageHeight, "2048");
    world.Type(BannerDialog::FrameCount, "1000");
    world.boxes.Answer("&Yes");
    world.dialog.OkButton()->click();
    EXPECT_TRUE(world.dialog.isVisible());
    EXPECT_NE(world.boxes.shown.back().text.find("1000 frames of 2048 x 2048"), std::string::npos);

    world.Type(BannerDialog::FrameCount, "3");
    world.boxes.Answer("&Yes");
    world.dialog.OkButton()->click();
    EXPECT_FALSE(world.dialog.isVisible());
    EXPECT_TRUE(world.request.accepted);
    EXPECT_EQ(world.request.imageWidth, 2048);
    EXPECT_EQ(world.request.frameCount, 3);
    EXPECT_EQ(world.boxes.Unanswered(), 0u);
}

TEST(BannerDialog, EditsRepaintAfterTheyPauseAndCancelRestoresEverything) {
    DialogWorld world(std::array<int32_t, 2>{320, 50});
    const BannerSettings opening = world.settings;
    EXPECT_EQ(opening.imageWidth, 320) << "the animation's screen is the banner's size";
    EXPECT_EQ(opening.imageHeight, 50);

    world.dialog.TextEdit()->insert("Hi");
    EXPECT_EQ(world.settings.text, "Hi");
    EXPECT_TRUE(world.dialog.RepaintPending());
    const int paints = world.dialog.PreviewPaints();
    world.dialog.EditsSettled();
    EXPECT_FALSE(world.dialog.RepaintPending());
    EXPECT_EQ(world.dialog.PreviewPaints(), paints + 1);
    world.Type(BannerDialog::FrameCount, "25");
    EXPECT_FALSE(world.dialog.RepaintPending()) << "the frame count shows in no frame";
    world.dialog.IntensityBar()->setValue(60);
    EXPECT_TRUE(world.dialog.RepaintPending());

    world.dialog.ShadowBox()->click();
    EXPECT_EQ(world.settings.shadowEnabled, 0);
    EXPECT_FALSE(world.dialog.NumberEdit(BannerDialog::ShadowThickness)->isEnabled());
    EXPECT_FALSE(world.dialog.IntensityBar()->isEnabled());
    EXPECT_TRUE(world.dialog.NumberEdit(BannerDialog::TextYOffset)->isEnabled());

    world.colors.Answer(0x123456);
    world.dialog.BackgroundButton()->click();
    EXPECT_EQ(world.settings.backgroundColor, 0x123456u);
    FontDescription chosen;
    chosen.height = -900;
    chosen.faceName = "Serif";
    world.fonts.Answer({chosen, 0xFF0000});
    world.dialog.FontButton()->click();
    ASSERT_EQ(world.fonts.asked.size(), 1u);
    EXPECT_EQ(world.fonts.asked[0].color, 0u) << "the chooser starts from the text colour";
    EXPECT_EQ(world.settings.font.height, -400) << "cut to the largest height";
    EXPECT_EQ(world.settings.font.faceName, "Serif");
    EXPECT_EQ(world.settings.textColor, 0xFF0000u);

    world.dialog.CancelButton()->click();
    EXPECT_FALSE(world.request.accepted);
    EXPECT_EQ(world.settings.text, opening.text);
    EXPECT_EQ(world.settings.frameCount, opening.frameCount);
    EXPECT_EQ(world.settings.shadowEnabled, opening.shadowEnabled);
    EXPECT_EQ(world.settings.shadowIntensity, opening.shadowIntensity);
    EXPECT_EQ(world.settings.backgroundColor, opening.backgroundColor);
    EXPECT_EQ(world.settings.textColor, opening.textColor);
    EXPECT_EQ(world.settings.font, opening.font);
}

// With 6-pixel characters of the font's height: the text centred in the banner's rectangle,
// itself centred in the window; the shadow's rings no thicker than 20.
TEST(BannerPreview, CentresTheTextInTheBannerRectangle) {
    struct Case {
        const char* text;
        int32_t border;
        int32_t thickness;
        int32_t left, top;  // the text's expected top left corner
        int32_t outermostDx;  // furthest ring point right of the shadow's centre
    };
    // Window 100 x 60, banner 40 x 20 at (30, 20); font height 10.
    // "Hi": 12 wide -> x = 30 + (40 - 12) / 2 = 44, y = 20 + (20 - 10) / 2 = 25.
    // Empty: "Banner", 36 wide -> x = 30 + 2 = 32. Border: rectangle (32, 22, 36 x 16) ->
    // x = 32 + 12 = 44, y = 22 + 3 = 25, the edge's outer grey at (30, 20).
    const Case cases[] = {
        {"Hi", 0, 8, 44, 25, 8},
        {"", 0, 8, 32, 25, 8},
        {"Hi", 1, 8, 44, 25, 8},
        {"Hi", 0, 26, 44, 25, 20},
    };
    for (const Case& c : cases) {
        BannerSettings settings;
        settings.text = c.text;
        settings.font.height = 10;
        settings.imageWidth = 40;
        settings.imageHeight = 20;
        settings.drawBorder = c.border;
        settings.shadowThickness = c.thickness;
        settings.shadowXOffset = 0;
        settings.shadowYOffset = 0;
        settings.textColor = 0x0000FF;
        FakeTextDrawer drawer(6);
        const auto bitmap = PaintBannerPreview(settings, drawer, 100, 60);
        ASSERT_TRUE(bitmap);
        ASSERT_FALSE(drawer.calls.empty());
        const auto& text = drawer.calls.back();
        EXPECT_EQ(text.text, c.text[0] ? c.text : "Banner") << c.text;
        EXPECT_EQ(text.x, c.left) << c.text << " border " << c.border;
        EXPECT_EQ(text.y, c.top) << c.text << " border " << c.border;
        int32_t furthest = 0;
        for (const auto& call : drawer.calls) furthest = std::max(furthest, call.x - text.x);
        EXPECT_EQ(furthest, c.outermostDx) << "thickness " << c.thickness;
        EXPECT_EQ(bitmap->Get(0, 0), 0xC0C0C0u) << "light grey around the banner";
        if (c.border) {
            EXPECT_EQ(bitmap->Get(30, 20), 0x808080u) << "the edge around it";
        }
        EXPECT_EQ(bitmap->Get(text.x, text.y), 0x0000FFu);
    }
}

class BannerCommand : public EditorFixture {
protected:
    BannerCommand() {
        editor.chooseBanner = [this](BannerRequest& request) {
            ++dialogs;
            if (!shown) return false;
            CopySettings(editor.Banner(), request);
            request.accepted = accept;
            return true;
        };
        editor.Banner().text = "Hello";
        editor.Banner().frameCount = 3;
        editor.Banner().imageWidth = 30;
        editor.Banner().imageHeight = 12;
        editor.Banner().font.height = 10;
    }
    int dialogs = 0;
    bool shown = true;
    bool accept = true;
};

TEST_F(BannerCommand, IntoTheEmptyEditorTheBannerIsTheAnimationAndUndoEmptiesItAgain) {
    ASSERT_TRUE(editor.MenuEnabled(CmdBannerText));
    editor.Dispatch(CmdBannerText);
    ASSERT_TRUE(editor.HasAnimation());
    EXPECT_EQ(Labels(), (std::vector<std::string>{"Banner 1", "Gif: Banner 1", "Gif: Banner 2",
                                                  "Gif: Banner 3"}));
    EXPECT_EQ(editor.Data().screenWidth, 30);
    EXPECT_EQ(editor.Data().screenHeight, 12);
    EXPECT_EQ(editor.CurrentGif(), editor.Data().head);
    EXPECT_TRUE(editor.Modified());
    EXPECT_TRUE(boxes.shown.empty());
    ASSERT_TRUE(editor.Undo());
    EXPECT_FALSE(editor.HasAnimation());
}

TEST_F(BannerCommand, AfterTheCurrentFrameAsAGroupGrowingTheScreen) {
    files.Choose(dir / "two.gif");
    WriteTestGif(dir / "two.gif", 2, 20, 16);
    editor.Dispatch(CmdOpen);
    editor.Select(OutlineItem::Frame(editor.Data().head));
    editor.Dispatch(CmdBannerText);
    EXPECT_EQ(Labels(), (std::vector<std::string>{"Gif :two.gif", "Banner 1", "Gif: Banner 1",
                                                  "Gif: Banner 2", "Gif: Banner 3",
                                                  "Gif :two.gif"}));
    EXPECT_EQ(editor.Data().screenWidth, 30) << "grown to the banner";
    EXPECT_EQ(editor.Data().screenHeight, 16) << "already high enough";
    EXPECT_EQ(editor.CurrentGif()->label, "Gif: Banner 1");

    // The second banner's frames go after the first banner's frame that is selected.
    editor.Dispatch(CmdBannerText);
    const std::vector<std::string> labels = Labels();
    EXPECT_EQ(labels.at(3), "Banner 2") << "inside the first banner, after its selected frame";
    EXPECT_EQ(editor.Data().FrameCount(), 8u);

    // Cancel, the dialog failing and a refused request change nothing.
    const std::size_t versions = editor.Data().version;
    accept = false;
    editor.Dispatch(CmdBannerText);
    EXPECT_TRUE(boxes.shown.empty());
    shown = false;
    editor.Dispatch(CmdBannerText);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, ".. creating banner text");
    EXPECT_EQ(boxes.shown[0].title, "Error ..");
    shown = accept = true;
    editor.Banner().imageWidth = editor.Banner().imageHeight = 2048;
    editor.Banner().frameCount = 1000;
    editor.Dispatch(CmdBannerText);
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_NE(boxes.shown[1].text.find("1000 frames"), std::string::npos);
    EXPECT_EQ(editor.Data().version, versions);
    EXPECT_EQ(editor.Data().FrameCount(), 8u);
    EXPECT_EQ(dialogs, 5);
}

TEST(QtTextDrawer, TheMiddleFrameShowsTheText) {
    ASSERT_TRUE(QtTextDrawer::Available());
    Animation animation;
    BannerRequest request;
    request.accepted = true;
    request.text = "Hello";
    request.frameCount = 5;
    request.imageWidth = 120;
    request.imageHeight = 40;
    request.font.height = 24;
    request.textColor = 0xFF0000;
    QtTextDrawer drawer;
    Gif* head = GenerateBanner(animation, request, drawer);
    ASSERT_TRUE(head);
    const TrueColorBitmap& middle = *head->next->next->trueColor;
    int red = 0;
    for (int32_t y = 0; y < middle.Height(); ++y)
        for (int32_t x = 0; x < middle.Width(); ++x) red += middle.Get(x, y) == 0xFF0000u;
    EXPECT_GT(red, 20) << "glyph pixels in the text colour";
}

}  // namespace
}  // namespace anitrope::test
