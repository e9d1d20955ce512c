#include "app/qt_message_boxes.h"

#include <QMessageBox>
#include <QPushButton>

namespace anitrope {
namespace {

QMessageBox::Icon QtIcon(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Information: return QMessageBox::Information;
        case MessageIcon::Warning: return QMessageBox::Warning;
        case MessageIcon::Error: return QMessageBox::Critical;
        case MessageIcon::Question: return QMessageBox::Question;
        case MessageIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

int QtMessageBoxes::Show(const MessageRequest& message) {
    QMessageBox box(QtIcon(message.icon), QString::fromStdString(message.title),
                    QString::fromStdString(message.text), QMessageBox::NoButton, parent_);
    std::vector<QPushButton*> buttons;
    for (const std::string& label : message.buttons)
        buttons.push_back(box.addButton(QString::fromStdString(label), QMessageBox::ActionRole));
    if (!buttons.empty()) box.setDefaultButton(buttons.front());
    box.exec();
    for (std::size_t i = 0; i < buttons.size(); ++i)
        if (box.clickedButton() == buttons[i]) return static_cast<int>(i);
    return -1;
}

}  // namespace anitrope
