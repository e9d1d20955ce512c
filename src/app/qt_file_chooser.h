#pragma once

#include "app/file_chooser.h"

class QWidget;

namespace anitrope {

// File dialogs as QFileDialog.
class QtFileChooser final : public FileChooser {
public:
    explicit QtFileChooser(QWidget* parent = nullptr) : parent_(parent) {}
    void SetParent(QWidget* parent) { parent_ = parent; }
    std::optional<FileChoice> ChooseToOpen(const FileDialogSpec& spec) override;
    std::optional<FileChoice> ChooseToSave(const FileDialogSpec& spec) override;

private:
    std::optional<FileChoice> Run(const FileDialogSpec& spec, bool save);
    QWidget* parent_;
};

}  // namespace anitrope
