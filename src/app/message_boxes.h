#pragma once

#include <string>
#include <vector>

namespace anitrope {

enum class MessageIcon { None, Information, Warning, Error, Question };

// One message box: its text, title, icon and buttons, left to right. The standard sets are
// below; dialogs with buttons of their own ("&Ok, Resize") name them.
struct MessageRequest {
    std::string text;
    std::string title;
    MessageIcon icon = MessageIcon::None;
    std::vector<std::string> buttons{"OK"};
};

inline const std::vector<std::string> kOkButton{"OK"};
inline const std::vector<std::string> kYesNoButtons{"&Yes", "&No"};
inline const std::vector<std::string> kYesNoCancelButtons{"&Yes", "&No", "Cancel"};

// Shows message boxes and returns which button was pressed (its index in `buttons`), or -1
// when the box was closed without one. The editor uses Qt's; tests answer from a script.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    virtual int Show(const MessageRequest& message) = 0;

    // A box with one OK button.
    void Tell(const std::string& text, const std::string& title,
              MessageIcon icon = MessageIcon::None) {
        Show({text, title, icon, kOkButton});
    }
};

}  // namespace anitrope
