#pragma once

#include "app/file_chooser.h"

class QWidget;

namespace anitrope {

class HelpViewer;

// File dialogs as QFileDialog.
class QtFileChooser final : public FileChooser {
public:
    explicit QtFileChooser(QWidget* parent = nullptr) : parent_(parent) {}
    void SetParent(QWidget* parent) { parent_ = parent; }
    // Pop-up help for the controls the save dialogs add.
    void SetHelp(HelpViewer* help) { help_ = help; }
    std::optional<FileChoice> ChooseToOpen(const FileDialogRequest& request) override;
    std::optional<FileChoice> ChooseToSave(const FileDialogRequest& request) override;

private:
    std::optional<FileChoice> Run(const FileDialogRequest& request, bool save);
    QWidget* parent_;
    HelpViewer* help_ = nullptr;
};

}  // namespace anitrope
