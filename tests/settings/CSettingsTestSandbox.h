#pragma once

#include "app/CMessageBoxSink.h"

#include <QTemporaryDir>

#include <string>
#include <vector>

// Records message boxes instead of showing them.
class CRecordingSink : public CMessageBoxSink {
public:
    int Show(void* owner, const std::string& text, const std::string& caption, unsigned style) override;

    std::vector<std::string> texts;
    std::vector<unsigned> styles;
};

// For the length of a test: a temporary executable directory (profiles are saved there), the
// program's language file and a recording message sink.
class CSettingsTestSandbox {
public:
    CSettingsTestSandbox();
    ~CSettingsTestSandbox();

    CRecordingSink& Messages() { return m_messages; }
    static std::string GeneralText(const char* key);

private:
    QTemporaryDir m_directory;
    CRecordingSink m_messages;
};
