#pragma once

#include <string>

namespace anitrope {

// The manual: its contents, its search, a page found by keyword, and the short pop-up text of
// a numbered topic. Each call says whether the manual could show it; the editor uses Qt Help,
// tests a scripted viewer.
class HelpViewer {
public:
    virtual ~HelpViewer() = default;

    virtual bool ShowContents() = 0;
    virtual bool ShowSearch() = 0;
    virtual bool ShowKeyword(const std::string& keyword) = 0;
    // Rich text for a small pop-up next to a control; empty when the topic cannot be found.
    virtual std::string PopupText(int topic) = 0;
};

}  // namespace anitrope
