#include "app/qt_file_chooser.h"

#include <QDir>
#include <QFileDialog>
#include <QStringList>

namespace anitrope {
namespace {

// Qt wants "Name (patterns)"; our names already end in their own "(*.gif)".
QString FilterText(const FileFilter& filter) {
    QStringList patterns;
    for (const std::string& p : filter.patterns) patterns << QString::fromStdString(p);
    return QString::fromStdString(filter.name) + " (" + patterns.join(' ') + ")";
}

}  // namespace

std::optional<FileChoice> QtFileChooser::ChooseToOpen(const FileDialogSpec& spec) {
    return Run(spec, false);
}

std::optional<FileChoice> QtFileChooser::ChooseToSave(const FileDialogSpec& spec) {
    return Run(spec, true);
}

std::optional<FileChoice> QtFileChooser::Run(const FileDialogSpec& spec, bool save) {
    QFileDialog dialog(parent_, QString::fromStdString(spec.title));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::ReadOnly, false);
    QStringList filters;
    for (const FileFilter& filter : spec.filters) filters << FilterText(filter);
    dialog.setNameFilters(filters);
    if (spec.selectedFilter >= 0 && spec.selectedFilter < filters.size())
        dialog.selectNameFilter(filters[spec.selectedFilter]);
    if (!spec.directory.empty()) dialog.setDirectory(QString::fromStdString(spec.directory));
    if (!spec.proposedName.empty()) dialog.selectFile(QString::fromStdString(spec.proposedName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return FileChoice{QDir::toNativeSeparators(dialog.selectedFiles().front()).toStdString(),
                      static_cast<int>(filters.indexOf(dialog.selectedNameFilter()))};
}

}  // namespace anitrope
