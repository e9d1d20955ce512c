#include "app/options_dialog.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <algorithm>

#include "scripted_dialogs.h"
#include "settings_text.h"

namespace anitrope::test {
namespace {

std::string Text(const QAbstractButton* button) { return button->text().toStdString(); }
std::string Text(const QLabel* label) { return label->text().toStdString(); }
std::string Text(const QLineEdit* edit) { return edit->text().toStdString(); }

// The dialog open as the shell opens it, over settings the test owns.
struct OpenOptions {
    explicit OpenOptions(const Settings& start) : settings(start), dialog(settings, messages) {
        dialog.show();
    }
    Settings settings;
    ScriptedMessageBoxes messages;
    OptionsDialog dialog;
};

TEST(OptionsDialog, ControlsCarryTheirTexts) {
    OpenOptions open(Settings{});
    const OptionsDialog& d = open.dialog;
    EXPECT_EQ(d.objectName().toStdString(), "IDD_OPTIONDLG");
    EXPECT_EQ(d.windowTitle().toStdString(), "Options");
    EXPECT_EQ(Text(d.ConfirmDeleteBox()), "Confirm image &removal from list");
    EXPECT_EQ(Text(d.MultiInstanceBox()), "Allow multiple program &Instances");
    EXPECT_EQ(Text(d.KeepTrueColorBox()), "Keep Truecolor data for Jpeg export");
    EXPECT_EQ(Text(d.PreviewActiveBox()), "Preview Active");
    EXPECT_EQ(Text(d.CurrentFramesButton()), "Use current Number of Frames");
    EXPECT_EQ(Text(d.FixedFramesButton()), "Always use ");
    EXPECT_EQ(Text(d.ReactivateWarningsButton()), "Reactivate all &Warnings");
    EXPECT_EQ(Text(d.OkButton()), "&Ok");
    EXPECT_EQ(Text(d.CancelButton()), "&Cancel");
    EXPECT_EQ(Text(d.HelpButton()), "&Help");
    EXPECT_EQ(Text(d.PopularityButton()), "Popularity");
    EXPECT_EQ(Text(d.HighQualityButton()), "High Quality");
    EXPECT_EQ(Text(d.DitherBox()), "Dither");

    std::vector<std::string> labels;
    for (const QLabel* label : d.findChildren<QLabel*>()) labels.push_back(Text(label));
    for (const char* expected : {"Frames", "Size", "Quality"})
        EXPECT_NE(std::find(labels.begin(), labels.end(), expected), labels.end()) << expected;
    std::vector<std::string> groups;
    for (const QGroupBox* group : d.findChildren<QGroupBox*>())
        groups.push_back(group->title().toStdString());
    for (const char* expected : {"Jpeg", "Gif Optimization", "Color Reduction"})
        EXPECT_NE(std::find(groups.begin(), groups.end(), expected), groups.end()) << expected;

    const QSlider* jpeg = d.JpegSlider();
    EXPECT_EQ(jpeg->minimum(), 0);
    EXPECT_EQ(jpeg->maximum(), 100);
    EXPECT_EQ(jpeg->tickInterval(), 10);
    const QSlider* gif = d.GifSlider();
    EXPECT_EQ(gif->minimum(), 0);
    EXPECT_EQ(gif->maximum(), 5);
    EXPECT_EQ(gif->tickInterval(), 1);
}

TEST(OptionsDialog, OpensShowingTheStoredValues) {
    OpenOptions open(UnusualSettings());
    const OptionsDialog& d = open.dialog;
    EXPECT_FALSE(d.ConfirmDeleteBox()->isChecked());
    EXPECT_TRUE(d.MultiInstanceBox()->isChecked());
    EXPECT_FALSE(d.KeepTrueColorBox()->isChecked());
    EXPECT_FALSE(d.PreviewActiveBox()->isChecked());
    EXPECT_TRUE(d.FixedFramesButton()->isChecked());
    EXPECT_FALSE(d.CurrentFramesButton()->isChecked());
    EXPECT_EQ(Text(d.FramesEdit()), "24");
    EXPECT_EQ(d.JpegSlider()->value(), 33);
    EXPECT_EQ(Text(d.JpegNumberLabel()), "33");
    EXPECT_EQ(d.GifSlider()->value(), 4);
    EXPECT_EQ(Text(d.GifLevelLabel()), "Small Size");
    EXPECT_TRUE(d.HighQualityButton()->isChecked());
    EXPECT_TRUE(d.DitherBox()->isEnabled() && d.DitherBox()->isChecked());
}

TEST(OptionsDialog, OpensShowingTheDefaults) {
    OpenOptions open(Settings{});
    const OptionsDialog& d = open.dialog;
    EXPECT_TRUE(d.ConfirmDeleteBox()->isChecked());
    EXPECT_FALSE(d.MultiInstanceBox()->isChecked());
    EXPECT_TRUE(d.KeepTrueColorBox()->isChecked());
    EXPECT_TRUE(d.PreviewActiveBox()->isChecked());
    EXPECT_TRUE(d.CurrentFramesButton()->isChecked());
    EXPECT_FALSE(d.FixedFramesButton()->isChecked());
    EXPECT_EQ(Text(d.FramesEdit()), "10");
    EXPECT_EQ(d.JpegSlider()->value(), 75);
    EXPECT_EQ(Text(d.JpegNumberLabel()), "75");
    EXPECT_EQ(d.GifSlider()->value(), 3);
    EXPECT_EQ(Text(d.GifLevelLabel()), "Medium");
    EXPECT_TRUE(d.PopularityButton()->isChecked());
    EXPECT_FALSE(d.DitherBox()->isEnabled() || d.DitherBox()->isChecked());
}

TEST(OptionsDialog, EachGifLevelOpensAtItsPosition) {
    const uint32_t masks[] = {0xFFFFFF, 0xFCFCFC, 0xF8F8F8, 0xF0F0F0, 0xE0E0E0, 0xC0C0C0};
    const char* names[] = {"Lossless", "Highest Quality", "High Quality", "Medium", "Small Size",
                           "Smallest Size"};
    for (int position = 0; position <= 5; ++position) {
        Settings settings;
        settings.gifCompression = masks[position];
        OpenOptions open(settings);
        EXPECT_EQ(open.dialog.GifSlider()->value(), position);
        EXPECT_EQ(Text(open.dialog.GifLevelLabel()), names[position]);
    }
}

TEST(OptionsDialog, AnUnknownGifValueOpensAtHighestQuality) {
    Settings settings;
    settings.gifCompression = 0x123456;
    OpenOptions open(settings);
    EXPECT_EQ(open.dialog.GifSlider()->value(), 1);
    EXPECT_EQ(Text(open.dialog.GifLevelLabel()), "Highest Quality");

    // Left where it opened, the slider has nothing new to store.
    open.dialog.OkButton()->click();
    EXPECT_EQ(open.settings.gifCompression, 0x123456u);
}

TEST(OptionsDialog, AnUnknownGifValueIsReplacedOnceTheSliderMoves) {
    Settings settings;
    settings.gifCompression = 0x123456;
    OpenOptions open(settings);
    open.dialog.GifSlider()->setValue(2);
    open.dialog.GifSlider()->setValue(1);
    EXPECT_EQ(Text(open.dialog.GifLevelLabel()), "Highest Quality");
    open.dialog.OkButton()->click();
    EXPECT_EQ(open.settings.gifCompression, 0xFCFCFCu);
}

TEST(OptionsDialog, MovingASliderUpdatesItsNumberOrName) {
    OpenOptions open(Settings{});
    OptionsDialog& d = open.dialog;
    d.JpegSlider()->setValue(0);
    EXPECT_EQ(Text(d.JpegNumberLabel()), "0");
    d.JpegSlider()->setValue(100);
    EXPECT_EQ(Text(d.JpegNumberLabel()), "100");
    d.GifSlider()->setValue(5);
    EXPECT_EQ(Text(d.GifLevelLabel()), "Smallest Size");
    d.GifSlider()->setValue(2);
    EXPECT_EQ(Text(d.GifLevelLabel()), "High Quality");
    EXPECT_EQ(SettingsText(open.settings), SettingsText(Settings{})) << "stored before Ok";
}

TEST(OptionsDialog, AJpegValueBeyondTheSliderShowsAtItsEnd) {
    Settings settings;
    settings.jpegCompression = 4000000000u;
    OpenOptions open(settings);
    EXPECT_EQ(open.dialog.JpegSlider()->value(), 100);
    EXPECT_EQ(Text(open.dialog.JpegNumberLabel()), "100");
    open.dialog.OkButton()->click();
    EXPECT_EQ(open.settings.jpegCompression, 100u);
}

TEST(OptionsDialog, OkWithAFixedFrameNumberBelowOneRefusesAndStaysOpen) {
    for (const char* frames : {"0", "", "-3", "abc", "00", "99999999999"}) {
        SCOPED_TRACE(frames);
        Settings start;
        start.previewFrames = 12;
        OpenOptions open(start);
        OptionsDialog& d = open.dialog;
        d.FixedFramesButton()->click();
        d.FramesEdit()->setText(frames);
        d.MultiInstanceBox()->setChecked(true);
        d.OkButton()->click();

        ASSERT_EQ(open.messages.shown.size(), 1u);
        const MessageRequest& shown = open.messages.shown[0];
        EXPECT_EQ(shown.text, "Number of Frames must be larger than Zero");
        EXPECT_EQ(shown.title, "Invalid Option Parameter");
        EXPECT_EQ(shown.icon, MessageIcon::Warning);
        EXPECT_EQ(shown.buttons, kOkButton);
        EXPECT_TRUE(d.isVisible());
        EXPECT_NE(d.result(), QDialog::Accepted);
        EXPECT_EQ(d.focusWidget(), d.FramesEdit());
        EXPECT_EQ(d.FramesEdit()->selectedText().toStdString(), frames);
        EXPECT_EQ(SettingsText(open.settings), SettingsText(start)) << "nothing stored";

        // Corrected, the same dialog closes and stores.
        d.FramesEdit()->setText("5");
        d.OkButton()->click();
        EXPECT_EQ(open.messages.shown.size(), 1u);
        EXPECT_FALSE(d.isVisible());
        EXPECT_EQ(d.result(), QDialog::Accepted);
        EXPECT_EQ(open.settings.fixedPreviewFrames, 1u);
        EXPECT_EQ(open.settings.previewFrames, 5u);
        EXPECT_EQ(open.settings.multiInst, 1u);
    }
}

TEST(OptionsDialog, TheFrameNumberIsNotCheckedWhileTheCurrentNumberIsUsed) {
    Settings start;
    start.fixedPreviewFrames = 1;
    start.previewFrames = 12;
    OpenOptions open(start);
    OptionsDialog& d = open.dialog;
    d.CurrentFramesButton()->click();
    d.FramesEdit()->setText("0");
    d.OkButton()->click();
    EXPECT_TRUE(open.messages.shown.empty());
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(open.settings.fixedPreviewFrames, 0u);
    EXPECT_EQ(open.settings.previewFrames, 12u) << "the last usable number is kept";
}

TEST(OptionsDialog, OkStoresEveryControl) {
    OpenOptions open(Settings{});
    OptionsDialog& d = open.dialog;
    d.ConfirmDeleteBox()->click();
    d.MultiInstanceBox()->click();
    d.KeepTrueColorBox()->click();
    d.PreviewActiveBox()->click();
    d.FixedFramesButton()->click();
    d.FramesEdit()->setText("24");
    d.JpegSlider()->setValue(33);
    d.GifSlider()->setValue(4);
    EXPECT_FALSE(d.DitherBox()->isEnabled()) << "Popularity does not dither";
    d.HighQualityButton()->click();
    d.DitherBox()->click();
    d.OkButton()->click();

    EXPECT_TRUE(open.messages.shown.empty());
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(d.result(), QDialog::Accepted);
    Settings expected;
    expected.confirmDelete = 0;
    expected.multiInst = 1;
    expected.keepTrueColorInfo = 0;
    expected.preview = 0;
    expected.fixedPreviewFrames = 1;
    expected.previewFrames = 24;
    expected.jpegCompression = 33;
    expected.gifCompression = 0xE0E0E0;
    expected.colorReduction = 1;
    expected.dither = 1;
    EXPECT_EQ(SettingsText(open.settings), SettingsText(expected));
}

TEST(OptionsDialog, OkUnchangedStoresWhatWasThere) {
    OpenOptions open(UnusualSettings());
    open.dialog.OkButton()->click();
    EXPECT_EQ(open.dialog.result(), QDialog::Accepted);
    EXPECT_EQ(SettingsText(open.settings), SettingsText(UnusualSettings()));
}

TEST(OptionsDialog, ReactivatedWarningsStayReactivatedAfterCancel) {
    const Settings start = UnusualSettings();  // every warning flag 1
    OpenOptions open(start);
    OptionsDialog& d = open.dialog;
    d.ConfirmDeleteBox()->click();
    d.CurrentFramesButton()->click();
    d.FramesEdit()->setText("3");
    d.JpegSlider()->setValue(90);
    d.GifSlider()->setValue(1);
    d.ReactivateWarningsButton()->click();
    EXPECT_TRUE(d.isVisible()) << "the button does not close the dialog";
    d.CancelButton()->click();

    EXPECT_TRUE(open.messages.shown.empty());
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(d.result(), QDialog::Rejected);
    Settings expected = start;
    expected.transparentWarning = 0;
    expected.optimizeWarning = 0;
    expected.unoptimizeWarning = 0;
    expected.resizeWarning = 0;
    expected.localPalWarning = 0;
    expected.globalPalWarning = 0;
    EXPECT_EQ(SettingsText(open.settings), SettingsText(expected));
}

TEST(OptionsDialog, CancelStoresNothing) {
    const Settings start = UnusualSettings();
    OpenOptions open(start);
    OptionsDialog& d = open.dialog;
    d.MultiInstanceBox()->click();
    d.FramesEdit()->setText("0");
    d.JpegSlider()->setValue(1);
    d.PopularityButton()->click();
    d.DitherBox()->click();
    d.CancelButton()->click();
    EXPECT_TRUE(open.messages.shown.empty()) << "Cancel does not check the frame number";
    EXPECT_EQ(d.result(), QDialog::Rejected);
    EXPECT_EQ(SettingsText(open.settings), SettingsText(start));
}

TEST(OptionsDialog, HelpReportsThatItCannotBeActivated) {
    OpenOptions open(Settings{});
    open.dialog.HelpButton()->click();
    ASSERT_EQ(open.messages.shown.size(), 1u);
    EXPECT_EQ(open.messages.shown[0].text, "Can't activate Help on OptionsDialog");
    EXPECT_EQ(open.messages.shown[0].title, "Error");
    EXPECT_EQ(open.messages.shown[0].icon, MessageIcon::Warning);
    EXPECT_TRUE(open.dialog.isVisible());
    EXPECT_EQ(SettingsText(open.settings), SettingsText(Settings{}));
}

}  // namespace
}  // namespace anitrope::test
