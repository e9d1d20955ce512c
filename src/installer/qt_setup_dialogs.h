#pragma once

#include <QDialog>
#include <QString>

#include "installer/setup_dialogs.h"

class QLabel;
class QProgressBar;
class QSettings;
class QWidget;

namespace anitrope {

class QtSetupDialogs final : public SetupDialogs {
  public:
    void SetParent(QWidget* parent) { parent_ = parent; }
    int Show(const MessageRequest& message) override;
    std::optional<std::string> ChooseFolder(const std::string& title,
                                            const std::string& start) override;

  private:
    QWidget* parent_ = nullptr;
};

// The modeless "Extracting" box.
class QtExtractProgress final : public ExtractProgress {
  public:
    explicit QtExtractProgress(QWidget* parent) : parent_(parent) {}
    // Over the backdrop, so that the questions about files do not hide it.
    void SetParent(QWidget* parent) { parent_ = parent; }
    ~QtExtractProgress() override;
    void Open(int maximum) override;
    void Step(int value, const std::string& file, const std::string& target) override;
    void Close() override;

  private:
    QWidget* parent_;
    QDialog* box_ = nullptr;
    QProgressBar* bar_ = nullptr;
    QLabel* file_ = nullptr;
    QLabel* target_ = nullptr;
};

// The editor's settings store: its file under the user's configuration directory, or the INI
// file that ANITROPE_SETTINGS names (as the editor reads it). Each value is on disk as soon
// as it is written.
class QtSettingsWriter final : public SettingsWriter {
  public:
    QtSettingsWriter();
    ~QtSettingsWriter() override;
    void WriteText(const std::string& name, const std::string& value) override;

  private:
    QSettings* settings_;
};

}  // namespace anitrope
