#include "app/qt_color_chooser.h"
#include "app/qt_font_chooser.h"

#include <gtest/gtest.h>

#include <QColorDialog>
#include <QFontDialog>
#include <QWidget>

#include "panel_fixtures.h"

namespace anitrope::test {
namespace {

TEST(QtColorChooser, OpensOnTheColourWithGreyCustomColoursAndReturnsTheChoice) {
    QWidget owner;
    QPalette palette = owner.palette();
    palette.setColor(QPalette::Window, QColor(0x6A, 0x20, 0x30));
    owner.setPalette(palette);
    QtColorChooser chooser(&owner);
    WhenModal<QColorDialog>([](QColorDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle().toStdString(), "Color");
        EXPECT_EQ(dialog.currentColor().rgb() & 0xFFFFFF, 0x123456u);
        for (int i = 0; i < 16; ++i)
            EXPECT_EQ(QColorDialog::customColor(i).rgb() & 0xFFFFFF, 0x6A6A6Au) << i;
        dialog.setCurrentColor(QColor(0xAB, 0xCD, 0xEF));
        dialog.accept();
    });
    EXPECT_EQ(chooser.Choose(0xFF123456, "Color"), std::optional<uint32_t>(0xABCDEF));

    WhenModal<QColorDialog>([](QColorDialog& dialog) { dialog.reject(); });
    EXPECT_EQ(chooser.Choose(0x123456, "Color"), std::nullopt);
}

TEST(QtColorChooser, CustomColoursComeFromTheCallerAndGoBackChangedEvenOnCancel) {
    QtColorChooser chooser;
    std::array<uint32_t, 16> custom{};
    custom.fill(0xFFFFFF);
    custom[3] = 0x102030;
    WhenModal<QColorDialog>([](QColorDialog& dialog) {
        EXPECT_EQ(QColorDialog::customColor(3).rgb() & 0xFFFFFF, 0x102030u);
        EXPECT_EQ(QColorDialog::customColor(4).rgb() & 0xFFFFFF, 0xFFFFFFu);
        QColorDialog::setCustomColor(5, QColor(0x40, 0x50, 0x60));
        dialog.reject();
    });
    EXPECT_EQ(chooser.ChooseWithCustom(0x000000, "Color", custom), std::nullopt);
    EXPECT_EQ(custom[5], 0x405060u);
    EXPECT_EQ(custom[3], 0x102030u);
}

// The font chooser starts on the banner's font and colour and gives back the chosen face with
// its height in pixels; the colour it did not change stays.
TEST(QtFontChooser, StartsOnTheFontAndReturnsTheChoiceWithTheColour) {
    QtFontChooser chooser;
    FontChoice initial;
    initial.font.faceName = "DejaVu Sans";
    initial.color = 0x336699;
    WhenModal<QDialog>([](QDialog& dialog) {
        auto* fonts = dialog.findChild<QFontDialog*>();
        ASSERT_TRUE(fonts);
        EXPECT_EQ(fonts->currentFont().family(), "DejaVu Sans");
        QFont serif("DejaVu Serif");
        serif.setPointSize(30);
        serif.setItalic(true);
        fonts->setCurrentFont(serif);
        dialog.accept();
    });
    const std::optional<FontChoice> chosen = chooser.Choose(initial);
    ASSERT_TRUE(chosen);
    EXPECT_EQ(chosen->font.faceName, "DejaVu Serif");
    EXPECT_TRUE(chosen->font.italic);
    EXPECT_EQ(chosen->font.height, -40) << "30 points at 96 dots per inch, as an em height";
    EXPECT_EQ(chosen->color, 0x336699u);

    WhenModal<QDialog>([](QDialog& dialog) { dialog.reject(); });
    EXPECT_EQ(chooser.Choose(initial), std::nullopt);
}

}  // namespace
}  // namespace anitrope::test
