#include "app/confirmation.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include "app/confirmation_dialog.h"
#include "app/settings.h"
#include "panel_fixtures.h"
#include "scripted_dialogs.h"

namespace anitrope::test {
namespace {

constexpr ConfirmKind kAllKinds[] = {ConfirmKind::Transparent, ConfirmKind::Optimize,
                                     ConfirmKind::UnOptimize, ConfirmKind::GlobalPalette,
                                     ConfirmKind::LocalPalette};

// The five flags, in the order of kAllKinds.
std::vector<uint32_t> Flags(const Settings& s) {
    return {s.transparentWarning, s.optimizeWarning, s.unoptimizeWarning, s.globalPalWarning,
            s.localPalWarning};
}

TEST(Confirm, OkWithTheBoxTickedSilencesOnlyItsOwnWarning) {
    for (std::size_t k = 0; k < std::size(kAllKinds); ++k) {
        Settings settings;
        ScriptedConfirmations confirmations;
        confirmations.Ok(true);
        EXPECT_TRUE(Confirm(kAllKinds[k], settings, confirmations));
        std::vector<uint32_t> expected(5, 0);
        expected[k] = 1;
        EXPECT_EQ(Flags(settings), expected) << "kind " << k;
        EXPECT_EQ(settings.resizeWarning, 0u);
        ASSERT_EQ(confirmations.asked.size(), 1u);
        EXPECT_EQ(confirmations.asked[0], ConfirmationText(kAllKinds[k]));
    }
}

TEST(Confirm, ASilencedWarningProceedsWithoutAsking) {
    for (ConfirmKind kind : kAllKinds) {
        Settings settings;
        ConfirmationFlag(settings, kind) = 1;
        ScriptedConfirmations confirmations;
        EXPECT_TRUE(Confirm(kind, settings, confirmations));
        EXPECT_TRUE(confirmations.asked.empty());
    }
}

TEST(Confirm, OkWithoutTheBoxProceedsAndAsksAgainNextTime) {
    Settings settings;
    ScriptedConfirmations confirmations;
    confirmations.Ok(false);
    confirmations.Cancel(false);
    EXPECT_TRUE(Confirm(ConfirmKind::Optimize, settings, confirmations));
    EXPECT_EQ(settings.optimizeWarning, 0u);
    EXPECT_FALSE(Confirm(ConfirmKind::Optimize, settings, confirmations));
    EXPECT_EQ(confirmations.asked.size(), 2u);
}

TEST(Confirm, CancelNeverSilencesEvenWithTheBoxTicked) {
    Settings settings;
    ScriptedConfirmations confirmations;
    confirmations.Cancel(true);
    EXPECT_FALSE(Confirm(ConfirmKind::UnOptimize, settings, confirmations));
    EXPECT_EQ(settings.unoptimizeWarning, 0u);
}

TEST(Confirm, ReactivatingWarningsAsksAgain) {
    Settings settings;
    settings.globalPalWarning = 1;
    settings.ReactivateWarnings();
    ScriptedConfirmations confirmations;
    EXPECT_FALSE(Confirm(ConfirmKind::GlobalPalette, settings, confirmations));
    EXPECT_EQ(confirmations.asked.size(), 1u);
}

TEST(ConfirmationDialog, ShowsTheMessageWithItsControls) {
    ConfirmationDialog dialog(ConfirmationText(ConfirmKind::GlobalPalette));
    EXPECT_EQ(dialog.windowTitle().toStdString(), "Warning");
    EXPECT_EQ(dialog.MessageLabel()->text().toStdString(),
              ConfirmationText(ConfirmKind::GlobalPalette));
    EXPECT_FALSE(dialog.IconLabel()->pixmap().isNull());
    EXPECT_EQ(dialog.DontShowBox()->text().toStdString(), "Don't &Show this message again");
    EXPECT_FALSE(dialog.DontShowBox()->isChecked());
    EXPECT_EQ(dialog.OkButton()->text().toStdString(), "&Ok");
    EXPECT_EQ(dialog.CancelButton()->text().toStdString(), "&Cancel");
}

TEST(ConfirmationDialog, AnswersHowItWasClosed) {
    {
        ConfirmationDialog dialog("question");
        dialog.show();
        dialog.DontShowBox()->click();
        dialog.OkButton()->click();
        const ConfirmationAnswer answer = dialog.Answer();
        EXPECT_TRUE(answer.proceed);
        EXPECT_TRUE(answer.dontShowAgain);
    }
    {
        ConfirmationDialog dialog("question");
        dialog.show();
        dialog.CancelButton()->click();
        EXPECT_FALSE(dialog.Answer().proceed);
        EXPECT_FALSE(dialog.Answer().dontShowAgain);
    }
    {
        // Escape closes it without a button: Cancel.
        ConfirmationDialog dialog("question");
        dialog.show();
        dialog.DontShowBox()->click();
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(&dialog, &escape);
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_FALSE(dialog.Answer().proceed);
    }
}

TEST(QtConfirmations, AsksThroughTheModalDialog) {
    Settings settings;
    QtConfirmations confirmations;
    WhenModal<ConfirmationDialog>([](ConfirmationDialog& dialog) {
        dialog.DontShowBox()->click();
        dialog.CancelButton()->click();
    });
    EXPECT_FALSE(Confirm(ConfirmKind::Optimize, settings, confirmations));
    EXPECT_EQ(settings.optimizeWarning, 0u);

    WhenModal<ConfirmationDialog>([](ConfirmationDialog& dialog) {
        EXPECT_EQ(dialog.MessageLabel()->text().toStdString(),
                  ConfirmationText(ConfirmKind::Transparent));
        dialog.DontShowBox()->click();
        dialog.OkButton()->click();
    });
    EXPECT_TRUE(Confirm(ConfirmKind::Transparent, settings, confirmations));
    EXPECT_EQ(settings.transparentWarning, 1u);
}

}  // namespace
}  // namespace anitrope::test
