#include "appcore/CMessageBoxes.h"

#include "appcore/CMessageBoxSink.h"
#include "appcore/CStringTable.h"

#include <atomic>
#include <iostream>

namespace {

std::atomic<CMessageBoxSink*> g_sink{nullptr};

} // namespace

void CMessageBoxes::SetSink(CMessageBoxSink* sink) {
    g_sink.store(sink);
}

int CMessageBoxes::FromKey(void* owner, const std::string& key, unsigned style) {
    return FromText(owner, CStringTable::GetGeneralText(key), style);
}

int CMessageBoxes::FromKeyNoOwner(const std::string& key, unsigned style) {
    return FromKey(nullptr, key, style);
}

int CMessageBoxes::FromText(void* owner, const std::string& text, unsigned style) {
    if (text.empty())
        return MESSAGE_NOT_SHOWN;
    CMessageBoxSink* sink = g_sink.load();
    if (sink == nullptr) {
        // Without a user interface (command line, early start-up) the text must not be lost.
        std::cerr << kCaption << ": " << text << std::endl;
        return IDOK;
    }
    return sink->Show(owner, text, kCaption, style);
}
