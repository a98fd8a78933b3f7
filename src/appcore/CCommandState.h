#pragma once

// What an update rule decides for one command: enabled, and whether it carries a check mark.
// A command that no window handles stays disabled.
struct CCommandState {
    bool enabled = false;
    bool checkable = false;
    bool checked = false;

    void Enable(bool on) { enabled = on; }
    void SetCheck(bool on) {
        checkable = true;
        checked = on;
    }
};
