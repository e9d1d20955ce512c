#pragma once

// The setup's main window: the full-screen backdrop, the wizard on the first paint, then the
// installation and the final dialog; the window closes when all is done.

#include <QDialog>
#include <QWidget>

#include "installer/install_plan.h"
#include "installer/setup_dialogs.h"

class QCheckBox;

namespace anitrope {

// The backdrop's brush for the 10 x 10 cell at (x, y) of a width x height screen: 0 (blue 255)
// at the top left, towards 255 (black) at the bottom right.
int BackdropShade(int x, int y, int width, int height);

// Paints the backdrop over `rect` of a width x height screen, with the shadowed title.
void PaintBackdrop(QPainter& painter, const QRect& rect, int width, int height,
                   const QString& title);

class FinalDialog final : public QDialog {
  public:
    explicit FinalDialog(QWidget* parent);
    bool StartNow() const;
    QCheckBox* StartBox() const { return start_; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    QCheckBox* start_;
};

class SetupWindow final : public QWidget {
  public:
    SetupWindow(InstallPlan& plan, SetupDialogs& dialogs, ExtractProgress& progress,
                SettingsWriter& settings);
    int ExitCode() const { return exitCode_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void RunWizard();

    InstallPlan& plan_;
    SetupDialogs& dialogs_;
    ExtractProgress& progress_;
    SettingsWriter& settings_;
    bool wizardStarted_ = false;
    int exitCode_ = 0;
};

}  // namespace anitrope
