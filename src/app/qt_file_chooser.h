#pragma once

#include "app/file_chooser.h"

class QWidget;

namespace anitrope {

// File dialogs as QFileDialog.
class QtFileChooser final : public FileChooser {
public:
    explicit QtFileChooser(QWidget* parent = nullptr) : parent_(parent) {}
    void SetParent(QWidget* parent) { parent_ = parent; }
    std::optional<FileChoice> ChooseToOpen(const FileDialogRequest& request) override;
    std::optional<FileChoice> ChooseToSave(const FileDialogRequest& request) override;

private:
    std::optional<FileChoice> Run(const FileDialogRequest& request, bool save);
    QWidget* parent_;
};

}  // namespace anitrope
