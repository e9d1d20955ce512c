#pragma once

#include <QDialog>
#include <string>

#include "app/confirmation.h"

class QCheckBox;
class QLabel;
class QPushButton;

namespace anitrope {

// The confirmation dialog (dialog 102, "Warning"): the message beside a warning icon, the
// check box "Don't &Show this message again" and "&Ok" / "&Cancel". Closing it any other way
// is Cancel.
class ConfirmationDialog final : public QDialog {
    Q_OBJECT

  public:
    explicit ConfirmationDialog(const std::string& text, QWidget* parent = nullptr);

    // How the dialog was closed; "proceed" only after "&Ok".
    ConfirmationAnswer Answer() const;

    QLabel* MessageLabel() const { return message_; }
    QLabel* IconLabel() const { return icon_; }
    QCheckBox* DontShowBox() const { return dontShow_; }
    QPushButton* OkButton() const { return ok_; }
    QPushButton* CancelButton() const { return cancel_; }

  private:
    QLabel* icon_;
    QLabel* message_;
    QCheckBox* dontShow_;
    QPushButton* ok_;
    QPushButton* cancel_;
};

// Confirmations asked with ConfirmationDialog, modal to `parent`.
class QtConfirmations final : public Confirmations {
  public:
    explicit QtConfirmations(QWidget* parent = nullptr) : parent_(parent) {}
    void SetParent(QWidget* parent) { parent_ = parent; }
    ConfirmationAnswer Ask(const std::string& text) override;

  private:
    QWidget* parent_;
};

}  // namespace anitrope
