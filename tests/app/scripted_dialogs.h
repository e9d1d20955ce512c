#pragma once

// Dialog interfaces answered from a script, so that tests drive the editor without a person:
// each call takes the next answer and records what it was asked.

#include <deque>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/color_chooser.h"
#include "app/confirmation.h"
#include "app/file_chooser.h"
#include "app/font_chooser.h"
#include "app/image_clipboard.h"
#include "app/help_viewer.h"
#include "app/message_boxes.h"

namespace anitrope::test {

class ScriptedMessageBoxes final : public MessageBoxes {
public:
    // The next box is answered with the button labelled `label`.
    void Answer(const std::string& label) { answers_.push_back(label); }

    int Show(const MessageRequest& message) override {
        shown.push_back(message);
        if (answers_.empty()) return message.buttons.size() == 1 ? 0 : -1;  // OK boxes need no script
        const std::string label = answers_.front();
        answers_.pop_front();
        for (std::size_t i = 0; i < message.buttons.size(); ++i)
            if (message.buttons[i] == label) return static_cast<int>(i);
        throw std::logic_error("scripted answer '" + label + "' is not a button of '" +
                               message.title + "'");
    }

    std::size_t Unanswered() const { return answers_.size(); }
    std::vector<MessageRequest> shown;

private:
    std::deque<std::string> answers_;
};

class ScriptedFileChooser final : public FileChooser {
public:
    // The next dialog returns `path` (with filter `filter`); Cancel() makes it cancel.
    // Save dialogs with extra controls leave them as shown unless `choices` is given.
    void Choose(const std::string& path, int filter = 0,
                std::optional<SaveAnimationChoices> choices = std::nullopt,
                std::optional<int> jpegQuality = std::nullopt) {
        answers_.push_back(FileChoice{path, filter, choices, jpegQuality});
    }
    void Cancel() { answers_.push_back(std::nullopt); }

    std::optional<FileChoice> ChooseToOpen(const FileDialogRequest& request) override { return Next(request); }
    std::optional<FileChoice> ChooseToSave(const FileDialogRequest& request) override { return Next(request); }

    std::vector<FileDialogRequest> asked;

private:
    std::optional<FileChoice> Next(const FileDialogRequest& request) {
        asked.push_back(request);
        if (answers_.empty()) return std::nullopt;
        auto answer = answers_.front();
        answers_.pop_front();
        if (answer && !answer->animationChoices) answer->animationChoices = request.animationChoices;
        if (answer && !answer->jpegQuality) answer->jpegQuality = request.jpegQuality;
        return answer;
    }
    std::deque<std::optional<FileChoice>> answers_;
};

// A clipboard of our own, so that tests neither read nor change the user's.
class MemoryClipboard final : public ImageClipboard {
public:
    bool HasImage() const override { return image.has_value(); }
    std::optional<ClipboardImage> Image() const override { return image; }
    bool SetImage(const ClipboardImage& picture) override {
        image = picture;
        return true;
    }
    std::optional<ClipboardImage> image;
};

// Answers colour choosers: each Choose() takes the next scripted colour; unscripted calls
// cancel.
class ScriptedColorChooser final : public ColorChooser {
public:
    struct Request {
        uint32_t initialRgb;
        std::string title;
    };
    void Answer(uint32_t rgb) { answers_.push_back(rgb); }
    void Cancel() { answers_.push_back(std::nullopt); }

    std::optional<uint32_t> Choose(uint32_t initialRgb, const std::string& title) override {
        asked.push_back({initialRgb, title});
        if (answers_.empty()) return std::nullopt;
        auto answer = answers_.front();
        answers_.pop_front();
        return answer;
    }

    std::vector<Request> asked;

private:
    std::deque<std::optional<uint32_t>> answers_;
};

// Answers font choices from a script: the next answer, or Cancel when none is left.
class ScriptedFontChooser final : public FontChooser {
public:
    void Answer(FontChoice choice) { answers_.push_back(std::move(choice)); }

    std::optional<FontChoice> Choose(const FontChoice& initial) override {
        asked.push_back(initial);
        if (answers_.empty()) return std::nullopt;
        FontChoice answer = answers_.front();
        answers_.pop_front();
        return answer;
    }

    std::vector<FontChoice> asked;

private:
    std::deque<FontChoice> answers_;
};

// Answers the confirmation dialog: each Ask() takes the next scripted answer; unscripted
// questions are cancelled, so a question nobody expected changes nothing.
class ScriptedConfirmations final : public Confirmations {
public:
    void Ok(bool dontShowAgain = false) { answers_.push_back({true, dontShowAgain}); }
    void Cancel(bool dontShowAgain = false) { answers_.push_back({false, dontShowAgain}); }

    ConfirmationAnswer Ask(const std::string& text) override {
        asked.push_back(text);
        if (answers_.empty()) return {};
        const ConfirmationAnswer answer = answers_.front();
        answers_.pop_front();
        return answer;
    }

    std::size_t Unanswered() const { return answers_.size(); }
    std::vector<std::string> asked;

private:
    std::deque<ConfirmationAnswer> answers_;
};

// Records what was asked of the manual; `present` says whether it answers.
class ScriptedHelp final : public HelpViewer {
  public:
    bool ShowContents() override { return Asked("contents"); }
    bool ShowSearch() override { return Asked("search"); }
    bool ShowKeyword(const std::string& keyword) override { return Asked(keyword); }
    std::string PopupText(int topic) override {
        popups.push_back(topic);
        return present ? "topic " + std::to_string(topic) : "";
    }

    bool present = true;
    std::vector<std::string> asked;
    std::vector<int> popups;

  private:
    bool Asked(const std::string& what) {
        asked.push_back(what);
        return present;
    }
};

}  // namespace anitrope::test
