// The quality slider below the export dialog follows the file type, both ways.

#include <gtest/gtest.h>

#include <QFileDialog>
#include <QLineEdit>
#include <QSlider>
#include <QSpinBox>

#include "app/jpeg_quality_panel.h"

namespace anitrope::test {
namespace {

class JpegQualityPanelTest : public ::testing::Test {
protected:
    JpegQualityPanelTest() {
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setNameFilters({"Gif Image(*.gif) (*.gif)", "Jpeg(*.jpg) (*.jpg)"});
    }
    QString NameField() { return dialog.findChild<QLineEdit*>("fileNameEdit")->text(); }

    QFileDialog dialog;
};

TEST_F(JpegQualityPanelTest, TheProposedNameDecidesAtFirst) {
    JpegQualityPanel jpeg(dialog, 60, "photo.JPG");
    EXPECT_TRUE(jpeg.QualityEnabled());
    EXPECT_EQ(jpeg.Quality(), 60);
    QFileDialog other;
    other.setOption(QFileDialog::DontUseNativeDialog);
    JpegQualityPanel gif(other, 60, "frame.gif");
    EXPECT_FALSE(gif.QualityEnabled());
}

TEST_F(JpegQualityPanelTest, ChoosingATypeSwapsTheExtensionOfTheTypedName) {
    JpegQualityPanel panel(dialog, 75, "frame.gif");
    dialog.selectFile("frame.gif");
    emit dialog.filterSelected(dialog.nameFilters()[1]);
    EXPECT_TRUE(panel.QualityEnabled());
    EXPECT_EQ(NameField(), "frame.JPG");
    emit dialog.filterSelected(dialog.nameFilters()[0]);
    EXPECT_FALSE(panel.QualityEnabled());
    EXPECT_EQ(NameField(), "frame.GIF");
    // A name without an extension is left as typed.
    dialog.selectFile("plain");
    emit dialog.filterSelected(dialog.nameFilters()[1]);
    EXPECT_EQ(NameField(), "plain");
}

TEST_F(JpegQualityPanelTest, PickingAFileSelectsItsTypeAndOtherExtensionsChangeNothing) {
    JpegQualityPanel panel(dialog, 75, "");
    emit dialog.currentChanged("/pictures/a.jpg");
    EXPECT_TRUE(panel.QualityEnabled());
    EXPECT_EQ(dialog.selectedNameFilter(), dialog.nameFilters()[1]);
    emit dialog.currentChanged("/pictures/b.png");
    EXPECT_TRUE(panel.QualityEnabled());
    emit dialog.currentChanged("/pictures/c.GIF");
    EXPECT_FALSE(panel.QualityEnabled());
    EXPECT_EQ(dialog.selectedNameFilter(), dialog.nameFilters()[0]);
}

TEST_F(JpegQualityPanelTest, TheNumberAndTheSliderAreOneValue) {
    JpegQualityPanel panel(dialog, 75, "x.jpg");
    dialog.findChild<QSpinBox*>("jpegQualityNumber")->setValue(40);
    EXPECT_EQ(panel.Quality(), 40);
    auto* slider = dialog.findChild<QSlider*>("jpegQualitySlider");
    EXPECT_EQ(slider->tickInterval(), 10);
    EXPECT_EQ(slider->maximum(), 100);
    slider->setValue(90);
    EXPECT_EQ(dialog.findChild<QSpinBox*>("jpegQualityNumber")->value(), 90);
}

}  // namespace
}  // namespace anitrope::test
