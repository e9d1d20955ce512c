#pragma once

#include <memory>
#include <string>

#include "app/help_viewer.h"

class QHelpEngine;
class QWidget;

namespace anitrope {

class HelpWindow;

// The manual as a Qt compressed help file, shown in our help window. The viewer keeps its own
// collection (the register of the manual and its search index) in `collection`, made on
// first use, so the manual itself may lie where the user cannot write. Nothing is read before
// the first request; a missing or damaged manual fails every request.
class QtHelpViewer final : public HelpViewer {
  public:
    QtHelpViewer(std::string manual, std::string collection, QWidget* parent = nullptr);
    ~QtHelpViewer() override;

    bool ShowContents() override;
    bool ShowSearch() override;
    bool ShowKeyword(const std::string& keyword) override;
    std::string PopupText(int topic) override;

    void SetParent(QWidget* parent) { parent_ = parent; }

    // The window once a request has shown it; null before.
    HelpWindow* Window() const { return window_.get(); }
    QHelpEngine* Engine() const { return engine_.get(); }

  private:
    bool Ready();
    HelpWindow& OpenWindow();

    std::string manual_;
    std::string collection_;
    QWidget* parent_;
    std::unique_ptr<QHelpEngine> engine_;
    std::unique_ptr<HelpWindow> window_;
};

// Where the manual is: ANITROPE_HELP when set, else "anitrope.qch" beside the program or in
// the installation's share/anitrope folder; empty when none of these exists.
std::string FindManual(const std::string& programDirectory);

// The viewer's own collection file in the user's cache.
std::string DefaultHelpCollection();

}  // namespace anitrope
