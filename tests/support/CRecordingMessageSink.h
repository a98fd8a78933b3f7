#pragma once

#include "appcore/CMessageBoxSink.h"
#include "appcore/CMessageBoxes.h"

#include <functional>
#include <string>
#include <vector>

// Records message boxes instead of showing them and answers each with `answer`, after
// `whileShown` ran (a real box keeps the window's events flowing while it waits).
class CRecordingMessageSink : public CMessageBoxSink {
public:
    struct Shown {
        void* owner;
        std::string text;
        std::string caption;
        unsigned style;
    };

    int Show(void* owner, const std::string& text, const std::string& caption, unsigned style) override;

    std::vector<std::string> Texts() const;

    std::vector<Shown> shown;
    int answer = IDOK;
    std::function<void()> whileShown;
};
