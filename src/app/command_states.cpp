#include "app/command_states.h"

#include <array>

#include "app/command_ids.h"

namespace anitrope {
namespace {

// Commands whose work is not in the editor yet.
constexpr std::array kLater{
    CmdExportAll,    CmdInsertEffect,     CmdInsertTransition,   CmdInsertTransitionKey, CmdResize,
    CmdHelpContents, CmdHelpSearch,       CmdHelpOnHelp,         CmdBannerText,      CmdKeyBindings,        CmdComment,      CmdEffectButton,
};

}  // namespace

CommandStates::CommandStates() = default;

bool CommandStates::Available(int command) {
    for (int later : kLater)
        if (later == command) return false;
    return true;
}

void CommandStates::SetMenu(int command, bool enabled) {
    menu_[command] = enabled;
    Changed(command);
}

void CommandStates::SetToolbar(int command, bool enabled) {
    toolbar_[command] = enabled;
    Changed(command);
}

void CommandStates::SetChecked(int command, bool checked) {
    if (checked) checked_.insert(command); else checked_.erase(command);
    Changed(command);
}

bool CommandStates::MenuRule(int command) const {
    auto found = menu_.find(command);
    return found == menu_.end() || found->second;  // enabled unless a rule grayed it
}

bool CommandStates::MenuEnabled(int command) const { return Available(command) && MenuRule(command); }

bool CommandStates::ToolbarEnabled(int command) const {
    auto found = toolbar_.find(command);
    return Available(command) && (found == toolbar_.end() || found->second);
}

bool CommandStates::Checked(int command) const { return checked_.count(command) > 0; }

void CommandStates::Changed(int command) {
    if (observer_) observer_(command);
}

}  // namespace anitrope
