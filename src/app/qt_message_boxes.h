#pragma once

#include "app/message_boxes.h"

class QWidget;

namespace anitrope {

// Message boxes as QMessageBox, modal to `parent`.
class QtMessageBoxes final : public MessageBoxes {
public:
    explicit QtMessageBoxes(QWidget* parent = nullptr) : parent_(parent) {}
    void SetParent(QWidget* parent) { parent_ = parent; }
    int Show(const MessageRequest& message) override;

private:
    QWidget* parent_;
};

}  // namespace anitrope
