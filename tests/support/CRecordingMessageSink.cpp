#include "support/CRecordingMessageSink.h"

int CRecordingMessageSink::Show(void* owner, const std::string& text, const std::string& caption,
                                unsigned style) {
    shown.push_back({owner, text, caption, style});
    if (whileShown)
        whileShown();
    return answer;
}

std::vector<std::string> CRecordingMessageSink::Texts() const {
    std::vector<std::string> texts;
    for (const Shown& box : shown)
        texts.push_back(box.text);
    return texts;
}
