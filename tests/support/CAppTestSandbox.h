#pragma once

#include "support/CRecordingMessageSink.h"
#include "support/CTempDirectory.h"

#include <string>

// For the length of a test: a scratch executable directory (profiles are saved there), the
// program's language file and a recording message sink.
class CAppTestSandbox {
public:
    CAppTestSandbox();
    ~CAppTestSandbox();
    CAppTestSandbox(const CAppTestSandbox&) = delete;
    CAppTestSandbox& operator=(const CAppTestSandbox&) = delete;

    std::string Path(const std::string& name) const { return m_directory.File(name); }
    CRecordingMessageSink& Messages() { return m_messages; }
    // Text of the language file's general section.
    static std::string GeneralText(const std::string& key);

private:
    CTempDirectory m_directory;
    CRecordingMessageSink m_messages;
};
