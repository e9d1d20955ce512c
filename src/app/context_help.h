#pragma once

#include <string>
#include <string_view>

#include "app/help_topics.h"

class QWidget;

namespace anitrope {

class HelpViewer;
class MessageBoxes;

// Marks a control with the number its help topic knows it by; a label takes its edit's number.
void SetHelpId(QWidget* control, int controlId);
int HelpId(const QWidget* control);

// Gives a window's marked controls their pop-up help: F1 shows the focused control's topic,
// Shift+F1 then a click shows the clicked one's. The topics are read only when asked for, so
// opening a window never waits for the manual. Without a viewer nothing is shown.
void InstallContextHelp(QWidget* window, HelpForm form, HelpViewer* help);

// Opens the manual at a keyword; when it cannot, says so with `failure` ("Error") and changes
// nothing else.
void OpenHelpPage(HelpViewer* help, std::string_view keyword, MessageBoxes& boxes,
                  const std::string& failure);

// The control's pop-up now, as F1 shows it; false when it has none or the manual lacks it.
bool ShowContextHelp(QWidget* control, HelpForm form, HelpViewer* help);

}  // namespace anitrope
