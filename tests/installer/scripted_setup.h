#pragma once

// The setup's dialogs answered from a script, a progress box that records, and a temporary
// directory that is removed afterwards.

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <deque>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "installer/setup_dialogs.h"

namespace anitrope::test {

class ScriptedSetupDialogs final : public SetupDialogs {
  public:
    // The next question is answered with the button labelled `label`; boxes with one button
    // need no answer.
    void Answer(const std::string& label) { answers_.push_back(label); }
    void ChooseFolderAnswer(std::optional<std::string> folder) { folders_.push_back(folder); }

    int Show(const MessageRequest& message) override {
        shown.push_back(message);
        if (message.buttons.size() == 1) return 0;
        if (answers_.empty()) throw std::logic_error("unexpected question: " + message.title);
        const std::string label = answers_.front();
        answers_.pop_front();
        for (std::size_t i = 0; i < message.buttons.size(); ++i)
            if (message.buttons[i] == label) return static_cast<int>(i);
        throw std::logic_error("'" + label + "' is not a button of '" + message.title + "'");
    }
    std::optional<std::string> ChooseFolder(const std::string& title, const std::string&) override {
        folderTitles.push_back(title);
        if (folders_.empty()) return std::nullopt;
        auto folder = folders_.front();
        folders_.pop_front();
        return folder;
    }

    std::vector<std::string> Titles() const {
        std::vector<std::string> titles;
        for (const MessageRequest& m : shown) titles.push_back(m.title);
        return titles;
    }

    std::vector<MessageRequest> shown;
    std::vector<std::string> folderTitles;

  private:
    std::deque<std::string> answers_;
    std::deque<std::optional<std::string>> folders_;
};

class RecordingProgress final : public ExtractProgress {
  public:
    void Open(int max) override {
        maximum = max;
        open = true;
    }
    void Step(int value, const std::string&, const std::string&) override {
        values.push_back(value);
    }
    void Close() override { open = false; }

    int maximum = -1;
    bool open = false;
    std::vector<int> values;
};

class RecordingSettings final : public SettingsWriter {
  public:
    void WriteText(const std::string& name, const std::string& value) override {
        values[name] = value;
    }
    std::map<std::string, std::string> values;
};

}  // namespace anitrope::test
