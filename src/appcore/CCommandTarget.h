#pragma once

#include "appcore/CCommandState.h"

// A window that takes part in command routing: the active child first, then the main frame,
// then the application. Each returns false for commands it does not handle.
class CCommandTarget {
public:
    virtual ~CCommandTarget() = default;
    virtual bool OnCommand(int id) = 0;
    // Fills the state and returns true when this target handles the command.
    virtual bool OnUpdateCommand(int id, CCommandState& state) = 0;
};
