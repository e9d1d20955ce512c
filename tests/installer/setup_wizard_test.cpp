#include "installer/setup_wizard.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

#include "installer/scripted_setup.h"
#include "installer/setup_messages.h"
#include "installer/setup_window.h"

namespace anitrope {
namespace {

using test::ScriptedSetupDialogs;

class Wizard : public ::testing::Test {
  protected:
    Wizard() {
        plan.targetDirectory = "/tmp/anitrope-wizard-test/Anitrope";
        wizard = std::make_unique<SetupWizard>(plan, dialogs);
        wizard->show();
    }
    void ToPathPage() {
        wizard->next();
        ASSERT_EQ(wizard->currentId(), SetupWizard::PathPage);
    }

    InstallPlan plan;
    ScriptedSetupDialogs dialogs;
    std::unique_ptr<SetupWizard> wizard;
};

TEST_F(Wizard, ThePathPageRefusesUnusableTargetsWithAWarning) {
    ToPathPage();
    const struct {
        const char* target;
        std::string message;
    } cases[] = {
        {"Anitrope", std::string("Drive specification incorrect\n eg.: ")},
        {"tmp/x", std::string("Drive specification incorrect\n eg.: ")},
        {"", setup_text::kDriveNotValid},
    };
    for (const auto& c : cases) {
        dialogs.shown.clear();
        wizard->PathEdit()->setText(c.target);
        wizard->next();
        EXPECT_EQ(wizard->currentId(), SetupWizard::PathPage) << c.target;
        ASSERT_EQ(dialogs.shown.size(), 1u) << c.target;
        EXPECT_EQ(dialogs.shown[0].title, setup_text::kAttention);
        EXPECT_TRUE(dialogs.shown[0].text.starts_with(c.message)) << dialogs.shown[0].text;
    }
    dialogs.shown.clear();
    wizard->PathEdit()->setText("/tmp/anitrope-wizard-test/Anitrope");
    wizard->next();
    EXPECT_EQ(wizard->currentId(), SetupWizard::CustomizePage);
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(plan.targetDirectory, "/tmp/anitrope-wizard-test/Anitrope");
}

TEST_F(Wizard, BrowseAppendsTheInstallFolder) {
    ToPathPage();
    dialogs.ChooseFolderAnswer("/tmp");
    dialogs.ChooseFolderAnswer("/");
    dialogs.ChooseFolderAnswer(std::nullopt);
    wizard->BrowseButton()->click();
    EXPECT_EQ(wizard->PathEdit()->text().toStdString(), "/tmp/Anitrope");
    EXPECT_EQ(plan.targetDirectory, "/tmp/Anitrope");
    wizard->BrowseButton()->click();
    EXPECT_EQ(plan.targetDirectory, "/Anitrope");
    wizard->BrowseButton()->click();  // cancelled: unchanged
    EXPECT_EQ(plan.targetDirectory, "/Anitrope");
    EXPECT_EQ(dialogs.folderTitles.front(), setup_text::kBrowseTitle);
}

TEST_F(Wizard, TheSpaceLinesFollowThePathAndTheComponents) {
    ToPathPage();
    EXPECT_TRUE(wizard->AvailableLine().startsWith("Available Space on Drive /"))
        << wizard->AvailableLine().toStdString();
    EXPECT_EQ(wizard->RequiredLine(), "Required Space for Installation : 2950 KB");
    wizard->PathEdit()->setText("");
    EXPECT_EQ(wizard->AvailableLine(), setup_text::kNoDriveSize);
    wizard->PathEdit()->setText("/tmp/anitrope-wizard-test/Anitrope");
    wizard->next();
    wizard->HelpBox()->setChecked(false);
    wizard->ExamplesBox()->setChecked(false);
    wizard->JavaBox()->setChecked(false);
    EXPECT_EQ(wizard->RequiredLine(), "Required Space for Installation : 667 KB");
    EXPECT_FALSE(plan.help || plan.examples || plan.java);
    EXPECT_EQ(wizard->buttonText(QWizard::FinishButton), "Finish");
}

TEST_F(Wizard, CancelAsksFirstAndOnlyOkLeaves) {
    dialogs.Answer("Cancel");
    wizard->reject();
    EXPECT_TRUE(wizard->isVisible());
    dialogs.Answer("OK");
    wizard->reject();
    EXPECT_FALSE(wizard->isVisible());
    EXPECT_EQ(wizard->result(), QDialog::Rejected);
    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(dialogs.shown[0].title, setup_text::kCancelTitle);
    EXPECT_EQ(dialogs.shown[0].text, setup_text::kCancelText);
}

TEST(SetupFinalDialog, OffersToStartTheEditor) {
    FinalDialog dialog(nullptr);
    EXPECT_TRUE(dialog.StartNow());
    dialog.StartBox()->setChecked(false);
    EXPECT_FALSE(dialog.StartNow());
}

}  // namespace
}  // namespace anitrope
