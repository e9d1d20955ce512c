#pragma once

// Every message box, folder chooser and progress display of the installation goes through
// these, so that tests drive the whole setup from a script.

#include <optional>
#include <string>
#include <vector>

namespace anitrope {

enum class MessageIcon { None, Information, Warning, Error, Question };

struct MessageRequest {
    std::string text;
    std::string title;
    MessageIcon icon = MessageIcon::None;
    std::vector<std::string> buttons{"OK"};
};

inline const std::vector<std::string> kOkButton{"OK"};
inline const std::vector<std::string> kOkCancelButtons{"OK", "Cancel"};
inline const std::vector<std::string> kYesNoButtons{"&Yes", "&No"};

class SetupDialogs {
  public:
    virtual ~SetupDialogs() = default;
    // The index of the pressed button in `buttons`, or -1 when the box was closed without one.
    virtual int Show(const MessageRequest& message) = 0;
    // A directory, or nullopt when the user cancelled.
    virtual std::optional<std::string> ChooseFolder(const std::string& title,
                                                    const std::string& start) = 0;

    void Tell(const std::string& text, const std::string& title,
              MessageIcon icon = MessageIcon::None) {
        Show({text, title, icon, kOkButton});
    }
    bool AskYes(const std::string& text, const std::string& title) {
        return Show({text, title, MessageIcon::Question, kYesNoButtons}) == 0;
    }
};

// The "Extracting" box while files are expanded.
class ExtractProgress {
  public:
    virtual ~ExtractProgress() = default;
    virtual void Open(int maximum) = 0;
    virtual void Step(int value, const std::string& file, const std::string& target) = 0;
    virtual void Close() = 0;
};

// Where the installation leaves "Path" and "InstallationPath" for the editor.
class SettingsWriter {
  public:
    virtual ~SettingsWriter() = default;
    virtual void WriteText(const std::string& name, const std::string& value) = 0;
};

}  // namespace anitrope
