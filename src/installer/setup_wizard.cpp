#include "installer/setup_wizard.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWizardPage>
#include <cstdlib>

#include "installer/file_io.h"
#include "installer/setup_messages.h"

namespace anitrope {

namespace text = setup_text;

// Page 2 refuses Next while the target is unusable.
class PathWizardPage final : public QWizardPage {
  public:
    explicit PathWizardPage(SetupWizard* wizard) : wizard_(wizard) {}
    bool validatePage() override { return wizard_->MayLeavePathPage(); }

  private:
    SetupWizard* wizard_;
};

namespace {

QString Kb(uint64_t bytes) { return QString::number(bytes / 1024); }

// The two space lines, as page 2 and page 3 both show them.
void AddSpaceLines(QVBoxLayout* layout, QLabel*& available, QLabel*& required) {
    available = new QLabel;
    required = new QLabel;
    layout->addWidget(available);
    layout->addWidget(required);
}

std::string Home() {
    const char* home = std::getenv("HOME");
    return home ? home : "";
}

}  // namespace

SetupWizard::SetupWizard(InstallPlan& plan, SetupDialogs& dialogs, QWidget* parent)
    : QWizard(parent), plan_(plan), dialogs_(dialogs) {
    setWindowTitle(text::kWizardTitle);
    setWizardStyle(QWizard::ClassicStyle);
    setOption(QWizard::NoBackButtonOnStartPage, false);
    setButtonText(QWizard::FinishButton, text::kFinish);

    auto* general = new QWizardPage;
    general->setTitle(text::kPageGeneral);
    auto* generalLayout = new QVBoxLayout(general);
    auto* welcome = new QLabel(
        "This program installs Anitrope, the editor for animated GIF files, with its help and "
        "its examples.\n\n"
        "On the next page you choose the directory Anitrope goes to, on the page after it the "
        "parts to install. Nothing is written before you press Finish.\n\n"
        "Press Next to go on, or Cancel to leave without installing.");
    welcome->setWordWrap(true);
    generalLayout->addWidget(welcome);
    generalLayout->addStretch();
    setPage(GeneralPage, general);

    auto* path = new PathWizardPage(this);
    path->setTitle(text::kPagePath);
    auto* pathLayout = new QVBoxLayout(path);
    pathLayout->addWidget(new QLabel("Anitrope will be installed into this directory:"));
    auto* row = new QHBoxLayout;
    pathEdit_ = new QLineEdit(QString::fromStdString(plan_.targetDirectory));
    browse_ = new QPushButton("&Browse...");
    row->addWidget(pathEdit_);
    row->addWidget(browse_);
    pathLayout->addLayout(row);
    pathLayout->addSpacing(12);
    AddSpaceLines(pathLayout, available_[0], required_[0]);
    pathLayout->addStretch();
    setPage(PathPage, path);
    connect(pathEdit_, &QLineEdit::textChanged, this, [this](const QString& value) {
        plan_.targetDirectory = value.toStdString();
        RefreshSpace();
    });
    connect(browse_, &QPushButton::clicked, this, &SetupWizard::Browse);

    auto* customize = new QWizardPage;
    customize->setTitle(text::kPageCustomize);
    customize->setFinalPage(true);
    auto* customizeLayout = new QVBoxLayout(customize);
    auto* grid = new QGridLayout;
    helpBox_ = new QCheckBox(text::kHelpBox);
    examplesBox_ = new QCheckBox(text::kExamplesBox);
    javaBox_ = new QCheckBox(text::kJavaBox);
    const std::pair<QCheckBox*, uint64_t> boxes[] = {
        {helpBox_, plan_.helpSize}, {examplesBox_, plan_.examplesSize}, {javaBox_, plan_.javaSize}};
    int line = 0;
    for (const auto& [box, size] : boxes) {
        grid->addWidget(box, line, 0);
        grid->addWidget(new QLabel(QString("%1 KB").arg(Kb(size))), line, 1, Qt::AlignRight);
        ++line;
    }
    helpBox_->setChecked(plan_.help);
    examplesBox_->setChecked(plan_.examples);
    javaBox_->setChecked(plan_.java);
    customizeLayout->addLayout(grid);
    customizeLayout->addSpacing(12);
    AddSpaceLines(customizeLayout, available_[1], required_[1]);
    customizeLayout->addStretch();
    setPage(CustomizePage, customize);
    connect(helpBox_, &QCheckBox::toggled, this, [this](bool on) {
        plan_.help = on;
        RefreshSpace();
    });
    connect(examplesBox_, &QCheckBox::toggled, this, [this](bool on) {
        plan_.examples = on;
        RefreshSpace();
    });
    connect(javaBox_, &QCheckBox::toggled, this, [this](bool on) {
        plan_.java = on;
        RefreshSpace();
    });

    RefreshSpace();
    resize(520, 380);
}

void SetupWizard::reject() {
    const int answer = dialogs_.Show(
        {text::kCancelText, text::kCancelTitle, MessageIcon::Question, kOkCancelButtons});
    if (answer == 0) QWizard::reject();
}

QString SetupWizard::AvailableLine() const {
    return available_[currentId() == CustomizePage ? 1 : 0]->text();
}

QString SetupWizard::RequiredLine() const {
    return required_[currentId() == CustomizePage ? 1 : 0]->text();
}

void SetupWizard::Browse() {
    // Start where the target is, or at its nearest existing parent.
    std::string start = plan_.targetDirectory;
    while (start.starts_with('/') && !QFileInfo(QString::fromStdString(start)).isDir())
        start = DirectoryOf(start);
    const std::optional<std::string> folder =
        dialogs_.ChooseFolder(text::kBrowseTitle, start.starts_with('/') ? start : Home());
    if (!folder) return;
    pathEdit_->setText(QString::fromStdString(WithInstallFolder(*folder)));
    RefreshSpace();
}

void SetupWizard::RefreshSpace() {
    const std::optional<FreeSpace> space = QueryFreeSpace(plan_.targetDirectory);
    const QString available =
        space ? QString(text::kAvailableSpace)
                    .arg(QString::fromStdString(space->mountPoint), Kb(space->bytes))
              : QString(text::kNoDriveSize);
    const QString required = QString(text::kRequiredSpace).arg(Kb(plan_.RequiredBytes()));
    for (int page = 0; page < 2; ++page) {
        available_[page]->setText(available);
        required_[page]->setText(required);
    }
}

bool SetupWizard::MayLeavePathPage() {
    plan_.targetDirectory = pathEdit_->text().toStdString();
    const TargetProblem problem = CheckTarget(
        plan_.targetDirectory, QueryFreeSpace(plan_.targetDirectory), plan_.RequiredBytes());
    switch (problem) {
        case TargetProblem::None:
            return true;
        case TargetProblem::NotValid:
            dialogs_.Tell(text::kDriveNotValid, text::kAttention, MessageIcon::Warning);
            break;
        case TargetProblem::NotEnoughSpace:
            dialogs_.Tell(text::kNotEnoughSpace, text::kAttention, MessageIcon::Warning);
            break;
        case TargetProblem::BadPath:
            dialogs_.Tell(QString(text::kBadPath)
                              .arg(QString::fromStdString(DefaultTargetDirectory(Home())))
                              .toStdString(),
                          text::kAttention, MessageIcon::Warning);
            break;
    }
    return false;
}

}  // namespace anitrope
