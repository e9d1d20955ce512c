#pragma once

#include <functional>
#include <map>
#include <set>

namespace anitrope {

// Which commands the menus and the toolbar offer right now. Menu items and toolbar buttons
// are switched separately, as the rules treat them. Commands whose work comes later stay
// grayed whatever the rules say, so the editor never offers what it cannot do.
class CommandStates {
public:
    CommandStates();

    void SetMenu(int command, bool enabled);
    void SetToolbar(int command, bool enabled);
    void SetBoth(int command, bool enabled) {
        SetMenu(command, enabled);
        SetToolbar(command, enabled);
    }
    void SetChecked(int command, bool checked);

    bool MenuEnabled(int command) const;
    bool ToolbarEnabled(int command) const;
    bool Checked(int command) const;
    // What the rules asked for, before the commands that are not there yet are grayed.
    bool MenuRule(int command) const;

    static bool Available(int command);

    // Called after every change; the window mirrors the states into its actions.
    void SetObserver(std::function<void(int command)> observer) { observer_ = std::move(observer); }

private:
    void Changed(int command);
    std::map<int, bool> menu_;
    std::map<int, bool> toolbar_;
    std::set<int> checked_;
    std::function<void(int)> observer_;
};

}  // namespace anitrope
