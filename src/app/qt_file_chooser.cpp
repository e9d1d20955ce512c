#include "app/qt_file_chooser.h"

#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSlider>
#include <QStringList>
#include <optional>

#include "app/context_help.h"
#include "app/jpeg_quality_panel.h"
#include "app/settings.h"
#include "gif/comparison_mask.h"

namespace anitrope {
namespace {

// Qt wants "Name (patterns)"; our names already end in their own "(*.gif)".
QString FilterText(const FileFilter& filter) {
    QStringList patterns;
    for (const std::string& p : filter.patterns) patterns << QString::fromStdString(p);
    return QString::fromStdString(filter.name) + " (" + patterns.join(' ') + ")";
}

// The animation save dialog's controls, below the file list.
class AnimationChoicesPanel {
public:
    AnimationChoicesPanel(QFileDialog& dialog, const SaveAnimationChoices& choices) {
        auto* box = new QGroupBox(&dialog);
        auto* row = new QHBoxLayout(box);
        optimized_ = new QCheckBox("Save &Opimized", box);
        display_ = new QCheckBox("&Display Optimization Results", box);
        slider_ = new QSlider(Qt::Horizontal, box);
        name_ = new QLabel(box);
        slider_->setRange(kLosslessLevel, static_cast<int>(kComparisonMasks.size()));
        slider_->setTickInterval(1);
        slider_->setTickPosition(QSlider::TicksBelow);
        row->addWidget(optimized_);
        row->addWidget(display_);
        row->addWidget(new QLabel("Size", box));
        row->addWidget(slider_);
        row->addWidget(new QLabel("Quality", box));
        row->addWidget(name_);
        optimized_->setChecked(choices.saveOptimized);
        display_->setChecked(choices.displayResults);
        // Position 1 is the finest mask and sits at the "Quality" end.
        slider_->setInvertedAppearance(true);
        slider_->setValue(choices.level);
        auto update = [this] {
            const bool on = optimized_->isChecked();
            display_->setEnabled(on);
            slider_->setEnabled(on);
            name_->setText(GifCompressionLevelName(slider_->value()));
        };
        QObject::connect(optimized_, &QCheckBox::toggled, box, update);
        QObject::connect(slider_, &QSlider::valueChanged, box, update);
        update();
        SetHelpId(optimized_, 1000);
        SetHelpId(slider_, 1007);
        SetHelpId(name_, 1008);
        SetHelpId(display_, 1016);
        if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout()))
            grid->addWidget(box, grid->rowCount(), 0, 1, grid->columnCount());
    }
    SaveAnimationChoices Result() const {
        return {optimized_->isChecked(), display_->isChecked(), slider_->value()};
    }

private:
    QCheckBox* optimized_;
    QCheckBox* display_;
    QSlider* slider_;
    QLabel* name_;
};

}  // namespace

std::optional<FileChoice> QtFileChooser::ChooseToOpen(const FileDialogRequest& request) {
    return Run(request, false);
}

std::optional<FileChoice> QtFileChooser::ChooseToSave(const FileDialogRequest& request) {
    return Run(request, true);
}

std::optional<FileChoice> QtFileChooser::Run(const FileDialogRequest& request, bool save) {
    QFileDialog dialog(parent_, QString::fromStdString(request.title));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::ReadOnly, false);
    QStringList filters;
    for (const FileFilter& filter : request.filters) filters << FilterText(filter);
    dialog.setNameFilters(filters);
    if (request.selectedFilter >= 0 && request.selectedFilter < filters.size())
        dialog.selectNameFilter(filters[request.selectedFilter]);
    if (!request.directory.empty()) dialog.setDirectory(QString::fromStdString(request.directory));
    if (!request.proposedName.empty()) dialog.selectFile(QString::fromStdString(request.proposedName));
    std::optional<AnimationChoicesPanel> panel;
    if (request.animationChoices) {
        dialog.setOption(QFileDialog::DontUseNativeDialog);  // to carry our controls
        panel.emplace(dialog, *request.animationChoices);
    }
    JpegQualityPanel* quality = nullptr;
    if (request.jpegQuality) {
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        quality = new JpegQualityPanel(dialog, *request.jpegQuality,
                                       QString::fromStdString(request.proposedName));
    }
    if (panel) InstallContextHelp(&dialog, HelpForm::SaveAnimation, help_);
    if (quality) InstallContextHelp(&dialog, HelpForm::ExportImage, help_);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    FileChoice choice{QDir::toNativeSeparators(dialog.selectedFiles().front()).toStdString(),
                      static_cast<int>(filters.indexOf(dialog.selectedNameFilter())), std::nullopt,
                      std::nullopt};
    if (panel) choice.animationChoices = panel->Result();
    if (quality) choice.jpegQuality = quality->Quality();
    return choice;
}

}  // namespace anitrope
