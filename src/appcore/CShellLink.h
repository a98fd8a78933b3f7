#pragma once

#include <string>

class CCommandActions;

// What a child window may ask of the main window, without depending on it.
class CShellLink {
public:
    virtual ~CShellLink() = default;

    // Runs a command once the current event has been handled.
    virtual void PostCommand(int id) = 0;
    virtual void SetStatusText(const std::string& text, int pane) = 0;
    // Applies every command's rule to its actions, e.g. before a pop-up menu opens.
    virtual void UpdateCommandStates() = 0;
    // The actions that menus, toolbars and pop-up menus share.
    virtual CCommandActions& Commands() = 0;
};
