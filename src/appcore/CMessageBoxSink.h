#pragma once

#include <string>

// Shows a modal message box and returns the button pressed (IDOK, IDYES, ...).
// The user interface installs one; tests install a fake.
class CMessageBoxSink {
public:
    virtual ~CMessageBoxSink() = default;
    virtual int Show(void* owner, const std::string& text, const std::string& caption, unsigned style) = 0;
};
