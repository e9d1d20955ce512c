#include <array>

#include "app/command_ids.h"
#include "app/editor.h"
#include "app/help_topics.h"
#include "app/help_viewer.h"
#include "app/message_boxes.h"

namespace anitrope {
namespace {

struct HelpCommand {
    int command;
    bool (*show)(HelpViewer&);
    const char* failure;
};

constexpr std::array kHelpCommands{
    HelpCommand{CmdHelpContents, [](HelpViewer& h) { return h.ShowContents(); },
                "Can't activate Help Contents"},
    HelpCommand{CmdHelpSearch, [](HelpViewer& h) { return h.ShowSearch(); },
                "Can't activate Help Search"},
    HelpCommand{CmdHelpOnHelp,
                [](HelpViewer& h) { return h.ShowKeyword(std::string(kHowToUseHelp)); },
                "Can't activate Help On Help"},
    HelpCommand{CmdKeyBindings,
                [](HelpViewer& h) { return h.ShowKeyword(std::string(kKeyBindingsHelp)); },
                "Can't activate Help on KeyBindings"},
};

}  // namespace

void Editor::ShowHelp(int command) {
    for (const HelpCommand& row : kHelpCommands) {
        if (row.command != command) continue;
        if (!help_ || !row.show(*help_)) boxes_.Tell(row.failure, "Error", MessageIcon::Warning);
        return;
    }
}

}  // namespace anitrope
