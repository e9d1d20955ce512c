#pragma once

// The three-page "Installation Wizard": welcome, target directory, optional components. It
// edits the plan in place; Finish accepts, Cancel (after the question) rejects.

#include <QWizard>

#include "installer/install_plan.h"
#include "installer/setup_dialogs.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace anitrope {

class SetupWizard final : public QWizard {
    Q_OBJECT

  public:
    enum PageId { GeneralPage, PathPage, CustomizePage };

    SetupWizard(InstallPlan& plan, SetupDialogs& dialogs, QWidget* parent = nullptr);

    // Asks the cancel question; only OK closes the wizard.
    void reject() override;

    QLineEdit* PathEdit() const { return pathEdit_; }
    QPushButton* BrowseButton() const { return browse_; }
    // The two space lines of the page that shows them now.
    QString AvailableLine() const;
    QString RequiredLine() const;
    QCheckBox* HelpBox() const { return helpBox_; }
    QCheckBox* ExamplesBox() const { return examplesBox_; }
    QCheckBox* JavaBox() const { return javaBox_; }

  private:
    friend class PathWizardPage;
    void Browse();
    void RefreshSpace();
    bool MayLeavePathPage();

    InstallPlan& plan_;
    SetupDialogs& dialogs_;
    QLineEdit* pathEdit_ = nullptr;
    QPushButton* browse_ = nullptr;
    QLabel* available_[2] = {nullptr, nullptr};
    QLabel* required_[2] = {nullptr, nullptr};
    QCheckBox* helpBox_ = nullptr;
    QCheckBox* examplesBox_ = nullptr;
    QCheckBox* javaBox_ = nullptr;
};

}  // namespace anitrope
