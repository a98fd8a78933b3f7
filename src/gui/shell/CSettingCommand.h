#pragma once

class CChildFrame;
class CMainFrame;
class CSensorSlot;

// The main frame's setting command: opens the setting dialog on the profile, on the tab of the
// current screen, and lets that screen redraw once the user confirmed.
class CSettingCommand {
public:
    // The dialog is modal to the main frame but does not block the caller; a second request
    // while it is open is ignored (screens post the command when they are configured).
    static void Run(CMainFrame& frame);
    // The same for a sensor beside the first and its screen: its own profile and link.
    static void RunFor(CMainFrame& frame, CSensorSlot& slot, CChildFrame* screen);
};
